#include "PictureConverter.h"

#include "ImagingTexts.h"
#include "PictureReader.h"
#include "RasterFromImage.h"

namespace modBitmap {

PictureConverter::PictureConverter(const QString &path)
    : m_path(path)
{}

RasterRecordResult PictureConverter::convert(const ConversionChoices &choices)
{
    if (!decodedServes(choices.widthDots)) {
        DecodedPicture picture = decodePicture(m_path, choices.widthDots);
        m_pixels = std::move(picture.image);
        m_readError = std::move(picture.error);
        m_decodedForWidth = choices.widthDots;
        m_fullSize.reset();
    }
    if (!m_readError.isEmpty())
        return {QByteArray(), ImagingTexts::cannotRead(displayName(m_path), m_readError), {}};
    RasterRecordResult result = rasterFromImage(m_pixels, choices);
    if (!result.ok())
        result.error = ImagingTexts::cannotConvert(displayName(m_path), result.error);
    return result;
}

// Pixels decoded at the file's full size serve every width; pixels a decoder shrank serve
// only the width they were shrunk for.
bool PictureConverter::decodedServes(qint32 widthDots)
{
    if (m_decodedForWidth == 0)
        return false;
    if (widthDots == m_decodedForWidth)
        return true;
    if (!m_fullSize)
        m_fullSize = m_readError.isEmpty() && readPictureSize(m_path).size == m_pixels.size();
    return *m_fullSize;
}

} // namespace modBitmap
