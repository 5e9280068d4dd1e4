#include "QtSerialControl.h"
#include "SerialControlFactory.h"

std::unique_ptr<SerialControl> makeSerialControl()
{
    return std::make_unique<QtSerialControl>();
}
