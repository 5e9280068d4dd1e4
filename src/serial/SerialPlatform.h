#pragma once

#include <QSerialPort>
#include <QString>

// What the rest of the control needs from the operating system, one file pair per platform.

// Why an open failed, in categories the operator can act on.
enum class OpenFailure { Busy, Missing, PermissionDenied, Other };

// The device that COM n names on this platform; empty when there is none (n < 1).
QString serialDeviceName(qint16 commPort);

// Folds QSerialPort's error after a failed open of portName into a category.
OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, const QString &portName);

// Bytes the driver of the open port still holds for sending; 0 where it cannot say.
qint64 driverOutputQueue(const QSerialPort &port);

// Throws away what the driver still holds, so closing a port whose peer holds CTS low does not
// wait on the driver's own closing timeout.
void discardDriverOutput(const QSerialPort &port);
