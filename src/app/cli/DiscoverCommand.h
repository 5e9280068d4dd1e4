#pragma once

#include <QStringList>

// orvane discover RANGE: which addresses of the range take a connection on the printer port,
// and what each says to the status and identity questions; gives the exit code.
int runDiscover(const QStringList &arguments);
