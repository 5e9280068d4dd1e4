#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// NV graphics: pictures kept in the printer's flash under two-character keys, with the store's
// capacity and its list of keys to be asked for (GS ( L, and GS 8 L for a long define).

// The largest graphic a define may carry, in dots.
inline constexpr int MaxGraphicWidth = 8192;
inline constexpr int MaxGraphicHeight = 2304;

// The host's answer to each block of the key list: ACK has the next block sent (or ends the
// list after the last), CAN drops the rest. Until one comes the printer waits, and takes any
// other byte for a cancel that it consumes.
inline constexpr char KeyListAck = 0x06;
inline constexpr char KeyListCancel = 0x18;

// What the store counts for each graphic besides its dots: its key, size and the like.
inline constexpr qint64 GraphicControlBytes = 24;

// The key of picture n (1 to 255): n in two upper-case hexadecimal digits, "01" to "FF".
QByteArray graphicKey(int picture);
// Two characters from 32 to 126, as a printer takes them.
bool isGraphicKey(QByteArrayView key);

// GS ( L pL pH, or GS 8 L p1 p2 p3 p4 once the body is longer than 65,535 bytes, then the body
// (m fn and the function's parameters).
QByteArray graphicsFrame(QByteArrayView body);

// fn 67: defines a monochrome graphic in raster form. rows run top to bottom,
// (widthDots + 7) / 8 bytes each, the most significant bit on the left, 1 = black. Nothing
// when the key, the size or the count of bytes is not one a printer takes.
std::optional<QByteArray> defineGraphic(QByteArrayView key, int widthDots, int heightDots,
                                        QByteArrayView rows);
// Bytes of the define of a widthDots x heightDots graphic, its frame included.
qint64 defineGraphicSize(int widthDots, int heightDots);
// fn 69: prints a stored graphic in normal size.
QByteArray printGraphic(QByteArrayView key);
// fn 65: deletes every stored graphic.
QByteArray deleteAllGraphics();
// fn 66: deletes one stored graphic.
QByteArray deleteGraphic(QByteArrayView key);
// fn 48: asks for the store's capacity in bytes.
QByteArray askGraphicsCapacity();
// fn 51: asks for the bytes still free.
QByteArray askGraphicsRemaining();
// fn 64: asks for the keys stored, in one or more blocks.
QByteArray askGraphicKeys();
