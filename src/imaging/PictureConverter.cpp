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
    const bool sideways = turnsSideways(choices.rotationDegrees);
    if (!decodedServes(choices.widthDots, sideways)) {
        DecodedPicture picture = decodePicture(m_path, choices.widthDots, choices.rotationDegrees);
        m_pixels = std::move(picture.image);
        m_readError = std::move(picture.error);
        m_decodedForWidth = choices.widthDots;
        m_decodedSideways = sideways;
        m_fullSize.reset();
    }
    if (!m_readError.isEmpty())
        return {QByteArray(), ImagingTexts::cannotRead(displayName(m_path), m_readError), {}};
    RasterRecordResult result = rasterFromImage(m_pixels, choices);
    if (!result.ok())
        result.error = ImagingTexts::cannotConvert(displayName(m_path), result.error);
    return result;
}

// Pixels decoded at the file's full size serve every width and turn; pixels a decoder shrank
// serve only the width and the side they were shrunk for.
bool PictureConverter::decodedServes(qint32 widthDots, bool sideways)
{
    if (m_decodedForWidth == 0)
        return false;
    if (widthDots == m_decodedForWidth && sideways == m_decodedSideways)
        return true;
    if (!m_fullSize)
        m_fullSize = m_readError.isEmpty() && readPictureSize(m_path).size == m_pixels.size();
    return *m_fullSize;
}

} // namespace modBitmap
