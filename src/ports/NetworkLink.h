#pragma once

#include "NetworkAddress.h"
#include "PrinterLink.h"

#include <QTcpSocket>

#include <chrono>
#include <functional>

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

    explicit NetworkLink(NetworkAddress address,
                         std::chrono::milliseconds connectLimit = ConnectLimit);

    bool open() override;
    // Every byte written, the write side shut, then the printer's own close awaited (at most
    // CloseLimit) while whatever it still says is read: a reset would drop what it has not
    // read yet.
    bool close() override;

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
    bool waitUntil(const std::function<bool()> &done, std::chrono::milliseconds limit);

    NetworkAddress m_address;
    std::chrono::milliseconds m_connectLimit;
    QTcpSocket m_socket;
    QString m_errorText;
    bool m_closedByPrinter = false;
    bool m_closing = false;
};
