#include "GraphicsCommands.h"

namespace {

constexpr char FunctionSet = 0x30; // m = 48
constexpr char RasterDefine = 0x43;
constexpr char Print = 0x45;
constexpr char DeleteAll = 0x41;
constexpr char DeleteOne = 0x42;
constexpr char Capacity = 0x30;
constexpr char Remaining = 0x33;
constexpr char KeyList = 0x40;
constexpr char Monochrome = 0x30;
constexpr char OneColour = 0x01;
constexpr char FirstColour = 0x31;

constexpr char ShortFrame[] = {0x1D, 0x28, 0x4C}; // GS ( L
constexpr char LongFrame[] = {0x1D, 0x38, 0x4C};  // GS 8 L
constexpr qsizetype ShortFrameLimit = 65535;

QByteArray functionBody(char function, QByteArrayView parameters = {})
{
    QByteArray bytes;
    bytes.reserve(2 + parameters.size());
    bytes.append(FunctionSet).append(function).append(parameters);
    return bytes;
}

void appendLittleEndian(QByteArray &bytes, quint64 value, int count)
{
    for (int k = 0; k < count; ++k)
        bytes.append(char((value >> (8 * k)) & 0xFF));
}

} // namespace

QByteArray graphicKey(int picture)
{
    Q_ASSERT(picture >= 1 && picture <= 255);
    return QByteArray::number(picture, 16).toUpper().rightJustified(2, '0');
}

bool isGraphicKey(QByteArrayView key)
{
    const auto printable = [](char c) { return c >= 32 && c <= 126; };
    return key.size() == 2 && printable(key[0]) && printable(key[1]);
}

QByteArray graphicsFrame(QByteArrayView body)
{
    const bool shortFrame = body.size() <= ShortFrameLimit;
    QByteArray frame;
    frame.reserve(body.size() + 7);
    frame.append(shortFrame ? ShortFrame : LongFrame, sizeof ShortFrame);
    appendLittleEndian(frame, quint64(body.size()), shortFrame ? 2 : 4);
    frame.append(body);
    return frame;
}

std::optional<QByteArray> defineGraphic(QByteArrayView key, int widthDots, int heightDots,
                                        QByteArrayView rows)
{
    if (!isGraphicKey(key) || widthDots < 1 || widthDots > MaxGraphicWidth || heightDots < 1 ||
        heightDots > MaxGraphicHeight)
        return std::nullopt;
    if (rows.size() != qsizetype((widthDots + 7) / 8) * heightDots)
        return std::nullopt;
    QByteArray parameters;
    parameters.reserve(9 + rows.size());
    parameters.append(Monochrome).append(key).append(OneColour);
    appendLittleEndian(parameters, quint64(widthDots), 2);
    appendLittleEndian(parameters, quint64(heightDots), 2);
    parameters.append(FirstColour).append(rows);
    return graphicsFrame(functionBody(RasterDefine, parameters));
}

qint64 defineGraphicSize(int widthDots, int heightDots)
{
    const qint64 body = 11 + qint64((widthDots + 7) / 8) * heightDots;
    return (body > ShortFrameLimit ? 7 : 5) + body;
}

QByteArray printGraphic(QByteArrayView key)
{
    Q_ASSERT(isGraphicKey(key));
    QByteArray parameters(key.toByteArray());
    parameters.append(char(1)).append(char(1)); // scale 1 x 1
    return graphicsFrame(functionBody(Print, parameters));
}

QByteArray deleteAllGraphics()
{
    return graphicsFrame(functionBody(DeleteAll, "CLR"));
}

QByteArray deleteGraphic(QByteArrayView key)
{
    Q_ASSERT(isGraphicKey(key));
    return graphicsFrame(functionBody(DeleteOne, key));
}

QByteArray askGraphicsCapacity()
{
    return graphicsFrame(functionBody(Capacity));
}

QByteArray askGraphicsRemaining()
{
    return graphicsFrame(functionBody(Remaining));
}

QByteArray askGraphicKeys()
{
    return graphicsFrame(functionBody(KeyList, "KC"));
}
