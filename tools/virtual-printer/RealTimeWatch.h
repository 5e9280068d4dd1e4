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

private:
    char m_last[2] = {0, 0};
    int m_seen = 0; // of the last two bytes, those that belong to this command's data
};
