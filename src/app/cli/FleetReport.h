#pragma once

#include "LinkCommand.h"
#include "TransferOperations.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// How one printer's job ended.
enum class FleetResult {
    NotStarted,
    Verified,
    NotVerified,
    Done,
    Ready,
    NotReady,
    Stopped,
    Failed
};

struct PrinterRun
{
    QString port;
    FleetResult result = FleetResult::NotStarted;
    JobFacts facts;
    QString error; // why it failed, what it is not ready for, or what a stop left
    double seconds = 0;
};

// The result of a job that ended with outcome and message, after the printer told facts;
// stopped: the operator stopped it, and the message says what the printer may hold.
PrinterRun printerRun(LinkCommand command, const QString &port, TransferOutcome outcome,
                      const QString &message, const JobFacts &facts, bool stopped = false);

// The result as the table and the printer's line tell it.
QString fleetResultText(const PrinterRun &run);

// 0 when every printer did what was asked; for status 3 when one answered not ready, 1 when
// one did not answer (or any job failed or did not start).
int fleetExitCode(LinkCommand command, const QList<PrinterRun> &runs);

// The table: port, model, serial number, result, seconds; one row per printer, the results
// wrapped to fit width (0: any width).
QString fleetTable(const QList<PrinterRun> &runs, int width);
// The printer's JSON object: port, identity, states, result, verifiedKeys, seconds, error.
QJsonObject printerJson(const PrinterRun &run);
// One JSON object per printer and line.
QString fleetJson(const QList<PrinterRun> &runs);
// The object as one line of compact JSON.
QString jsonLine(const QJsonObject &object);
