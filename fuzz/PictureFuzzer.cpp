#include "FuzzFailure.h"
#include "RasterGeometry.h"
#include "modBitmap.h"

#include <QImageReader>
#include <QString>
#include <QtGlobal>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

// Bytes as a picture file, through the same calls the window and the command line make: the
// size from the header, then the record. The file lives in memory, so runs leave no files.
// The conversion choices follow from the input's length, so the file stays a plain picture
// while every reduction and printer width is met.
namespace {

// Decoding, which Qt does uninstrumented, is what makes a run slow: pictures whose header
// claims more pixels than this get only the size from the header; the tests take big ones.
constexpr qint64 PixelBudget = qint64(4) << 20;

int pictureFile()
{
    static const int fd = [] {
        const int created = memfd_create("picture", MFD_CLOEXEC);
        if (created < 0)
            fuzzFailure("picture", "memfd_create failed");
        return created;
    }();
    return fd;
}

modBitmap::ConversionChoices choicesFor(std::size_t size)
{
    using namespace modBitmap;
    constexpr std::size_t widths = MaxWidthDots / MinWidthDots;
    ConversionChoices choices;
    choices.reduction = Reduction(size % 4);
    choices.widthDots = MinWidthDots * qint32(1 + size / 4 % widths);
    choices.thresholdLevel = int(size * 97 % (MaxThresholdLevel + 1));
    return choices;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Decoders warn about every damaged input.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const int fd = pictureFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        fuzzFailure("picture", "cannot write the picture file");
    const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);

    const modBitmap::ConversionChoices choices = choicesFor(size);
    const modBitmap::RasterSizeResult extent = modBitmap::RasterSize(path, choices.widthDots);
    const QSize pixels = QImageReader(path).size();
    if (qint64(qAbs(pixels.width())) * qAbs(pixels.height()) > PixelBudget)
        return 0;
    const modBitmap::RasterRecordResult raster = modBitmap::BitmapToRaster(path, choices);
    if (!raster.ok())
        return 0;
    // The capacity check and the upload's length count what the header says; what is sent
    // must be exactly that.
    if (!extent.ok())
        fuzzFailure("picture", "a converted picture has no size");
    if (raster.record.size() != modBitmap::recordSize(extent.extent, choices.widthDots))
        fuzzFailure("picture", "the record's length differs from the size its header gives");
    return 0;
}
