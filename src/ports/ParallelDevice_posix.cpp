#include "ParallelDevice.h"
#include "ParallelDeviceTexts.h"

#include "DeviceAnswers.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int pollStepMs = 10;

QString reasonFor(int error)
{
    QString reason = qt_error_string(error);
    // Printer device files belong to the lp group on Linux.
    if (error == EACCES)
        reason += QStringLiteral(" (is the user in the lp group?)");
    return reason;
}

// Waits at most one step for the device to take bytes again; true when poll says it will. The
// parallel-port lp driver has no poll support, so poll calls it ready while it still refuses:
// after such an answer the step is spent asleep.
bool waitForRoom(int fd, bool pollSaidReady)
{
    if (pollSaidReady) {
        ::poll(nullptr, 0, pollStepMs);
        return false;
    }
    pollfd entry{fd, POLLOUT, 0};
    return ::poll(&entry, 1, pollStepMs) > 0;
}

} // namespace

bool ParallelDevice::open(const QString &device)
{
    close();
    m_errorText.clear();
    const QByteArray path = QFile::encodeName(device);
    const int access = deviceAnswers(device) ? O_RDWR : O_WRONLY;
    int fd;
    do {
        // Non-blocking, so that a printer that stops taking bytes cannot hold a write for good.
        fd = ::open(path.constData(), access | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        m_errorText = reasonFor(errno);
        return false;
    }
    m_handle = fd;
    return true;
}

bool ParallelDevice::write(const QByteArray &bytes)
{
    if (!isOpen()) {
        m_errorText = qt_error_string(EBADF);
        return false;
    }
    const int fd = int(m_handle);
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    QDeadlineTimer stall(m_stallLimit);
    bool pollSaidReady = false;
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written > 0) {
            data += written;
            left -= written;
            stall.setRemainingTime(m_stallLimit);
            pollSaidReady = false;
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written == 0 || errno != EAGAIN) {
            m_errorText = written == 0 ? qt_error_string(EIO) : reasonFor(errno);
            return false;
        }
        if (stall.hasExpired()) {
            m_errorText = parallelStalledText(m_stallLimit);
            return false;
        }
        pollSaidReady = waitForRoom(fd, pollSaidReady);
    }
    // usblp returns before its last block has gone out, and closing would cancel that block;
    // an empty write then tells whether the device is still there.
    pollfd entry{fd, POLLOUT, 0};
    while (::poll(&entry, 1, pollStepMs) <= 0) {
        if (stall.hasExpired()) {
            m_errorText = parallelStalledText(m_stallLimit);
            return false;
        }
    }
    if (::write(fd, data, 0) < 0) {
        m_errorText = reasonFor(errno);
        return false;
    }
    return true;
}

void ParallelDevice::close()
{
    if (!isOpen())
        return;
    ::close(int(m_handle));
    m_handle = InvalidHandle;
}
