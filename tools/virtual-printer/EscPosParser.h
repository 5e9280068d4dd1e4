#pragma once

#include "GraphicsReader.h"
#include "IdentityAnswers.h"
#include "NvPrinter.h"
#include "RealTimeWatch.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

// Reads the ESC/POS byte stream in whatever pieces it arrives and drives the NvPrinter:
// FS q (define or erase NV images), FS p (print one), the finish command, DLE EOT n (answered
// with the printer's state, also inside a command's data), GS I n (who it is), GS ( H fn 48 (the
// process ID, answered in turn after everything before it), and the NV
// graphics functions of GS ( L and GS 8 L; anything else is logged as unknown bytes.
class EscPosParser
{
public:
    using LogLine = std::function<void(const QString &)>;
    // Where answers go; none on a one-way line.
    using Reply = std::function<void(QByteArrayView)>;

    EscPosParser(NvPrinter &printer, LogLine log, Reply reply = {});

    // Who the printer says it is; the defaults until set.
    void setIdentity(IdentityAnswers identity) { m_identity = std::move(identity); }

    void feed(QByteArrayView bytes);
    // The stream ended or stalled: a command still open is abandoned, pending bytes logged.
    void endOfStream();
    // True when no command is open and every byte received has been logged.
    bool isIdle() const;

private:
    enum class State { Ground, Prefix, Define, Graphics };

    qsizetype feedDefine(QByteArrayView bytes);
    void takeByte(char byte);
    void startRecord();
    void finishRecord();
    void runCommandIfComplete();
    // inData: the request came inside the data of a command, which goes on after it.
    void answerStatus(int n, bool inData);
    void answerIdentity(int n);
    void answerProcessId(const QByteArray &id);
    void addUnknown(QByteArrayView bytes);
    void flushUnknown();
    void log(const QString &line);

    NvPrinter &m_printer;
    LogLine m_log;
    Reply m_reply;
    State m_state = State::Ground;
    QByteArray m_prefix;

    // FS q in progress
    int m_count = 0;
    int m_record = 0; // 0-based index of the record being read
    QByteArray m_header;
    qint64 m_remaining = 0;
    bool m_malformed = false;
    NvImage m_current;
    QList<NvImage> m_images;

    GraphicsReader m_graphics;
    RealTimeWatch m_dataWatch;
    IdentityAnswers m_identity;

    QByteArray m_unknownShown;
    qint64 m_unknownCount = 0;
};
