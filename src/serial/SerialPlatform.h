#pragma once

#include "OpenFailure.h"

#include <QString>

// The device that COM n names on this platform; empty when there is none (n < 1).
QString serialDeviceName(qint16 commPort);
