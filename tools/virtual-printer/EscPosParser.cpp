#include "EscPosParser.h"

namespace {
constexpr char Dle = 0x10;
constexpr char Eot = 0x04;
constexpr char Fs = 0x1C;
constexpr char Gs = 0x1D;
constexpr char FinishCommand[] = {0x1D, 0x07, 0x02, 0x01, 0x01};
constexpr char GraphicsShort[] = {0x1D, 0x28, 0x4C}; // GS ( L
constexpr char GraphicsLong[] = {0x1D, 0x38, 0x4C};  // GS 8 L
constexpr char Identity[] = {0x1D, 0x49};            // GS I n
// GS ( H fn 48: the process ID response; four bytes of ID follow.
constexpr char ProcessId[] = {0x1D, 0x28, 0x48, 0x06, 0x00, 0x30, 0x30};
constexpr qsizetype ProcessIdSize = sizeof ProcessId + 4;
// Long runs of unknown bytes show only their start, so the log stays readable.
constexpr qsizetype UnknownShown = 32;

QString dots(const QList<NvImage> &images)
{
    QStringList sizes;
    for (const NvImage &image : images)
        sizes << QStringLiteral("%1x%2").arg(image.x * 8).arg(image.y * 8);
    return sizes.join(QStringLiteral(", "));
}
} // namespace

EscPosParser::EscPosParser(NvPrinter &printer, LogLine log, Reply reply)
    : m_printer(printer)
    , m_log(std::move(log))
    , m_reply(std::move(reply))
    , m_graphics(
          printer, [this](const QString &line) { this->log(line); }, m_reply)
{}

void EscPosParser::feed(QByteArrayView bytes)
{
    const auto answerInData = [this](int n) { answerStatus(n, true); };
    while (!bytes.isEmpty()) {
        if (m_graphics.awaitingKeyAnswer()) {
            m_graphics.answerKeyList(bytes.front());
            bytes = bytes.sliced(1);
        } else if (m_state == State::Define) {
            const qsizetype used = feedDefine(bytes.first(m_dataWatch.upToNextRequest(bytes)));
            m_dataWatch.scan(bytes.first(used), answerInData);
            bytes = bytes.sliced(used);
        } else if (m_state == State::Graphics) {
            const qsizetype used = m_graphics.feed(bytes.first(m_dataWatch.upToNextRequest(bytes)));
            m_dataWatch.scan(bytes.first(used), answerInData);
            bytes = bytes.sliced(used);
            if (!m_graphics.reading())
                m_state = State::Ground;
        } else {
            takeByte(bytes.front());
            bytes = bytes.sliced(1);
        }
    }
}

void EscPosParser::endOfStream()
{
    if (m_state == State::Define) {
        log(QStringLiteral("FS q: error: stream ended in record %1 of %2, stored nothing")
                .arg(m_record + 1)
                .arg(m_count));
        m_images.clear();
        m_current = {};
    } else if (m_state == State::Prefix) {
        addUnknown(m_prefix);
    } else if (m_state == State::Graphics) {
        m_graphics.abandon();
    }
    m_state = State::Ground;
    m_prefix.clear();
    flushUnknown();
}

bool EscPosParser::isIdle() const
{
    return m_state == State::Ground && m_unknownCount == 0;
}

void EscPosParser::takeByte(char byte)
{
    if (m_state == State::Ground) {
        if (byte == Fs || byte == Gs || byte == Dle) {
            m_prefix = QByteArray(1, byte);
            m_state = State::Prefix;
        } else {
            addUnknown(QByteArrayView(&byte, 1));
        }
        return;
    }

    const QByteArray next = m_prefix + byte;
    const auto starts = [&next](const auto &command) {
        return QByteArrayView(command, sizeof command).startsWith(next);
    };
    bool fits = false;
    switch (m_prefix[0]) {
    case Fs:
        fits = m_prefix.size() != 1 || byte == 'q' || byte == 'p';
        break;
    case Gs:
        fits = starts(FinishCommand) || starts(GraphicsShort) || starts(GraphicsLong) ||
               starts(Identity) || (m_prefix.size() == 2 && m_prefix[1] == Identity[1]) ||
               starts(ProcessId) ||
               (m_prefix.startsWith(QByteArrayView(ProcessId, sizeof ProcessId)) && byte >= 0x20 &&
                byte <= 0x7E);
        break;
    default:
        fits = m_prefix.size() == 1 ? byte == Eot : m_printer.status(byte).has_value();
        break;
    }
    if (!fits) {
        // The bytes so far were no command; this byte may start one.
        addUnknown(m_prefix);
        m_state = State::Ground;
        takeByte(byte);
        return;
    }
    m_prefix.append(byte);
    runCommandIfComplete();
}

void EscPosParser::runCommandIfComplete()
{
    if (m_prefix == QByteArrayView(FinishCommand, sizeof FinishCommand)) {
        log(QStringLiteral("GS BEL 02 01 01: finish"));
    } else if (m_prefix.size() == 3 && m_prefix[0] == Dle) {
        answerStatus(m_prefix[2], false);
    } else if (m_prefix.size() == 3 && m_prefix[0] == Gs && m_prefix[1] == Identity[1]) {
        answerIdentity(uchar(m_prefix[2]));
    } else if (m_prefix.size() == ProcessIdSize) {
        answerProcessId(m_prefix.last(4));
    } else if (m_prefix == QByteArrayView(GraphicsShort, sizeof GraphicsShort) ||
               m_prefix == QByteArrayView(GraphicsLong, sizeof GraphicsLong)) {
        m_graphics.start(m_prefix[1] == GraphicsLong[1]);
        m_dataWatch.reset();
        m_prefix.clear();
        m_state = State::Graphics;
        return;
    } else if (m_prefix.size() == 3 && m_prefix[1] == 'q') {
        m_count = uchar(m_prefix[2]);
        if (m_count == 0) {
            m_printer.erase();
            log(QStringLiteral("FS q: erased NV images"));
        } else {
            flushUnknown();
            m_record = 0;
            m_malformed = false;
            m_images.clear();
            m_state = State::Define;
            m_dataWatch.reset();
            startRecord();
            return;
        }
    } else if (m_prefix.size() == 4 && m_prefix[1] == 'p') {
        const int number = uchar(m_prefix[2]);
        const int mode = uchar(m_prefix[3]);
        const NvPrinter::PrintResult result = m_printer.print(number, mode);
        switch (result.status) {
        case NvPrinter::PrintStatus::Printed:
            log(QStringLiteral("FS p: printed NV image %1 as %2 (%3x%4, mode %5)")
                    .arg(number)
                    .arg(result.fileName)
                    .arg(result.size.width())
                    .arg(result.size.height())
                    .arg(mode));
            break;
        case NvPrinter::PrintStatus::NoImage:
            log(QStringLiteral("FS p: no NV image %1").arg(number));
            break;
        case NvPrinter::PrintStatus::BadMode:
            log(QStringLiteral("FS p: bad mode %1 for NV image %2, printed nothing")
                    .arg(mode)
                    .arg(number));
            break;
        case NvPrinter::PrintStatus::WriteFailed:
            log(QStringLiteral("FS p: cannot write %1").arg(result.fileName));
            break;
        }
    } else {
        return;
    }
    m_prefix.clear();
    m_state = State::Ground;
}

void EscPosParser::answerStatus(int n, bool inData)
{
    const char answer = *m_printer.status(n);
    const QString request =
        QStringLiteral("DLE EOT %1%2").arg(n).arg(inData ? QStringLiteral(" inside data") : "");
    if (!m_reply) {
        log(QStringLiteral("%1: not answered (one-way line)").arg(request));
        return;
    }
    log(QStringLiteral("%1: answered %2")
            .arg(request)
            .arg(QString::fromLatin1(QByteArray(1, answer).toHex().toUpper())));
    m_reply(QByteArrayView(&answer, 1));
}

void EscPosParser::answerIdentity(int n)
{
    const std::optional<QByteArray> answer = m_identity.answer(n);
    if (!answer) {
        log(QStringLiteral("GS I %1: not known, ignored").arg(n));
        return;
    }
    if (!m_reply) {
        log(QStringLiteral("GS I %1: not answered (one-way line)").arg(n));
        return;
    }
    log(QStringLiteral("GS I %1: answered %2")
            .arg(n)
            .arg(QString::fromLatin1(answer->sliced(1).chopped(1))));
    m_reply(*answer);
}

// Answered here, once every byte before it has been processed.
void EscPosParser::answerProcessId(const QByteArray &id)
{
    const QString text = QStringLiteral("GS ( H 48: process ID %1").arg(QString::fromLatin1(id));
    if (!m_reply) {
        log(text + QStringLiteral(" not answered (one-way line)"));
        return;
    }
    log(text + QStringLiteral(" answered"));
    m_reply(QByteArray("\x37\x22", 2) + id + '\0');
}

void EscPosParser::startRecord()
{
    m_header.clear();
    m_current = {};
    m_remaining = 0;
}

qsizetype EscPosParser::feedDefine(QByteArrayView bytes)
{
    qsizetype used = 0;
    if (m_header.size() < 4) {
        used = std::min<qsizetype>(4 - m_header.size(), bytes.size());
        m_header.append(bytes.first(used));
        if (m_header.size() < 4)
            return used;
        const int x = uchar(m_header[0]) + 256 * uchar(m_header[1]);
        const int y = uchar(m_header[2]) + 256 * uchar(m_header[3]);
        const bool fits = x >= 1 && x <= 1023 && y >= 1 && y <= 288;
        if (!fits && !m_malformed) {
            log(QStringLiteral("FS q: error: record %1 of %2 has a bad size (x=%3, y=%4), "
                               "stored nothing")
                    .arg(m_record + 1)
                    .arg(m_count)
                    .arg(x)
                    .arg(y));
        }
        m_malformed = m_malformed || !fits;
        // A bad record's data is skipped by its declared size, so the stream stays in step.
        m_remaining = qint64(x) * y * 8;
        m_current = {x, y, {}};
        if (!m_malformed)
            m_current.columns.reserve(m_remaining);
    }

    const qsizetype take = std::min<qint64>(m_remaining, bytes.size() - used);
    if (!m_malformed)
        m_current.columns.append(bytes.sliced(used, take));
    m_remaining -= take;
    used += take;
    if (m_remaining == 0)
        finishRecord();
    return used;
}

void EscPosParser::finishRecord()
{
    if (!m_malformed)
        m_images.append(std::move(m_current));
    if (++m_record < m_count) {
        startRecord();
        return;
    }
    m_state = State::Ground;
    m_prefix.clear();
    if (!m_malformed) {
        const QString sizes = dots(m_images);
        const qsizetype count = m_images.size();
        m_printer.define(std::move(m_images));
        log(QStringLiteral("FS q: stored %1 NV image%2 (%3 dots)")
                .arg(count)
                .arg(count == 1 ? "" : "s")
                .arg(sizes));
    }
    m_images.clear();
}

void EscPosParser::addUnknown(QByteArrayView bytes)
{
    const qsizetype room = UnknownShown - m_unknownShown.size();
    m_unknownShown.append(bytes.first(std::min(room, bytes.size())));
    m_unknownCount += bytes.size();
}

void EscPosParser::flushUnknown()
{
    if (m_unknownCount == 0)
        return;
    QString line = QStringLiteral("unknown %1 byte%2: %3")
                       .arg(m_unknownCount)
                       .arg(m_unknownCount == 1 ? "" : "s")
                       .arg(QString::fromLatin1(m_unknownShown.toHex(' ').toUpper()));
    if (m_unknownCount > m_unknownShown.size())
        line += QStringLiteral(" ...");
    m_unknownShown.clear();
    m_unknownCount = 0;
    m_log(line);
}

void EscPosParser::log(const QString &line)
{
    flushUnknown();
    m_log(line);
}
