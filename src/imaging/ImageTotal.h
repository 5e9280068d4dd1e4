#pragma once

#include <QStringList>

struct ImageTotal
{
    qint64 total = 0;       // bytes: the sum of X x Y x 8 over the listed pictures
    QStringList unreadable; // listed paths that no longer read; each counted as 0 bytes
};

ImageTotal totalRasterSize(const QStringList &paths);
