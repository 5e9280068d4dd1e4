#include "SerialLog.h"

Q_LOGGING_CATEGORY(lcSerial, "orvane.serial", QtCriticalMsg)
