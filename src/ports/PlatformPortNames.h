#pragma once

#include <QString>

// The platform's device for LPT port number n (n >= 1); COM numbers are the serial control's.
QString parallelDeviceForNumber(qint16 n);
