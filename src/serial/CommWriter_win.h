#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>

// Sends the bytes queued for a COM port handle opened for overlapped I/O from a thread of its
// own, one write at a time: queuing returns at once, bytes leave in the order queued, and a
// write cut short sends only its unsent tail again.
class CommWriter
{
public:
    explicit CommWriter(HANDLE port);
    ~CommWriter();

    CommWriter(const CommWriter &) = delete;
    CommWriter &operator=(const CommWriter &) = delete;

    void queue(const char *bytes, std::size_t size);

    struct Backlog
    {
        std::size_t waiting = 0;  // not yet handed to the driver
        std::size_t inFlight = 0; // in the write the driver has not finished
    };
    Backlog backlog() const;

    // The Win32 error of the first write that failed; ERROR_SUCCESS while none has. Nothing
    // is written after a failure.
    DWORD error() const;

    // Waits at most timeoutMs for everything queued to be written; true when it was.
    bool waitUntilWritten(DWORD timeoutMs);

    // Cancels the write in flight, ends the thread and returns the bytes that were not written.
    std::size_t stop();

private:
    void run();
    bool writeNext(std::unique_lock<std::mutex> &lock);

    const HANDLE m_port;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::string m_waiting;
    std::string m_inFlight;
    OVERLAPPED m_overlapped = {};
    DWORD m_error = ERROR_SUCCESS;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
