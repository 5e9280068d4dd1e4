#include "ParallelDevice.h"
#include "ParallelDeviceTexts.h"
#include "ParallelPort_win.h"

namespace {

HANDLE handleOf(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

bool ParallelDevice::open(const QString &device)
{
    close();
    m_errorText.clear();
    const ParallelPortOpen opened = openParallelPort(device.toStdWString());
    if (opened.handle == INVALID_HANDLE_VALUE) {
        m_errorText = qt_error_string(int(opened.error));
        return false;
    }
    m_handle = reinterpret_cast<qintptr>(opened.handle);
    return true;
}

bool ParallelDevice::write(const QByteArray &bytes)
{
    if (!isOpen()) {
        m_errorText = qt_error_string(ERROR_INVALID_HANDLE);
        return false;
    }
    const ParallelPortWrite result = writeParallelPort(handleOf(m_handle), bytes.constData(),
                                                       std::size_t(bytes.size()), m_stallLimit);
    if (result.stalled)
        m_errorText = parallelStalledText(m_stallLimit);
    else if (result.error != ERROR_SUCCESS)
        m_errorText = qt_error_string(int(result.error));
    return result.written == std::size_t(bytes.size());
}

void ParallelDevice::close()
{
    if (!isOpen())
        return;
    closeParallelPort(handleOf(m_handle));
    m_handle = InvalidHandle;
}
