#pragma once

#include <QString>

#include <optional>

enum class LinkKind { None, Serial, Parallel, Network, Queue };

// The text starts with COM (LPT), in any case, and is a number once every COM (LPT), every colon
// and the surrounding spaces are gone: COM1:, com3:, COM5, but not COM1: (Used).
bool IsComPort(const QString &name);
bool IsLptPort(const QString &name);

// Serial for COM names and serial device paths, Parallel for LPT names and printer device files,
// Network for tcp://HOST[:PORT] and HOST:PORT, Queue for queue:NAME.
LinkKind linkKindOf(const QString &portText);

// The print queue a port text names (queue:Receipt names Receipt); empty for other texts.
QString queueNameOf(const QString &portText);
QString queuePortText(const QString &queueName);

// The port box's text without its surrounding spaces, without its last character and without
// its first three, read as a whole number (COM12: gives 12); empty when that last character
// is not a colon (COM12), when the rest is not a number or does not fit 16 bits.
std::optional<qint16> portNumberOf(const QString &portText);

// Device paths the platform accepts as they are (/dev/ttyUSB0, /dev/pts/3; /dev/usb/lp0).
bool isSerialDevicePath(const QString &text);
bool isParallelDevicePath(const QString &text);

// The device to open for a link name (COM1: is /dev/ttyS0 on Linux, COM1 on Windows;
// LPT1: is /dev/lp0 on Linux, LPT1: on Windows); empty when the text names no such device.
QString serialDeviceFor(const QString &portText);
QString parallelDeviceFor(const QString &portText);
