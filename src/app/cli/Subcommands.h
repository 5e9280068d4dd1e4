#pragma once

#include <QStringList>

// ExitNotReady: the printer answered that it cannot take a job.
enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2, ExitNotReady = 3 };

struct Subcommand
{
    QString name;
    // Takes the arguments with the subcommand's name as the first; returns an ExitCode.
    int (*run)(const QStringList &arguments);
};

const Subcommand *findSubcommand(const QString &name);
