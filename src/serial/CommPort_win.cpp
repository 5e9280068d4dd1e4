#include "CommPort_win.h"

#include "CommQueue_win.h"

#include <algorithm>

namespace {

constexpr DWORD inQueueSize = 4096;
constexpr DWORD outQueueSize = 1024;
constexpr DWORD driverPollMs = 10;
constexpr DWORD readWaitMs = 100;
// A printer that floods cannot hold the caller in one read.
constexpr int maxReadChunks = 16;

std::wstring devicePath(const std::wstring &name)
{
    // COM10 and above exist only under the device namespace.
    return name.rfind(L"\\\\", 0) == 0 ? name : L"\\\\.\\" + name;
}

void applyHandshaking(DCB &dcb, bool rtsCts)
{
    dcb.fOutxCtsFlow = rtsCts;
    dcb.fRtsControl = rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
}

DWORD configure(HANDLE handle, const CommLine &line, bool rtsCts)
{
    // Only a hint: drivers may keep their own sizes.
    SetupComm(handle, inQueueSize, outQueueSize);
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb))
        return GetLastError();
    dcb.BaudRate = line.rate;
    dcb.ByteSize = line.dataBits;
    dcb.Parity = line.parity;
    dcb.StopBits = line.stopBits;
    dcb.fBinary = TRUE;
    dcb.fParity = line.parity != NOPARITY;
    // XON/XOFF would eat bytes of a binary raster stream.
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fErrorChar = FALSE;
    // Otherwise a line error stops all I/O until ClearCommError.
    dcb.fAbortOnError = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    applyHandshaking(dcb, rtsCts);
    if (!SetCommState(handle, &dcb))
        return GetLastError();

    // Reads return at once with what has arrived; writes have no time-out, as the writer
    // thread waits for them and closing cancels them.
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    return SetCommTimeouts(handle, &timeouts) ? ERROR_SUCCESS : GetLastError();
}

} // namespace

CommPort::~CommPort()
{
    close(0);
}

DWORD CommPort::open(const std::wstring &name, const CommLine &line, bool rtsCts)
{
    if (isOpen())
        return ERROR_SUCCESS;
    const HANDLE handle = CreateFileW(devicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    if (const DWORD error = configure(handle, line, rtsCts); error != ERROR_SUCCESS) {
        CloseHandle(handle);
        return error;
    }
    m_handle = handle;
    m_readEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_writer = std::make_unique<CommWriter>(handle);
    return ERROR_SUCCESS;
}

DWORD CommPort::setRtsCts(bool on)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_handle, &dcb))
        return GetLastError();
    applyHandshaking(dcb, on);
    return SetCommState(m_handle, &dcb) ? ERROR_SUCCESS : GetLastError();
}

bool CommPort::clearToSend() const
{
    DWORD status = 0;
    if (!GetCommModemStatus(m_handle, &status))
        return true;
    return status & MS_CTS_ON;
}

std::size_t CommPort::driverQueue() const
{
    const CommQueue queue = commOutputQueue(m_handle);
    return queue.error == ERROR_SUCCESS ? queue.queued : 0;
}

std::size_t CommPort::outputCount() const
{
    if (!isOpen())
        return 0;
    // Windows counts the write in flight in the driver's queue, Wine does not: the larger of
    // the two never reads 0 while a byte is unsent.
    const CommWriter::Backlog backlog = m_writer->backlog();
    return backlog.waiting + std::max(backlog.inFlight, driverQueue());
}

void CommPort::write(const char *bytes, std::size_t size)
{
    if (isOpen())
        m_writer->queue(bytes, size);
}

DWORD CommPort::writeError() const
{
    return isOpen() ? m_writer->error() : ERROR_SUCCESS;
}

DWORD CommPort::readChunk(char *buffer, DWORD size)
{
    OVERLAPPED overlapped = {};
    overlapped.hEvent = m_readEvent;
    ResetEvent(m_readEvent);
    DWORD got = 0;
    if (ReadFile(m_handle, buffer, size, nullptr, &overlapped) ||
        GetLastError() == ERROR_IO_PENDING) {
        // The time-outs make the read return at once; the wait only bounds a driver that
        // ignores them.
        if (WaitForSingleObject(m_readEvent, readWaitMs) != WAIT_OBJECT_0)
            CancelIoEx(m_handle, &overlapped);
        GetOverlappedResult(m_handle, &overlapped, &got, TRUE);
    }
    return got;
}

std::string CommPort::read(std::size_t limit)
{
    std::string received;
    if (!isOpen())
        return received;
    char chunk[1024];
    for (int k = 0; k < maxReadChunks; ++k) {
        const DWORD got = readChunk(chunk, sizeof chunk);
        if (got == 0)
            break;
        received.append(chunk, got);
        if (received.size() > limit)
            received.erase(0, received.size() - limit);
    }
    return received;
}

std::size_t CommPort::close(DWORD timeoutMs)
{
    if (!isOpen())
        return 0;
    // Polled, not FlushFileBuffers: that waits for good while the peer holds CTS low.
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (m_writer->waitUntilWritten(timeoutMs))
        while (driverQueue() > 0 && GetTickCount64() < deadline)
            Sleep(driverPollMs);

    const std::size_t notWritten = m_writer->stop();
    const std::size_t heldByDriver = driverQueue();
    // Only when the driver owns up to held bytes: a pseudo-terminal under Wine reports none,
    // and flushing it would drop bytes its reader has not fetched yet.
    if (heldByDriver > 0)
        discardCommOutput(m_handle);
    m_writer.reset();
    CloseHandle(m_readEvent);
    CloseHandle(m_handle);
    m_readEvent = nullptr;
    m_handle = INVALID_HANDLE_VALUE;
    return notWritten + heldByDriver;
}

OpenFailure classifyCommOpenError(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:     // another program holds the port (Windows)
    case ERROR_LOCK_VIOLATION:    // Wine, for a device that is exclusively held (EBUSY)
    case ERROR_SHARING_VIOLATION: // Wine, for a file open without sharing
        return OpenFailure::Busy;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
        return OpenFailure::Missing;
    default:
        return OpenFailure::Other;
    }
}

bool isCommDeviceGone(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_READY: // Wine, for a line that hung up (EIO)
        return true;
    default:
        return false;
    }
}
