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

QByteArray graphicsFunction(const QByteArray &body, bool longFrame)
{
    const qsizetype n = body.size();
    QByteArray command = longFrame ? bytes({0x1D, '8', 'L', int(n & 0xFF), int((n >> 8) & 0xFF),
                                            int((n >> 16) & 0xFF), int(n >> 24)})
                                   : bytes({0x1D, '(', 'L', int(n & 0xFF), int(n >> 8)});
    return command + body;
}

namespace {
QByteArray defineHeader(int function, const QByteArray &key, const QImage &picture)
{
    const int x = picture.width();
    const int y = picture.height();
    return bytes({0x30, function, 0x30}) + key +
           bytes({1, x & 0xFF, x >> 8, y & 0xFF, y >> 8, 0x31});
}

bool black(const QImage &picture, int column, int row)
{
    return qGray(picture.pixel(column, row)) < 128;
}
} // namespace

QByteArray rasterGraphicBody(const QByteArray &key, const QImage &picture)
{
    QByteArray body = defineHeader(0x43, key, picture);
    for (int row = 0; row < picture.height(); ++row) {
        for (int left = 0; left < picture.width(); left += 8) {
            int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte =
                    byte << 1 | (left + bit < picture.width() && black(picture, left + bit, row));
            body.append(char(byte));
        }
    }
    return body;
}

QByteArray columnGraphicBody(const QByteArray &key, const QImage &picture)
{
    QByteArray body = defineHeader(0x44, key, picture);
    for (int column = 0; column < picture.width(); ++column) {
        for (int top = 0; top < picture.height(); top += 8) {
            int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte =
                    byte << 1 | (top + bit < picture.height() && black(picture, column, top + bit));
            body.append(char(byte));
        }
    }
    return body;
}

QByteArray printGraphicCommand(const QByteArray &key, int scaleX, int scaleY)
{
    return graphicsFunction(QByteArray("\x30\x45") + key + bytes({scaleX, scaleY}));
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
