#include "EscPosStreams.h"

#include <QRandomGenerator>

QImage randomPicture(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            picture.setPixel(column, row, random.bounded(2) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return picture;
}

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (const int value : values)
        result.append(char(value));
    return result;
}
} // namespace

QByteArray recordHeader(int x, int y)
{
    return bytes({x & 0xFF, x >> 8, y & 0xFF, y >> 8});
}

QByteArray encodeRecord(const QImage &picture)
{
    const int bands = picture.height() / 8;
    QByteArray record = recordHeader(picture.width() / 8, bands);
    for (int column = 0; column < picture.width(); ++column) {
        for (int band = 0; band < bands; ++band) {
            int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte = byte << 1 | (qGray(picture.pixel(column, band * 8 + bit)) < 128);
            record.append(char(byte));
        }
    }
    return record;
}

QByteArray defineCommand(const QList<QByteArray> &records)
{
    QByteArray command = bytes({0x1C, 'q', int(records.size())});
    for (const QByteArray &record : records)
        command += record;
    return command;
}

QByteArray printCommand(int number, int mode)
{
    return bytes({0x1C, 'p', number, mode});
}

QString pictureDifference(const QString &png, const QImage &picture, int scaleX, int scaleY)
{
    const QImage printed(png);
    if (printed.isNull())
        return QStringLiteral("%1 does not load").arg(png);
    const QSize expected(picture.width() * scaleX, picture.height() * scaleY);
    if (printed.size() != expected)
        return QStringLiteral("size %1x%2").arg(printed.width()).arg(printed.height());
    for (int row = 0; row < printed.height(); ++row) {
        for (int column = 0; column < printed.width(); ++column) {
            const QRgb want = picture.pixel(column / scaleX, row / scaleY);
            if (printed.pixel(column, row) != want)
                return QStringLiteral("pixel %1,%2").arg(column).arg(row);
        }
    }
    return {};
}
