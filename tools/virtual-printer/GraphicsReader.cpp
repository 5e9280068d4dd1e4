#include "GraphicsReader.h"

#include "GraphicsStore.h"
#include "NvPrinter.h"

#include <cstring>

namespace {

constexpr char FunctionSet = 0x30;
constexpr char RasterDefine = 0x43;
constexpr char ColumnDefine = 0x44;
constexpr int MaxWidth = 8192;
constexpr int MaxHeight = 2304;
// The longest body of any function: a define of the largest graphic.
constexpr qint64 MaxBody = 11 + qint64(MaxWidth / 8) * MaxHeight;

int word(QByteArrayView bytes, qsizetype at)
{
    return uchar(bytes[at]) + 256 * uchar(bytes[at + 1]);
}

bool isKey(QByteArrayView key)
{
    return key.size() == 2 && uchar(key[0]) >= 32 && uchar(key[0]) <= 126 && uchar(key[1]) >= 32 &&
           uchar(key[1]) <= 126;
}

QString quoted(QByteArrayView key)
{
    return QLatin1Char('"') + QString::fromLatin1(key) + QLatin1Char('"');
}

QImage blankDots(int width, int height)
{
    QImage dots(width, height, QImage::Format_Mono);
    dots.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    dots.fill(0);
    return dots;
}

// Rows top to bottom, (width + 7) / 8 bytes each, the most significant bit on the left.
QImage rasterDots(int width, int height, QByteArrayView data)
{
    QImage dots = blankDots(width, height);
    const int rowBytes = (width + 7) / 8;
    for (int row = 0; row < height; ++row)
        std::memcpy(dots.scanLine(row), data.data() + qsizetype(row) * rowBytes, rowBytes);
    return dots;
}

// Columns left to right, (height + 7) / 8 bytes each, the most significant bit on top.
QImage columnDots(int width, int height, QByteArrayView data)
{
    QImage dots = blankDots(width, height);
    const int bands = (height + 7) / 8;
    for (int column = 0; column < width; ++column)
        for (int row = 0; row < height; ++row)
            if (uchar(data[qsizetype(column) * bands + row / 8]) & (0x80 >> (row % 8)))
                dots.setPixel(column, row, 1);
    return dots;
}

} // namespace

GraphicsReader::GraphicsReader(NvPrinter &printer, LogLine log, Reply reply)
    : m_printer(printer)
    , m_log(std::move(log))
    , m_reply(std::move(reply))
{}

void GraphicsReader::start(bool longFrame)
{
    m_longFrame = longFrame;
    m_phase = Phase::Count;
    m_count.clear();
    m_body.clear();
    m_size = 0;
    m_received = 0;
}

qsizetype GraphicsReader::feed(QByteArrayView bytes)
{
    qsizetype used = 0;
    if (m_phase == Phase::Count) {
        const qsizetype countBytes = m_longFrame ? 4 : 2;
        used = std::min(countBytes - m_count.size(), bytes.size());
        m_count.append(bytes.first(used));
        if (m_count.size() < countBytes)
            return used;
        m_size = 0;
        for (qsizetype k = countBytes - 1; k >= 0; --k)
            m_size = m_size * 256 + uchar(m_count[k]);
        m_phase = Phase::Body;
    }
    const qsizetype take = std::min<qint64>(m_size - m_received, bytes.size() - used);
    // A body longer than any function's is only counted, never held.
    if (m_size <= MaxBody)
        m_body.append(bytes.sliced(used, take));
    m_received += take;
    used += take;
    if (m_received == m_size) {
        m_phase = Phase::Idle;
        run();
        m_body.clear();
    }
    return used;
}

void GraphicsReader::abandon()
{
    if (m_phase == Phase::Idle)
        return;
    log(QStringLiteral("error: stream ended %1, did nothing")
            .arg(m_phase == Phase::Count
                     ? QStringLiteral("in the byte count")
                     : QStringLiteral("after %1 of %2 bytes").arg(m_received).arg(m_size)));
    m_phase = Phase::Idle;
    m_body.clear();
}

bool GraphicsReader::continueKeys()
{
    GraphicsStore &store = m_printer.graphics();
    if (!store.keysPending())
        return false;
    m_log(QStringLiteral("ACK: ") +
          answerKeyBlock(store.nextKeyBlock(), QStringLiteral("next block of the key list")));
    return true;
}

bool GraphicsReader::cancelKeys()
{
    if (!m_printer.graphics().cancelKeys())
        return false;
    m_log(QStringLiteral("CAN: dropped the rest of the key list"));
    return true;
}

void GraphicsReader::run()
{
    if (m_size > MaxBody) {
        log(QStringLiteral("error: skipped a body of %1 bytes, longer than any function's")
                .arg(m_size));
        return;
    }
    if (m_size < 2 || m_body[0] != FunctionSet) {
        log(QStringLiteral("error: not a function of the graphics set (%1 bytes), did nothing")
                .arg(m_size));
        return;
    }
    const char function = m_body[1];
    if (m_longFrame && function != RasterDefine && function != ColumnDefine) {
        log(QStringLiteral("error: fn %1 is not taken in this frame, did nothing")
                .arg(uchar(function)));
        return;
    }
    GraphicsStore &store = m_printer.graphics();
    switch (function) {
    case 0x00:
    case 0x30:
        if (expectParameters({})) {
            log(answer(GraphicsStore::figureAnswer(0x30, store.capacity()),
                       QStringLiteral("capacity asked"), QString::number(store.capacity())));
        }
        break;
    case 0x03:
    case 0x33:
        if (expectParameters({})) {
            log(answer(GraphicsStore::figureAnswer(0x31, store.remaining()),
                       QStringLiteral("free bytes asked"), QString::number(store.remaining())));
        }
        break;
    case 0x40:
        if (expectParameters("KC"))
            log(answerKeyBlock(store.firstKeyBlock(), QStringLiteral("key list asked")));
        break;
    case 0x41:
        if (expectParameters("CLR")) {
            store.clear();
            log(QStringLiteral("deleted every graphic"));
        }
        break;
    case 0x42:
        if (expectSize(4)) {
            const QByteArray key = m_body.sliced(2, 2);
            log(store.remove(key) ? QStringLiteral("deleted graphic %1").arg(quoted(key))
                                  : QStringLiteral("no graphic %1 to delete").arg(quoted(key)));
        }
        break;
    case RasterDefine:
    case ColumnDefine:
        define(function);
        break;
    case 0x45:
        if (expectSize(6))
            print();
        break;
    default:
        log(QStringLiteral("fn %1 is not supported, did nothing").arg(uchar(function)));
    }
}

bool GraphicsReader::expectParameters(QByteArrayView parameters)
{
    if (m_body.size() == 2 + parameters.size() && m_body.sliced(2) == parameters)
        return true;
    log(QStringLiteral("error: fn %1 with parameters it does not take, did nothing")
            .arg(uchar(m_body[1])));
    return false;
}

bool GraphicsReader::expectSize(qsizetype size)
{
    if (m_body.size() == size)
        return true;
    log(QStringLiteral("error: fn %1 with %2 bytes instead of %3, did nothing")
            .arg(uchar(m_body[1]))
            .arg(m_body.size())
            .arg(size));
    return false;
}

void GraphicsReader::define(char function)
{
    const bool raster = function == RasterDefine;
    const QString what = QStringLiteral("fn %1").arg(int(uchar(function)));
    if (m_body.size() < 11) {
        log(QStringLiteral("error: %1 with %2 bytes, stored nothing").arg(what).arg(m_body.size()));
        return;
    }
    const QByteArrayView key = QByteArrayView(m_body).sliced(3, 2);
    const int width = word(m_body, 6);
    const int height = word(m_body, 8);
    const qint64 dataSize =
        raster ? qint64((width + 7) / 8) * height : qint64(width) * ((height + 7) / 8);
    QString error;
    if (m_body[2] != 0x30 || m_body[5] != 0x01 || m_body[10] != 0x31)
        error = QStringLiteral("not one monochrome colour");
    else if (!isKey(key))
        error = QStringLiteral("a bad key");
    else if (width < 1 || width > MaxWidth || height < 1 || height > MaxHeight)
        error = QStringLiteral("a bad size (%1x%2 dots)").arg(width).arg(height);
    else if (m_body.size() - 11 != dataSize)
        error = QStringLiteral("%1 data bytes instead of %2").arg(m_body.size() - 11).arg(dataSize);
    if (!error.isEmpty()) {
        log(QStringLiteral("error: %1 with %2, stored nothing").arg(what, error));
        return;
    }

    const QByteArrayView data = QByteArrayView(m_body).sliced(11);
    NvGraphic graphic{raster ? rasterDots(width, height, data) : columnDots(width, height, data),
                      dataSize};
    const qint64 free = m_printer.graphics().remaining();
    switch (m_printer.graphics().define(key.toByteArray(), std::move(graphic))) {
    case GraphicsStore::DefineResult::Stored:
        break;
    case GraphicsStore::DefineResult::NoRoom:
        log(QStringLiteral("no room for graphic %1 (%2 bytes, %3 free), stored nothing")
                .arg(quoted(key))
                .arg(dataSize)
                .arg(free));
        return;
    case GraphicsStore::DefineResult::Failed:
        log(QStringLiteral("error: writing graphic %1 failed, stored nothing").arg(quoted(key)));
        return;
    }
    log(QStringLiteral("stored graphic %1 (%2x%3 dots, %4 bytes, %5)")
            .arg(quoted(key))
            .arg(width)
            .arg(height)
            .arg(dataSize)
            .arg(raster ? QStringLiteral("raster") : QStringLiteral("columns")));
}

void GraphicsReader::print()
{
    const QByteArray key = m_body.sliced(2, 2);
    const int scaleX = uchar(m_body[4]);
    const int scaleY = uchar(m_body[5]);
    const NvPrinter::PrintResult result = m_printer.printGraphic(key, scaleX, scaleY);
    switch (result.status) {
    case NvPrinter::PrintStatus::Printed:
        log(QStringLiteral("printed graphic %1 as %2 (%3x%4)")
                .arg(quoted(key), result.fileName)
                .arg(result.size.width())
                .arg(result.size.height()));
        break;
    case NvPrinter::PrintStatus::NoImage:
        log(QStringLiteral("no graphic %1").arg(quoted(key)));
        break;
    case NvPrinter::PrintStatus::BadMode:
        log(QStringLiteral("bad scale %1x%2 for graphic %3, printed nothing")
                .arg(scaleX)
                .arg(scaleY)
                .arg(quoted(key)));
        break;
    case NvPrinter::PrintStatus::WriteFailed:
        log(QStringLiteral("cannot write %1").arg(result.fileName));
        break;
    }
}

QString GraphicsReader::answer(const QByteArray &bytes, const QString &question,
                               const QString &said)
{
    if (!m_reply)
        return question + QStringLiteral(", not answered (one-way line)");
    m_reply(bytes);
    return question + QStringLiteral(", answered ") + said;
}

// A block is 37 72, 40 (last) or 41 (more follow), two characters a key, 00.
QString GraphicsReader::answerKeyBlock(const QByteArray &block, const QString &question)
{
    const qsizetype keys = (block.size() - 4) / 2;
    return answer(block, question,
                  QStringLiteral("%1 key%2%3")
                      .arg(keys)
                      .arg(keys == 1 ? "" : "s")
                      .arg(block[2] == '\x41' ? QStringLiteral(", more follow") : QString()));
}

QString GraphicsReader::frameName() const
{
    return m_longFrame ? QStringLiteral("GS 8 L") : QStringLiteral("GS ( L");
}

void GraphicsReader::log(const QString &text)
{
    m_log(frameName() + QStringLiteral(": ") + text);
}
