#include "PictureReader.h"

#include "BmpIntegrity.h"
#include "ImagingTexts.h"
#include "RasterGeometry.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace modBitmap {
namespace {

// Enough for photos of well over 100 megapixels; Qt's default stops at 256 MB.
constexpr int AllocationLimitMb = 1024;
// Qt's JPEG reader smooth-scales a scaled decode only from this quality on.
constexpr int HighQuality = 100;

// A picture file opened for Qt's image readers after the checks Qt does not make itself.
class OpenedPicture
{
public:
    explicit OpenedPicture(const QString &path)
        : m_file(path)
    {
        // Opening a FIFO waits for a writer, and a device node reads whatever the device sends.
        const QFileInfo info(path);
        if (info.exists() && !info.isFile()) {
            m_error = ImagingTexts::notAPicture();
            return;
        }
        if (!m_file.open(QIODevice::ReadOnly)) {
            m_error = m_file.errorString();
            return;
        }
        switch (checkBmpIntegrity(m_file.peek(BmpHeadSize), m_file.size())) {
        case BmpIntegrity::CutShort:
            m_error = ImagingTexts::bitmapCutShort();
            return;
        case BmpIntegrity::HeaderDamaged:
            m_error = ImagingTexts::bitmapHeaderDamaged();
            return;
        case BmpIntegrity::RunLength:
            m_runLength = true;
            break;
        case BmpIntegrity::NotBmp:
        case BmpIntegrity::Sound:
            break;
        }
        m_reader.setDevice(&m_file);
        // The stored pixel grid, the same one whose size the header gives.
        m_reader.setAutoTransform(false);
        m_reader.setAllocationLimit(AllocationLimitMb);
        if (!m_reader.canRead())
            m_error = ImagingTexts::notAPicture();
    }

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    QImageReader &reader() { return m_reader; }
    // A bitmap coded in runs, which Qt decodes without telling whether they reached every pixel.
    bool runLength() const { return m_runLength; }

private:
    QFile m_file;
    QImageReader m_reader;
    QString m_error;
    bool m_runLength = false;
};

DecodedPicture decode(QImageReader &reader)
{
    const QSize size = reader.scaledSize().isValid() ? reader.scaledSize() : reader.size();
    QImage image = reader.read();
    if (!image.isNull())
        return {image, QString()};
    // Qt reports a picture beyond the allocation limit as unreadable data; say what it is.
    const qint64 limit = qint64(AllocationLimitMb) * 1024 * 1024;
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > limit)
        return {QImage(), ImagingTexts::tooLarge(size.width(), size.height())};
    return {QImage(), ImagingTexts::damagedPicture(reader.errorString())};
}

// Qt's run-length decoder leaves each pixel that no run reaches as the memory held it. Decoded
// again into a copy in which every byte differs, exactly those pixels come out different.
bool runsReachEveryPixel(QImageReader &reader, const QImage &decoded)
{
    QImage again = decoded.copy();
    for (int row = 0; row < again.height(); ++row) {
        uchar *line = again.scanLine(row);
        std::transform(line, line + again.bytesPerLine(), line,
                       [](uchar byte) { return uchar(~byte); });
    }
    QIODevice *device = reader.device();
    if (!device->seek(0))
        return false;
    reader.setDevice(device);
    if (!reader.read(&again) || again.size() != decoded.size() ||
        again.format() != decoded.format())
        return false;
    const qsizetype usedBytes = (qsizetype(decoded.width()) * decoded.depth() + 7) / 8;
    for (int row = 0; row < decoded.height(); ++row) {
        if (std::memcmp(decoded.constScanLine(row), again.constScanLine(row), usedBytes) != 0)
            return false;
    }
    return true;
}

} // namespace

PictureSize readPictureSize(const QString &path)
{
    OpenedPicture picture(path);
    if (!picture.ok())
        return {QSize(), picture.error()};
    QSize size = picture.reader().size();
    // Qt passes on a top-down bitmap's height as its header stores it: negative.
    if (picture.reader().format() == "bmp" && size.height() < 0)
        size.setHeight(-size.height());
    if (size.isValid())
        return {size, QString()};
    // A format whose header does not tell its size: decode it.
    const DecodedPicture decoded = decode(picture.reader());
    return {decoded.image.size(), decoded.error};
}

DecodedPicture decodePicture(const QString &path)
{
    OpenedPicture picture(path);
    if (!picture.ok())
        return {QImage(), picture.error()};
    QImageReader &reader = picture.reader();
    if (reader.format() == "jpeg") {
        const QSize size = reader.size();
        const auto scaled = scaledPictureSize(size.width(), size.height());
        if (scaled && scaled->width() < size.width() && scaled->height() >= 8) {
            reader.setQuality(HighQuality);
            reader.setScaledSize(*scaled);
        }
    }
    DecodedPicture decoded = decode(reader);
    if (decoded.error.isEmpty() && picture.runLength() &&
        !runsReachEveryPixel(reader, decoded.image))
        return {QImage(), ImagingTexts::bitmapRunsIncomplete()};
    return decoded;
}

} // namespace modBitmap
