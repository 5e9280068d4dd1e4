#pragma once

#include "SerialControl.h"

#include <memory>

// The platform's real serial-port control: QtSerialControl on Linux, WinSerialControl on
// Windows (the build picks the definition).
std::unique_ptr<SerialControl> makeSerialControl();
