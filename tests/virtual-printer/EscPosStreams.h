#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <ostream>

// Readable failure messages for QString values.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Pictures and ESC/POS streams built independently of the printer's decoder.

// A black-and-white picture of random dots, the same for the same seed.
QImage randomPicture(int width, int height, quint32 seed);
// The raster record of a picture whose sides are multiples of 8.
QByteArray encodeRecord(const QImage &picture);
QByteArray recordHeader(int x, int y);
QByteArray defineCommand(const QList<QByteArray> &records);
QByteArray printCommand(int number, int mode = 0);
inline const QByteArray FinishCommand("\x1D\x07\x02\x01\x01", 5);

// GS ( L with a 2-byte count, or GS 8 L with a 4-byte count, around a function's body.
QByteArray graphicsFunction(const QByteArray &body, bool longFrame = false);
// The body of a define of a black-and-white picture: fn 67 rows or fn 68 columns.
QByteArray rasterGraphicBody(const QByteArray &key, const QImage &picture);
QByteArray columnGraphicBody(const QByteArray &key, const QImage &picture);
QByteArray printGraphicCommand(const QByteArray &key, int scaleX = 1, int scaleY = 1);

// Empty when png shows picture with each dot scaleX × scaleY pixels; else what differs.
QString pictureDifference(const QString &png, const QImage &picture, int scaleX = 1,
                          int scaleY = 1);
