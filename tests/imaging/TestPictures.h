#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// A white picture of the given size.
QImage whitePicture(int width, int height, QImage::Format format = QImage::Format_RGB32);

// An upright, unmirrored "F" with a single dot in the bottom-right corner, 24 x 16 pixels.
QImage glyphPicture();

bool isBlack(const QImage &picture, int column, int row);

// The info header of a bitmap: OS/2's 12-byte core header, Windows' 40-byte one, or its
// 124-byte fifth version (with a colour space).
enum class BmpHeader { Core, Info, V5 };

// The picture as a bitmap file of the given depth (1, 4, 8, 16, 24 or 32 bits), written byte
// by byte so that depths Qt does not write are covered and palettes are not in the usual order.
// Top down: the top row stored first, the height negative.
QByteArray craftBmp(const QImage &picture, int bitsPerPixel, bool topDown = false,
                    BmpHeader header = BmpHeader::Info);
// The picture as a 4- or 8-bit bitmap coded in runs, bottom row first, whose runs end after
// its bottom rows rows: no run reaches the rows above.
QByteArray craftRunLengthBmp(const QImage &picture, int rows, int bitsPerPixel = 8);
// 16 x 16, the top-left 8 x 8 pixels black (Qt reads GIF but does not write it).
QByteArray squareGif();

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);
QString savePicture(const QTemporaryDir &dir, const QString &name, const QImage &picture,
                    int quality = -1);

// Dot (column, row) of the picture in a raster record, X being the picture's width in units
// of 8 dots: bit 7 - row mod 8 of data byte ((x - X) x 8 + column) x y + row div 8.
bool dotAt(const QByteArray &record, int X, int column, int row);
int blackDots(const QByteArray &record);
