#include "ParallelDevice.h"

#include <windows.h>

#include <algorithm>

namespace {

// Small enough that a printer still taking bytes never trips the write time-out.
constexpr DWORD writeChunk = 4096;

QString lastErrorText()
{
    return qt_error_string(int(GetLastError()));
}

HANDLE handleOf(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

bool ParallelDevice::open(const QString &device)
{
    close();
    m_errorText.clear();
    const HANDLE handle =
        CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()), GENERIC_WRITE, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_errorText = lastErrorText();
        return false;
    }
    // As the spooler's local port monitor does, so that a printer that takes nothing ends a
    // write instead of holding it for good; a handle that is no port keeps its own behaviour.
    COMMTIMEOUTS timeouts = {};
    timeouts.WriteTotalTimeoutConstant = DWORD(m_stallLimit.count());
    SetCommTimeouts(handle, &timeouts);
    m_handle = reinterpret_cast<qintptr>(handle);
    return true;
}

bool ParallelDevice::write(const QByteArray &bytes)
{
    if (!isOpen()) {
        m_errorText = qt_error_string(ERROR_INVALID_HANDLE);
        return false;
    }
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(left, writeChunk));
        if (!WriteFile(handleOf(m_handle), data, chunk, &written, nullptr)) {
            m_errorText = lastErrorText();
            return false;
        }
        if (written == 0) {
            m_errorText = qt_error_string(ERROR_WRITE_FAULT);
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void ParallelDevice::close()
{
    if (!isOpen())
        return;
    CloseHandle(handleOf(m_handle));
    m_handle = InvalidHandle;
}
