#include "GraphicsReader.h"

#include "GraphicsDefine.h"
#include "NvPrinter.h"

namespace {

constexpr char FunctionSet = 0x30;
constexpr char RasterDefine = 0x43;
constexpr char ColumnDefine = 0x44;
// The longest body of any function: a define of the largest graphic.
constexpr qint64 MaxBody = 11 + qint64(MaxGraphicWidth / 8) * MaxGraphicHeight;

QString quoted(QByteArrayView key)
{
    return QLatin1Char('"') + QString::fromLatin1(key) + QLatin1Char('"');
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

void GraphicsReader::answerKeyList(char byte)
{
    const KeyListExchange::Step step = m_keyList.answer(byte);
    m_log(step.log);
    if (!step.block.isEmpty())
        m_log(answer(step.block, QStringLiteral("key-list block"), describeKeyBlock(step.block)));
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
        if (expectParameters("KC")) {
            const QByteArray block = m_keyList.start(store.keys());
            log(answer(block, QStringLiteral("key list asked"), describeKeyBlock(block)));
        }
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
    const QString what = QStringLiteral("fn %1").arg(int(uchar(function)));
    GraphicDefine define = readGraphicDefine(m_body);
    if (!define.error.isEmpty()) {
        log(QStringLiteral("error: %1 with %2, stored nothing").arg(what, define.error));
        return;
    }
    const QString key = quoted(define.key);
    const qint64 dataSize = define.graphic.bytes;
    const qint64 free = m_printer.graphics().remaining();
    switch (m_printer.graphics().define(define.key, std::move(define.graphic))) {
    case GraphicsStore::DefineResult::Stored:
        break;
    case GraphicsStore::DefineResult::NoRoom:
        log(QStringLiteral("no room for graphic %1 (%2 bytes and %3 of control information, %4 "
                           "free), stored nothing")
                .arg(key)
                .arg(dataSize)
                .arg(GraphicsStore::ControlBytes)
                .arg(free));
        return;
    case GraphicsStore::DefineResult::Failed:
        log(QStringLiteral("error: writing graphic %1 failed, stored nothing").arg(key));
        return;
    }
    log(QStringLiteral("stored graphic %1 (%2x%3 dots, %4 bytes, %5)")
            .arg(key)
            .arg(define.width)
            .arg(define.height)
            .arg(dataSize)
            .arg(define.raster ? QStringLiteral("raster") : QStringLiteral("columns")));
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

QString GraphicsReader::frameName() const
{
    return m_longFrame ? QStringLiteral("GS 8 L") : QStringLiteral("GS ( L");
}

void GraphicsReader::log(const QString &text)
{
    m_log(frameName() + QStringLiteral(": ") + text);
}
