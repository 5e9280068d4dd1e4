#pragma once

#include <QString>

// What a run over many printers says, on its lines and in its table.
namespace FleetTexts {
inline const QString Waiting = QStringLiteral("waiting");
inline const QString Running = QStringLiteral("running");
inline const QString Writing = QStringLiteral("writing");
inline const QString Queued = QStringLiteral("queued, waiting for the printer");
inline QString sending(int percent)
{
    return QStringLiteral("sending %1%").arg(percent);
}

// Results, as the table tells them.
inline const QString Verified = QStringLiteral("stored and verified");
inline const QString NotVerified = QStringLiteral("stored, not verified");
inline const QString Done = QStringLiteral("done");
inline const QString Ready = QStringLiteral("ready");
inline const QString NotReady = QStringLiteral("not ready: %1");
inline const QString Failed = QStringLiteral("failed: %1");
inline const QString NotStarted = QStringLiteral("not started");
// A result, and what the printer warned of.
inline const QString Warned = QStringLiteral("%1 (%2)");

// The table's headings.
inline const QString Port = QStringLiteral("port");
inline const QString Model = QStringLiteral("model");
inline const QString SerialNumber = QStringLiteral("serial number");
inline const QString Result = QStringLiteral("result");
inline const QString Seconds = QStringLiteral("seconds");
inline const QString Address = QStringLiteral("address");
inline const QString State = QStringLiteral("state");
} // namespace FleetTexts
