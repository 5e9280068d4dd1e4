#pragma once

#include "TiedProcess.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A cupsd of the test's own, listening on a socket in a folder of its own, with its own
// queues, spool and logs: the machine's scheduler and queues are never touched. It stops with
// this object, or with the test's process should that die first.
class PrivateScheduler
{
public:
    // Starts cupsd and waits until it answers; false, with why() set, when it does not.
    // settings: more lines for cupsd.conf.
    bool start(const QString &settings = {});
    QString why() const { return m_why; }
    // The value of CUPS_SERVER that reaches it.
    QString server() const { return m_dir.filePath(QStringLiteral("cups.sock")); }
    // An environment whose CUPS programs and libraries reach this scheduler only.
    QProcessEnvironment environment() const;
    // A raw queue on deviceUri, enabled and accepting jobs; options go to lpadmin as -o.
    bool addQueue(const QString &name, const QString &deviceUri, const QStringList &options = {});
    // Runs a CUPS program (lpadmin, cupsdisable, lpstat...) against this scheduler only.
    ProgramRun run(const QString &program, const QStringList &arguments) const;

private:
    QTemporaryDir m_dir;
    TiedProcess m_cupsd;
    QString m_why;
};
