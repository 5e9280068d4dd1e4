#include "PictureReader.h"

#include "BmpIntegrity.h"
#include "DecoderWarnings.h"
#include "ImagingTexts.h"
#include "PictureOrientation.h"
#include "PngIntegrity.h"
#include "RasterGeometry.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace modBitmap {
namespace {

constexpr qint64 MaxPicturePixels = MaxPictureMegapixels * 1024 * 1024;
// The largest picture at 4 bytes a pixel; Qt's default stops at 256 MB.
constexpr int AllocationLimitMb = int(MaxPicturePixels * 4 / (1024 * 1024));
// Qt's JPEG reader smooth-scales a scaled decode only from this quality on.
constexpr int HighQuality = 100;

// A picture file that notes when a decoder asks for bytes past its end.
class PictureFile : public QFile
{
public:
    using QFile::QFile;
    void watchForTheEnd() { m_endReached = false; }
    bool endReached() const { return m_endReached; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 read = QFile::readData(data, maxSize);
        m_endReached = m_endReached || (read == 0 && maxSize > 0);
        return read;
    }

private:
    bool m_endReached = false;
};

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
        // Unbuffered: a read past the end is then the decoder's own, not a buffer's read-ahead.
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
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
        case BmpIntegrity::RunsTooShort:
            m_error = ImagingTexts::bitmapRunsIncomplete();
            return;
        case BmpIntegrity::RunLength:
            m_runLength = true;
            break;
        case BmpIntegrity::NotBmp:
        case BmpIntegrity::Sound:
            break;
        }
        switch (checkPngIntegrity(m_file)) {
        case PngIntegrity::CutShort:
            m_error = ImagingTexts::damagedPicture(ImagingTexts::endsEarly());
            return;
        case PngIntegrity::ChunkDamaged:
            m_error = ImagingTexts::damagedPicture(ImagingTexts::checksumWrong());
            return;
        case PngIntegrity::NotPng:
        case PngIntegrity::Sound:
            break;
        }
        m_reader.setDevice(&m_file);
        // The stored pixel grid, the same one whose size the header gives.
        m_reader.setAutoTransform(false);
        m_reader.setAllocationLimit(AllocationLimitMb);
        if (!m_reader.canRead()) {
            m_error = ImagingTexts::notAPicture();
            return;
        }
        // Asked now: once the picture is read, Qt's reader may no longer say.
        m_format = m_reader.format();
        m_size = m_reader.size();
        // Qt passes on a top-down bitmap's height as its header stores it: negative.
        if (m_format == "bmp" && m_size.height() < 0)
            m_size.setHeight(-m_size.height());
        if (m_size.isValid() && qint64(m_size.width()) * m_size.height() > MaxPicturePixels)
            m_error = tooManyPixels(m_size);
    }

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }
    QImageReader &reader() { return m_reader; }
    PictureFile &file() { return m_file; }
    const QByteArray &format() const { return m_format; }
    // Invalid when the header does not give it.
    QSize size() const { return m_size; }
    // A bitmap coded in runs, which Qt decodes without telling whether they reached every pixel.
    bool runLength() const { return m_runLength; }

    static QString tooManyPixels(QSize size)
    {
        return ImagingTexts::beyondPixelLimit(size.width(), size.height(), MaxPictureMegapixels);
    }

private:
    PictureFile m_file;
    QImageReader m_reader;
    QByteArray m_format;
    QSize m_size;
    QString m_error;
    bool m_runLength = false;
};

// Decoders that, when the data runs out, hand back what they have as if it were whole.
bool keepsWhatItHasAtTheEnd(const QByteArray &format)
{
    return format == "gif" || format == "jpeg";
}

DecodedPicture decode(OpenedPicture &picture)
{
    QImageReader &reader = picture.reader();
    picture.file().watchForTheEnd();
    QImage image;
    QStringList warnings;
    {
        const DecoderWarnings decoderWarnings;
        image = reader.read();
        warnings = decoderWarnings.messages();
    }
    if (image.isNull()) {
        // Qt reports a picture beyond the allocation limit as unreadable data; say what it is.
        const QSize size = reader.scaledSize().isValid() ? reader.scaledSize() : picture.size();
        if (size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels)
            return {QImage(), OpenedPicture::tooManyPixels(size)};
        return {QImage(), ImagingTexts::damagedPicture(reader.errorString())};
    }
    if (!warnings.isEmpty())
        return {QImage(), ImagingTexts::damagedPicture(warnings.first())};
    if (picture.file().endReached() && keepsWhatItHasAtTheEnd(picture.format()))
        return {QImage(), ImagingTexts::damagedPicture(ImagingTexts::endsEarly())};
    return {image, QString()};
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
    if (picture.size().isValid())
        return {picture.size(), QString()};
    // A format whose header does not tell its size: decode it.
    const DecodedPicture decoded = decode(picture);
    return {decoded.image.size(), decoded.error};
}

DecodedPicture decodePicture(const QString &path, qint32 widthDots, int rotationDegrees)
{
    OpenedPicture picture(path);
    if (!picture.ok())
        return {QImage(), picture.error()};
    QImageReader &reader = picture.reader();
    // The size the record is counted by before any picture is converted.
    QSize promised = picture.size();
    if (picture.format() == "jpeg") {
        // Scaled as it will stand once turned, decoded as it is stored.
        const QSize upright = orientedSize(promised, rotationDegrees);
        const auto scaled = scaledPictureSize(upright.width(), upright.height(), widthDots);
        if (scaled && scaled->width() < upright.width() && scaled->height() >= 8) {
            reader.setQuality(HighQuality);
            promised = orientedSize(*scaled, rotationDegrees);
            reader.setScaledSize(promised);
        }
    }
    DecodedPicture decoded = decode(picture);
    // A GIF whose frame lies outside its screen decodes to another size than its header says.
    if (decoded.error.isEmpty() && promised.isValid() && decoded.image.size() != promised) {
        return {QImage(), ImagingTexts::damagedPicture(
                              ImagingTexts::sizeUnlikeHeader(decoded.image.size(), promised))};
    }
    if (decoded.error.isEmpty() && picture.runLength() &&
        !runsReachEveryPixel(reader, decoded.image))
        return {QImage(), ImagingTexts::bitmapRunsIncomplete()};
    return decoded;
}

} // namespace modBitmap
