#include "PicturePreview.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QSpinBox>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A photo-like 1024 x 1024 picture: the preview shows it as 512 x 512 dots.
QString photoFile(const QTemporaryDir &dir)
{
    QImage picture(1024, 1024, QImage::Format_RGB32);
    for (int row = 0; row < 1024; ++row) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        for (int column = 0; column < 1024; ++column)
            line[column] = qRgb(column / 4, row / 4, (column ^ row) & 0xFF);
    }
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    picture.save(path);
    return path;
}

// One change of the reduction in an open preview, through its box, until the window has
// painted the new dots: the picture is decoded once, before the timing.
void previewRerender(benchmark::State &state)
{
    QTemporaryDir dir;
    PicturePreview preview(photoFile(dir), {}, nullptr);
    preview.show();
    auto *reduction = preview.findChild<QComboBox *>(QStringLiteral("reduction"));
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % reduction->count();
        reduction->setCurrentIndex(index);
        preview.repaint();
    }
    if (preview.record().size() != 4 + 64 * 64 * 8)
        state.SkipWithError("not a 512 x 512 dot record");
}
BENCHMARK(previewRerender)->Unit(benchmark::kMillisecond);

// The same for a change of width (512 and 384 dots in turn): scaled again from the kept
// pixels.
void previewRerenderNewWidth(benchmark::State &state)
{
    QTemporaryDir dir;
    PicturePreview preview(photoFile(dir), {}, nullptr);
    preview.show();
    auto *width = preview.findChild<QSpinBox *>(QStringLiteral("width"));
    for (auto _ : state) {
        width->setValue(width->value() == 512 ? 384 : 512);
        preview.repaint();
    }
}
BENCHMARK(previewRerenderNewWidth)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
