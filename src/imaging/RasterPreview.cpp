#include "RasterPreview.h"

QImage rasterRecordToImage(const QByteArray &record)
{
    if (record.size() < 4)
        return QImage();
    const auto byteAt = [&](qsizetype at) { return uchar(record.at(at)); };
    const int columnBytes = byteAt(2) + 256 * byteAt(3);
    const int columns = (byteAt(0) + 256 * byteAt(1)) * 8;
    if (columns == 0 || columnBytes == 0 || record.size() != 4 + qsizetype(columns) * columnBytes)
        return QImage();

    QImage image(columns, columnBytes * 8, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    const uchar *data = reinterpret_cast<const uchar *>(record.constData()) + 4;
    for (int column = 0; column < columns; ++column) {
        const uchar columnBit = uchar(0x80 >> (column % 8));
        for (int byte = 0; byte < columnBytes; ++byte) {
            const uchar eight = *data++;
            for (int dot = 0; dot < 8; ++dot) {
                if (eight & (0x80 >> dot))
                    image.scanLine(byte * 8 + dot)[column / 8] |= columnBit;
            }
        }
    }
    return image;
}
