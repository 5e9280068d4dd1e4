#include "ParallelDevice.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString reasonFor(int error)
{
    QString reason = qt_error_string(error);
    // Printer device files belong to the lp group on Linux.
    if (error == EACCES)
        reason += QStringLiteral(" (is the user in the lp group?)");
    return reason;
}

} // namespace

ParallelDevice::~ParallelDevice()
{
    close();
}

bool ParallelDevice::open(const QString &device)
{
    close();
    m_errorText.clear();
    const QByteArray path = QFile::encodeName(device);
    int fd;
    do {
        fd = ::open(path.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
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
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    // One write call normally takes it all; a device may still accept less at a time.
    while (left > 0) {
        const ssize_t written = ::write(int(m_handle), data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            m_errorText = reasonFor(errno);
            return false;
        }
        if (written == 0) {
            m_errorText = qt_error_string(EIO);
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
    ::close(int(m_handle));
    m_handle = InvalidHandle;
}
