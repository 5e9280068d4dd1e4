#pragma once

#include <QByteArray>
#include <QString>

// Printer device files that carry the printer's answers back (a USB printer class device) are
// opened for reading too; a parallel port's are not.
bool deviceAnswers(const QString &device);
// What the printer sent on the open device, without waiting and at most limit bytes; empty
// when nothing came.
QByteArray readDeviceAnswers(qintptr handle, qsizetype limit);
