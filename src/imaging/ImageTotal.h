#pragma once

#include "ListedPicture.h"

#include <QList>
#include <QStringList>

struct ImageTotal
{
    // Bytes: the sum of X x Y x 8 over the listed pictures, each at its own printer width.
    qint64 total = 0;
    QStringList unreadable; // listed paths that no longer read; each counted as 0 bytes
    QStringList tooTall;    // why a listed picture is more than a printer stores, one each
};

ImageTotal totalRasterSize(const QList<ListedPicture> &pictures);
