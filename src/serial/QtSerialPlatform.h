#pragma once

#include "OpenFailure.h"

#include <QSerialPort>
#include <QString>

// What QtSerialControl needs from the operating system beside QSerialPort.

// Folds QSerialPort's error after a failed open of portName into a category.
OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, const QString &portName);

// Bytes the driver of the open port still holds for sending; 0 where it cannot say.
qint64 driverOutputQueue(const QSerialPort &port);

// Throws away what the driver still holds, so closing a port whose peer holds CTS low does not
// wait on the driver's own closing timeout.
void discardDriverOutput(const QSerialPort &port);
