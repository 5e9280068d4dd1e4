#include "PrinterCommands.h"

std::optional<QByteArray> ToByteArray(const QList<int> &values)
{
    QByteArray bytes(values.size(), '\0');
    for (qsizetype k = 0; k < values.size(); ++k) {
        if (values[k] < 0 || values[k] > 255)
            return std::nullopt;
        bytes[k] = char(values[k]);
    }
    return bytes;
}

std::optional<QByteArray> uploadHeader(int count)
{
    return ToByteArray({0x1C, 0x71, count});
}

QByteArray eraseCommand()
{
    return *ToByteArray({0x1C, 0x71, 0x00});
}

QByteArray printCommand(quint8 image)
{
    return *ToByteArray({0x1C, 0x70, image, 0x00});
}

QByteArray finishCommand()
{
    return *ToByteArray({0x1D, 0x07, 0x02, 0x01, 0x01});
}
