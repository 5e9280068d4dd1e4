#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// One FS q carries its image count in a single byte.
inline constexpr int MaxUploadPictures = 255;

// The bytes of a command written as values; nothing when a value lies outside 0..255.
std::optional<QByteArray> ToByteArray(const QList<int> &values);

// FS q n: defines n NV images, whose records follow; nothing when n does not fit a byte.
std::optional<QByteArray> uploadHeader(int count);
// FS q 0: defines no NV images, erasing those stored.
QByteArray eraseCommand();
// FS p n 0: prints NV image n in normal size.
QByteArray printCommand(quint8 image);
// Tells the printer to store what it was sent.
QByteArray finishCommand();
