#include "DeviceAnswers.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <unistd.h>

bool deviceAnswers(const QString &device)
{
    static const QRegularExpression usbPrinter(
        QRegularExpression::anchoredPattern(QStringLiteral("/dev/usb/lp[0-9]+")));
    // A stable link (a udev rule's /dev/receipt-printer) answers as the device it names.
    return usbPrinter.match(device).hasMatch() ||
           usbPrinter.match(QFileInfo(device).symLinkTarget()).hasMatch();
}

QByteArray readDeviceAnswers(qintptr handle, qsizetype limit)
{
    QByteArray answers;
    char chunk[256];
    while (answers.size() + qsizetype(sizeof chunk) <= limit) {
        const ssize_t got = ::read(int(handle), chunk, sizeof chunk);
        if (got > 0) {
            answers.append(chunk, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // EAGAIN: nothing more now; a device that cannot read says so once per call.
        return answers;
    }
    return answers;
}
