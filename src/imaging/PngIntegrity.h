#pragma once

#include <QIODevice>

namespace modBitmap {

enum class PngIntegrity {
    NotPng,
    Sound,
    CutShort,     // the file ends before the image-end chunk
    ChunkDamaged, // a chunk the picture needs fails its checksum
};

// libpng writes its errors straight to the standard error stream, beside Orvane's own message,
// so a PNG is walked chunk by chunk before Qt decodes it. Reads from the device's start and
// leaves it there.
PngIntegrity checkPngIntegrity(QIODevice &file);

} // namespace modBitmap
