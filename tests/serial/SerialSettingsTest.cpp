#include "SerialSettings.h"
#include "QtSerialControl.h"
#include "SerialPlatform.h"

#include <gtest/gtest.h>

TEST(SerialSettings, ReadsRateParityDataAndStopBits)
{
    using Parity = SerialSettings::Parity;
    using StopBits = SerialSettings::StopBits;
    EXPECT_EQ(parseSerialSettings(u"9600,n,8,1"),
              (SerialSettings{9600, Parity::None, 8, StopBits::One}));
    EXPECT_EQ(parseSerialSettings(u"115200,E,7,2"),
              (SerialSettings{115200, Parity::Even, 7, StopBits::Two}));
    EXPECT_EQ(parseSerialSettings(u"300,o,5,1.5"),
              (SerialSettings{300, Parity::Odd, 5, StopBits::OneAndHalf}));
    EXPECT_EQ(parseSerialSettings(u" 19200 , m , 6 , 1 "),
              (SerialSettings{19200, Parity::Mark, 6, StopBits::One}));
    EXPECT_EQ(parseSerialSettings(u"2147483647,s,8,1")->parity, Parity::Space);
}

TEST(SerialSettings, RefusesMalformedText)
{
    for (const char16_t *text :
         {u"", u"9600", u"9600,n,8", u"9600,n,8,1,1", u"abc,n,8,1", u"0,n,8,1", u"-9600,n,8,1",
          u"+9600,n,8,1", u"96.5,n,8,1", u"2147483648,n,8,1", u"9600,x,8,1", u"9600,no,8,1",
          u"9600,,8,1", u"9600,n,4,1", u"9600,n,9,1", u"9600,n,8,0", u"9600,n,8,3", u"9600,n,8,1.0",
          u"9600;n;8;1"})
        EXPECT_FALSE(parseSerialSettings(text)) << QString::fromUtf16(text).toStdString();
}

TEST(SerialDevice, ComNumbersNameTheSerialDevices)
{
    EXPECT_EQ(serialDeviceName(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(serialDeviceName(12), QStringLiteral("/dev/ttyS11"));
    EXPECT_TRUE(serialDeviceName(0).isEmpty());
    EXPECT_TRUE(serialDeviceName(-3).isEmpty());
}

TEST(SerialDevice, DevicePathWinsUntilCommPortIsSet)
{
    QtSerialControl control;
    control.setCommPort(3);
    control.setDevicePath(QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(control.portName(), QStringLiteral("/dev/ttyUSB0"));
    control.setCommPort(4);
    EXPECT_TRUE(control.devicePath().isEmpty());
    EXPECT_EQ(control.portName(), QStringLiteral("/dev/ttyS3"));
}

TEST(SerialDevice, PortWithoutDeviceDoesNotOpen)
{
    QtSerialControl control;
    control.setCommPort(0);
    control.setPortOpen(true);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(control.errorText(), QStringLiteral("COM0 does not exist"));
}
