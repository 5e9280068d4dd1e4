#include "CommWriter_win.h"

#include <algorithm>
#include <chrono>

namespace {

// Small writes keep the backlog honest under Wine, whose driver queue does not count a write
// in flight.
constexpr std::size_t maxWrite = 1024;

} // namespace

CommWriter::CommWriter(HANDLE port)
    : m_port(port)
{
    m_overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this] { run(); });
}

CommWriter::~CommWriter()
{
    stop();
    CloseHandle(m_overlapped.hEvent);
}

void CommWriter::queue(const char *bytes, std::size_t size)
{
    const std::lock_guard lock(m_mutex);
    m_waiting.append(bytes, size);
    m_wake.notify_one();
}

CommWriter::Backlog CommWriter::backlog() const
{
    const std::lock_guard lock(m_mutex);
    return {m_waiting.size(), m_inFlight.size()};
}

DWORD CommWriter::error() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

bool CommWriter::waitUntilWritten(DWORD timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_written.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] {
        return m_error != ERROR_SUCCESS || (m_waiting.empty() && m_inFlight.empty());
    }) && m_error == ERROR_SUCCESS;
}

std::size_t CommWriter::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        // The write is started under the lock, so a write in flight is one the driver holds.
        if (m_writing)
            CancelIoEx(m_port, &m_overlapped);
        m_wake.notify_one();
    }
    if (m_thread.joinable())
        m_thread.join();
    const std::lock_guard lock(m_mutex);
    return m_waiting.size() + m_inFlight.size();
}

void CommWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] {
            return m_stopping || (!m_waiting.empty() && m_error == ERROR_SUCCESS);
        });
        if (m_stopping || !writeNext(lock))
            return;
    }
}

// One write of the oldest waiting bytes; false once stopping cancelled it.
bool CommWriter::writeNext(std::unique_lock<std::mutex> &lock)
{
    const std::size_t size = std::min(m_waiting.size(), maxWrite);
    m_inFlight.assign(m_waiting, 0, size);
    m_waiting.erase(0, size);

    ResetEvent(m_overlapped.hEvent);
    const HANDLE event = m_overlapped.hEvent;
    m_overlapped = {};
    m_overlapped.hEvent = event;
    DWORD result = ERROR_SUCCESS;
    DWORD sent = 0;
    if (!WriteFile(m_port, m_inFlight.data(), DWORD(size), nullptr, &m_overlapped))
        result = GetLastError();
    if (result == ERROR_SUCCESS || result == ERROR_IO_PENDING) {
        m_writing = true;
        lock.unlock();
        result = GetOverlappedResult(m_port, &m_overlapped, &sent, TRUE) ? ERROR_SUCCESS
                                                                         : GetLastError();
        lock.lock();
        m_writing = false;
    }

    m_inFlight.erase(0, std::min<std::size_t>(sent, m_inFlight.size()));
    if (m_stopping && result == ERROR_OPERATION_ABORTED)
        return false;
    if (result != ERROR_SUCCESS)
        m_error = result;
    // A write the driver ended early (a time-out Orvane does not set) leaves its tail first.
    m_waiting.insert(0, m_inFlight);
    m_inFlight.clear();
    m_written.notify_all();
    return true;
}
