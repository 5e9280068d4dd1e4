#pragma once

#include "NetworkAddress.h"
#include "PrinterLink.h"

#include <QSocketNotifier>
#include <QTcpSocket>

#include <chrono>
#include <functional>
#include <memory>

// A printer that takes raw ESC/POS over TCP. The waits for the connection and for the printer's
// close run the event loop, so the window stays live.
class NetworkLink : public PrinterLink
{
public:
    static constexpr std::chrono::milliseconds ConnectLimit = std::chrono::seconds(5);
    static constexpr std::chrono::milliseconds CloseLimit = std::chrono::seconds(2);
    // The backlog counts what the printer has not acknowledged, so it must cover the bytes in
    // flight on a fast line: pieces of 256 KiB, at most 512 KiB on the way.
    static constexpr int BufferSize = 1024 * 1024;

    // Each wait ends early once stopRequested (when given) says so.
    explicit NetworkLink(NetworkAddress address,
                         std::chrono::milliseconds connectLimit = ConnectLimit,
                         std::function<bool()> stopRequested = {});
    ~NetworkLink() override;

    bool open() override;
    // Every byte written, the stream ended, then the printer's own close awaited (at most
    // CloseLimit) while whatever it still says is read and dropped. A reset, or bytes the
    // printer's side never acknowledged, fail the link.
    bool close() override;
    // Shuts the write side once Qt has handed every byte to the system; from then on the link
    // reads the connection's end itself.
    bool endStream() override;
    // The printer closed in order with every byte acknowledged: it read the stream to its end,
    // since a close with bytes left unread resets the connection.
    bool printerReadToEnd() const override;

    int outBufferSize() const override { return BufferSize; }
    // Bytes in Qt's buffer and in the kernel's that the printer has not acknowledged.
    int backlog() const override;
    bool maySendNow() const override { return true; }
    void write(const QByteArray &bytes) override;

    bool canAnswer() const override { return true; }
    QByteArray takeAnswers() override;

    bool failed() const override { return !m_errorText.isEmpty(); }
    QString errorText() const override { return m_errorText; }
    bool closedByPrinter() const override { return m_closedByPrinter; }

private:
    void onError(QAbstractSocket::SocketError error);
    void readEnd();
    void releaseEnd();
    bool waitUntil(const std::function<bool()> &done, std::chrono::milliseconds limit);
    bool stopRequested() const { return m_stopRequested && m_stopRequested(); }

    NetworkAddress m_address;
    std::chrono::milliseconds m_connectLimit;
    std::function<bool()> m_stopRequested;
    QTcpSocket m_socket;
    QString m_errorText;
    bool m_closedByPrinter = false;
    // The connection's own descriptor once the stream has ended, and its watch.
    qintptr m_end = -1;
    std::unique_ptr<QSocketNotifier> m_endWatch;
    bool m_printerClosed = false;
};
