#include "NvPrinter.h"

#include <QDir>

QImage renderNvImage(const NvImage &image, int scaleX, int scaleY)
{
    const int width = image.x * 8;
    const int height = image.y * 8;
    QImage out(width * scaleX, height * scaleY, QImage::Format_Mono);
    out.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    out.fill(0);
    for (int column = 0; column < width; ++column) {
        for (int row = 0; row < height; ++row) {
            const auto byte = uchar(image.columns[column * image.y + row / 8]);
            if (!(byte & (0x80 >> (row % 8))))
                continue;
            for (int dy = 0; dy < scaleY; ++dy)
                for (int dx = 0; dx < scaleX; ++dx)
                    out.setPixel(column * scaleX + dx, row * scaleY + dy, 1);
        }
    }
    return out;
}

NvPrinter::NvPrinter(const QString &outDir)
    : m_outDir(outDir)
{}

void NvPrinter::define(QList<NvImage> images)
{
    m_images = std::move(images);
}

void NvPrinter::erase()
{
    m_images.clear();
}

const NvImage *NvPrinter::image(int number) const
{
    if (number < 1 || number > m_images.size())
        return nullptr;
    return &m_images[number - 1];
}

NvPrinter::PrintResult NvPrinter::print(int number, int mode)
{
    const NvImage *nv = image(number);
    if (!nv)
        return {PrintStatus::NoImage, {}, {}};
    if (mode >= 48)
        mode -= 48;
    if (mode < 0 || mode > 3)
        return {PrintStatus::BadMode, {}, {}};

    const QImage picture = renderNvImage(*nv, mode & 1 ? 2 : 1, mode & 2 ? 2 : 1);
    const QString fileName = QStringLiteral("print-%1-nv%2.png")
                                 .arg(m_printCount + 1, 4, 10, QLatin1Char('0'))
                                 .arg(number, 2, 10, QLatin1Char('0'));
    if (!picture.save(QDir(m_outDir).filePath(fileName), "PNG"))
        return {PrintStatus::WriteFailed, fileName, {}};
    ++m_printCount;
    return {PrintStatus::Printed, fileName, picture.size()};
}
