#pragma once

#include <QString>
#include <QStringList>

// The mistake when two of the ports name one printer (tcp://host and host:9100, COM1: and
// /dev/ttyS0): it would get the job twice and refuse the second as busy. Empty when each port
// names its own.
QString repeatedPortFault(const QStringList &ports);
