#pragma once

#include <QString>

#include <chrono>

// What the link tells the operator in its own words. Its status texts go to the trace only.
namespace LinkTexts {

QString nameWithoutColon(const QString &name);
QString badPortNumber(const QString &name);
QString badRate(const QString &rateText);

// address: HOST:PORT
QString refused(const QString &address, quint16 port);
QString hostNotFound(const QString &host);
QString noRoute(const QString &address, const QString &systemReason);
QString timedOut(const QString &address, std::chrono::milliseconds limit);
QString connectStopped(const QString &address);
QString closed(const QString &address);
QString networkFailed(const QString &address, const QString &systemReason);
QString notHandedOn(qint64 count, const QString &address);
QString notAcknowledged(qint64 count, const QString &address);
QString reset(const QString &address);

// What a print queue did, in a few words, and the whole sentence with the scheduler's reason.
inline const QString QueueUnknown = QStringLiteral("is not known to the scheduler");
inline const QString QueuePaused = QStringLiteral("is paused");
inline const QString QueueRejecting = QStringLiteral("is rejecting jobs");
inline const QString QueueUnreachable = QStringLiteral("cannot be reached");
inline const QString QueueFailed = QStringLiteral("did not take the job");
inline const QString JobAborted = QStringLiteral("aborted the job");
inline const QString JobCancelled = QStringLiteral("cancelled the job");
inline const QString JobStopped = QStringLiteral("stopped the job");
inline const QString QueueSilent = QStringLiteral("gave no answer about the job for 3 minutes");
inline const QString JobVanished =
    QStringLiteral("no longer knows the job and gave no word of how it ended, so whether the "
                   "printer has it is not known");
QString queueProblem(const QString &name, const QString &what, const QString &said);
// Where a job handed to the queue stays when Orvane stops waiting for it; job: the scheduler's
// name for it.
QString leftInQueue(const QString &name, const QString &job);

} // namespace LinkTexts
