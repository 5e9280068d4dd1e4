#pragma once

#include <QString>

// The platform's device for COM or LPT port number n (n >= 1).
QString serialDeviceForNumber(qint16 n);
QString parallelDeviceForNumber(qint16 n);
