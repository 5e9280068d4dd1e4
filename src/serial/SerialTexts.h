#pragma once

#include "OpenFailure.h"

#include <QString>

// Everything the serial control tells the operator, in one place.
namespace SerialTexts {

QString badSettings(const QString &settings);
QString openFailed(OpenFailure failure, const QString &portName, const QString &systemReason);
QString handshakingRefused(const QString &portName, const QString &systemReason);
QString notOpen();
QString writeFailed(const QString &portName, const QString &systemReason);
QString deviceLost(const QString &portName);
QString bytesNotSent(qint64 count, const QString &portName);

} // namespace SerialTexts
