#pragma once

#include <QByteArrayView>

#include <functional>

// Finds DLE EOT n (n 1 to 4) inside the data a command carries: a real printer answers such a
// request at once, wherever it arrives, and the bytes still count as data.
class RealTimeWatch
{
public:
    // A new command's data begins.
    void reset() { m_seen = 0; }
    // Calls found(n) for each request the bytes complete, those before them included.
    void scan(QByteArrayView bytes, const std::function<void(int n)> &found);
    // How many of the bytes reach up to the first request they complete (all when none): a
    // command fed no further than that logs the same whatever pieces the stream came in.
    qsizetype upToNextRequest(QByteArrayView bytes) const;

private:
    // Takes one byte; true when it completes a request.
    bool take(char byte);

    char m_last[2] = {0, 0};
    int m_seen = 0; // of the last two bytes, those that belong to this command's data
};
