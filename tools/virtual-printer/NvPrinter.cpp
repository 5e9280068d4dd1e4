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

NvPrinter::NvPrinter(const QString &outDir, GraphicsOptions graphics)
    : m_outDir(outDir)
    , m_graphics(std::move(graphics))
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

    return save(renderNvImage(*nv, mode & 1 ? 2 : 1, mode & 2 ? 2 : 1),
                QStringLiteral("nv%1").arg(number, 2, 10, QLatin1Char('0')));
}

NvPrinter::PrintResult NvPrinter::printGraphic(const QByteArray &key, int scaleX, int scaleY)
{
    const NvGraphic *graphic = m_graphics.find(key);
    if (!graphic)
        return {PrintStatus::NoImage, {}, {}};
    if (scaleX < 1 || scaleX > 2 || scaleY < 1 || scaleY > 2)
        return {PrintStatus::BadMode, {}, {}};
    // Keys may hold any printable character; those unfit for a file name go as hex.
    QString name = QStringLiteral("key");
    for (const char c : key)
        name += QChar::isLetterOrNumber(uchar(c)) && uchar(c) < 128
                    ? QString(QLatin1Char(c))
                    : QStringLiteral("_%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    const QImage &dots = graphic->dots;
    return save(dots.scaled(dots.width() * scaleX, dots.height() * scaleY), name);
}

NvPrinter::PrintResult NvPrinter::save(const QImage &picture, const QString &name)
{
    const QString fileName =
        QStringLiteral("print-%1-%2.png").arg(m_printCount + 1, 4, 10, QLatin1Char('0')).arg(name);
    if (!picture.save(QDir(m_outDir).filePath(fileName), "PNG"))
        return {PrintStatus::WriteFailed, fileName, {}};
    ++m_printCount;
    return {PrintStatus::Printed, fileName, picture.size()};
}
