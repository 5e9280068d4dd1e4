#include "GraphicDots.h"

#include "RasterGeometry.h"

namespace modBitmap {

std::optional<QByteArray> graphicDots(const QByteArray &record, RasterExtent extent)
{
    if (extent.X < 1 || extent.Y < 1 || record.size() < 4)
        return std::nullopt;
    const auto header = [&record](int at) {
        return uchar(record[at]) + 256 * uchar(record[at + 1]);
    };
    // The blank columns on the left are as many as the printer's width allowed.
    const qint32 x = header(0);
    const qint32 y = recordExtent(extent.Y);
    if (x < extent.X || x > recordExtent(extent.X) || header(2) != y ||
        record.size() != 4 + qint64(x) * y * 8)
        return std::nullopt;

    const qint32 width = extent.X * 8;
    QByteArray rows(qsizetype(extent.X) * extent.Y * 8, '\0');
    const char *columns = record.constData() + 4 + qsizetype(x - extent.X) * 8 * y;
    for (qint32 column = 0; column < width; ++column) {
        const char *dots = columns + qsizetype(column) * y;
        const uchar bit = 0x80 >> (column % 8);
        for (qint32 band = 0; band < extent.Y; ++band) {
            const auto eight = uchar(dots[band]);
            if (eight == 0)
                continue;
            for (int k = 0; k < 8; ++k) {
                if (eight & (0x80 >> k))
                    rows[(qsizetype(band) * 8 + k) * extent.X + column / 8] |= char(bit);
            }
        }
    }
    return rows;
}

} // namespace modBitmap
