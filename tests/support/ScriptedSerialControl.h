#pragma once

#include "SerialControl.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <functional>

// A serial control that does what a test tells it: it logs every property write in order,
// keeps every piece queued, and lets the test drive CTS, the backlog and failures.
class ScriptedSerialControl : public SerialControl
{
public:
    qint16 CommPort() const override { return m_commPort; }
    void setCommPort(qint16 port) override;
    QString devicePath() const override { return m_devicePath; }
    void setDevicePath(const QString &path) override;
    QString Settings() const override { return m_settings; }
    void setSettings(const QString &settings) override;
    bool PortOpen() const override { return m_open; }
    void setPortOpen(bool open) override;
    qint32 Handshaking() const override { return m_handshaking; }
    void setHandshaking(qint32 mode) override;
    qint16 OutBufferSize() const override { return m_outBufferSize; }
    int OutBufferCount() const override;
    bool CTSHolding() const override;
    void setOutput(const QByteArray &bytes) override;
    QByteArray Input() override;
    QString errorText() const override { return m_errorText; }
    bool writeFailed() const override { return m_writeFailed; }

    // "CommPort=1", "Settings=9600,n,8,1", "PortOpen=true", "Handshaking=2", ...
    const QStringList &writes() const { return m_writes; }
    const QList<QByteArray> &pieces() const { return m_pieces; }
    QByteArray sent() const;

    void setOutBufferSize(qint16 size) { m_outBufferSize = size; }
    void setCts(bool asserted);
    // Asked at every CTS read instead of the fixed level.
    void setCtsSource(std::function<bool()> source) { m_ctsSource = std::move(source); }
    // Bytes that leave the buffer at each OutBufferCount read; -1 (the default) empties it.
    void setDrainPerRead(int bytes) { m_drainPerRead = bytes; }
    void drain(int bytes);
    int queued() const { return m_queued; }
    // The next open leaves the port closed with this reason.
    void failOpen(const QString &reason);
    // The next close leaves the port open with this reason.
    void failClose(const QString &reason);
    // The next close closes the port but leaves the queued bytes unsent, with this reason.
    void loseBytesOnClose(const QString &reason) { m_closeLoss = reason; }
    // Accepts this many more bytes, then drops the rest and reports a failed write.
    void failWritesAfter(qsizetype bytes, const QString &reason);
    // Bytes the printer sends; Input() gives them.
    void answer(const QByteArray &bytes) { m_input += bytes; }
    // What the printer answers to DLE EOT n in a piece: byte n - 1; nothing for an empty array
    // (a one-way line). A ready printer by default.
    void setStatusAnswers(const QByteArray &answers) { m_statusAnswers = answers; }
    // Whether the printer answers GS ( H fn 48 (the process ID) in a piece; yes by default.
    void setAnswersProcessId(bool answers) { m_answersProcessId = answers; }
    // Called after each piece is queued.
    void setOnOutput(std::function<void(const QByteArray &)> hook) { m_onOutput = std::move(hook); }

private:
    qint16 m_commPort = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_open = false;
    qint32 m_handshaking = 0;
    qint16 m_outBufferSize = 1024;
    bool m_cts = true;
    std::function<bool()> m_ctsSource;
    int m_drainPerRead = -1;
    mutable int m_queued = 0;
    QString m_errorText;
    bool m_writeFailed = false;
    QString m_openFailure;
    QString m_closeFailure;
    QString m_closeLoss;
    qsizetype m_writeBudget = -1;
    QString m_writeFailure;
    QByteArray m_input;
    QByteArray m_statusAnswers = QByteArray(4, 0x12);
    bool m_answersProcessId = true;
    QStringList m_writes;
    QList<QByteArray> m_pieces;
    std::function<void(const QByteArray &)> m_onOutput;
};
