#pragma once

#include "LinkCommand.h"
#include "ListedPicture.h"
#include "NvCommandSet.h"

#include <QList>
#include <QString>
#include <QStringList>

// One job for many printers, as the command line was given it.
struct FleetJob
{
    LinkCommand command = LinkCommand::Status;
    QStringList ports;
    QString rate;
    int jobs = 8;
    bool json = false;
    bool assumeYes = false;
    NvCommandSet set = NvCommandSet::BitImage;
    QList<ListedPicture> pictures;
    qint64 streamBytes = 0; // of one printer's job, for its progress
};

// Converts the pictures once, runs the single-printer job on every port, at most job.jobs at
// a time, and prints the table (or JSON lines); gives the exit code.
int runFleet(const FleetJob &job);
