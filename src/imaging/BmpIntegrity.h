#pragma once

#include <QByteArray>

namespace modBitmap {

enum class BmpIntegrity {
    NotBmp,
    Sound,
    CutShort,
    HeaderDamaged,
    // Coded in runs that start inside the file; only decoding shows whether they reach every
    // pixel.
    RunLength,
    // Coded in runs, but with too few bytes for runs that reach every pixel.
    RunsTooShort,
};

// Bytes of a file's head that checkBmpIntegrity needs (file header + the fixed info header).
constexpr qint64 BmpHeadSize = 54;

// Qt's bitmap reader accepts a file whose pixel data runs past its end and leaves the
// missing rows uninitialised, so the headers are checked against the file size first.
BmpIntegrity checkBmpIntegrity(const QByteArray &head, qint64 fileSize);

} // namespace modBitmap
