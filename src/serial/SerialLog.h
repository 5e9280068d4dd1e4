#pragma once

#include <QLoggingCategory>

// The serial control's diagnostics, off below critical unless QT_LOGGING_RULES enables them.
Q_DECLARE_LOGGING_CATEGORY(lcSerial)
