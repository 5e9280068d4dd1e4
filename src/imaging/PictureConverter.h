#pragma once

#include "ConversionChoices.h"
#include "modBitmap.h"

#include <QImage>

#include <optional>

namespace modBitmap {

// A picture file converted with one set of choices after another, as the preview does: the
// decoded pixels are kept, so a change costs only the scaling and the reduction.
class PictureConverter
{
public:
    explicit PictureConverter(const QString &path);

    // The picture's record with these choices, or why there is none (naming the file).
    RasterRecordResult convert(const ConversionChoices &choices);

private:
    bool decodedServes(qint32 widthDots, bool sideways);

    QString m_path;
    QImage m_pixels;
    QString m_readError;
    qint32 m_decodedForWidth = 0; // 0 until the first decode
    bool m_decodedSideways = false;
    std::optional<bool> m_fullSize;
};

} // namespace modBitmap
