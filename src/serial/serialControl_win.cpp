#include "SerialControlFactory.h"
#include "WinSerialControl.h"

std::unique_ptr<SerialControl> makeSerialControl()
{
    return std::make_unique<WinSerialControl>();
}
