#include "ImageTotal.h"
#include "PictureReader.h"
#include "RasterFromImage.h"
#include "modBitmap.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int ListedPhotos = 128;

// A photo-like picture: smooth gradients with fine detail, so the JPEG is of a usual size.
QImage photo(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        for (int column = 0; column < width; ++column)
            line[column] = qRgb(column * 255 / width, row * 255 / height, (column ^ row) & 0xFF);
    }
    return picture;
}

QImage logo()
{
    QImage picture(512, 256, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setBrush(Qt::black);
    painter.drawEllipse(20, 20, 200, 200);
    painter.drawRect(260, 40, 220, 30);
    painter.drawRect(260, 120, 160, 30);
    return picture;
}

// Pictures written once for every benchmark of the run.
struct Pictures
{
    QTemporaryDir dir;
    QString logoBmp = dir.filePath(QStringLiteral("logo.bmp"));
    QString photoJpeg = dir.filePath(QStringLiteral("photo.jpg"));
    QList<ListedPicture> listedPhotos;

    Pictures()
    {
        logo().save(logoBmp);
        photo(4000, 3000).save(photoJpeg, "JPEG", 90);
        for (int i = 0; i < ListedPhotos; ++i) {
            const QString copy = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            QFile::copy(photoJpeg, copy);
            listedPhotos << copy;
        }
    }
};

const Pictures &pictures()
{
    static const Pictures written;
    return written;
}

void checked(benchmark::State &state, const modBitmap::RasterRecordResult &result)
{
    if (!result.ok())
        state.SkipWithError(result.error.toUtf8().constData());
}

void convertLogoBmp(benchmark::State &state)
{
    for (auto _ : state) {
        const auto result = modBitmap::BitmapToRaster(pictures().logoBmp);
        checked(state, result);
        benchmark::DoNotOptimize(result.record.constData());
    }
}
BENCHMARK(convertLogoBmp)->Unit(benchmark::kMillisecond);

void decodeLargeJpeg(benchmark::State &state)
{
    for (auto _ : state) {
        const auto decoded = modBitmap::decodePicture(pictures().photoJpeg);
        benchmark::DoNotOptimize(decoded.image.constBits());
    }
}
BENCHMARK(decodeLargeJpeg)->Unit(benchmark::kMillisecond);

void convertDecodedLargeJpeg(benchmark::State &state)
{
    const QImage decoded = modBitmap::decodePicture(pictures().photoJpeg).image;
    for (auto _ : state) {
        const auto result = modBitmap::rasterFromImage(decoded);
        checked(state, result);
        benchmark::DoNotOptimize(result.record.constData());
    }
}
BENCHMARK(convertDecodedLargeJpeg)->Unit(benchmark::kMillisecond);

// A photo that no decoder shrinks (PNG, BMP, TIFF): the whole 12 MP are averaged down.
void convertFullSizePhoto(benchmark::State &state)
{
    const QImage full = photo(4000, 3000);
    for (auto _ : state) {
        const auto result = modBitmap::rasterFromImage(full);
        checked(state, result);
        benchmark::DoNotOptimize(result.record.constData());
    }
}
BENCHMARK(convertFullSizePhoto)->Unit(benchmark::kMillisecond);

void bitmapToRasterLargeJpeg(benchmark::State &state)
{
    for (auto _ : state) {
        const auto result = modBitmap::BitmapToRaster(pictures().photoJpeg);
        checked(state, result);
        benchmark::DoNotOptimize(result.record.constData());
    }
}
BENCHMARK(bitmapToRasterLargeJpeg)->Unit(benchmark::kMillisecond);

void totalOfListedLargeJpegs(benchmark::State &state)
{
    for (auto _ : state) {
        const ImageTotal sum = totalRasterSize(pictures().listedPhotos);
        if (!sum.unreadable.isEmpty() || sum.total != qint64(ListedPhotos) * 64 * 48 * 8)
            state.SkipWithError("unexpected total");
        benchmark::DoNotOptimize(sum.total);
    }
}
BENCHMARK(totalOfListedLargeJpegs)->Unit(benchmark::kMillisecond);

} // namespace
