#include "FleetReport.h"

#include "FleetTexts.h"
#include "Subcommands.h"
#include "TextTable.h"
#include "TransferTexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QString conditionsOf(const PrinterStatus &status)
{
    return TransferTexts::conditions(status).join(QStringLiteral(", "));
}

} // namespace

namespace {

// A printer that took the job may still warn (paper near its end).
QString withWarnings(const QString &result, const PrinterRun &run)
{
    if (!run.facts.status || conditionsOf(*run.facts.status).isEmpty())
        return result;
    return FleetTexts::Warned.arg(result, conditionsOf(*run.facts.status));
}

} // namespace

QString fleetResultText(const PrinterRun &run)
{
    switch (run.result) {
    case FleetResult::NotStarted:
        return FleetTexts::NotStarted;
    case FleetResult::Verified:
        return withWarnings(FleetTexts::Verified, run);
    case FleetResult::NotVerified:
        return withWarnings(FleetTexts::NotVerified, run);
    case FleetResult::Done:
        return withWarnings(FleetTexts::Done, run);
    case FleetResult::Ready:
        return withWarnings(FleetTexts::Ready, run);
    case FleetResult::NotReady:
        return FleetTexts::NotReady.arg(run.error);
    case FleetResult::Stopped:
        return run.error;
    case FleetResult::Failed:
        break;
    }
    return FleetTexts::Failed.arg(run.error);
}

namespace {

QString resultKey(FleetResult result)
{
    switch (result) {
    case FleetResult::NotStarted:
        return QStringLiteral("not-started");
    case FleetResult::Verified:
        return QStringLiteral("verified");
    case FleetResult::NotVerified:
        return QStringLiteral("not-verified");
    case FleetResult::Done:
        return QStringLiteral("done");
    case FleetResult::Ready:
        return QStringLiteral("ready");
    case FleetResult::NotReady:
        return QStringLiteral("not-ready");
    case FleetResult::Stopped:
        return QStringLiteral("stopped");
    case FleetResult::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QJsonObject identityObject(const PrinterIdentity &identity)
{
    QJsonObject object;
    const auto add = [&object](const char *key, const QString &text) {
        if (!text.isEmpty())
            object.insert(QLatin1String(key), text);
    };
    add("maker", identity.maker);
    add("model", identity.model);
    add("firmware", identity.firmware);
    add("serialNumber", identity.serialNumber);
    return object;
}

QJsonValue statesValue(const std::optional<PrinterStatus> &status)
{
    if (!status)
        return QJsonValue::Null;
    QStringList states = TransferTexts::conditions(*status);
    if (status->ready())
        states.prepend(FleetTexts::Ready);
    return QJsonArray::fromStringList(states);
}

QJsonValue keysValue(const std::optional<QList<QByteArray>> &keys)
{
    if (!keys)
        return QJsonValue::Null;
    QJsonArray array;
    for (const QByteArray &key : *keys)
        array.append(QString::fromLatin1(key));
    return array;
}

} // namespace

PrinterRun printerRun(LinkCommand command, const QString &port, TransferOutcome outcome,
                      const QString &message, const JobFacts &facts, bool stopped)
{
    PrinterRun run{port, FleetResult::Failed, facts, {}, 0};
    const bool notReady = facts.status && !facts.status->ready();
    if (stopped) {
        run.result = FleetResult::Stopped;
        run.error = message;
    } else if (outcome == TransferOutcome::Succeeded && !notReady) {
        switch (command) {
        case LinkCommand::Upload:
            run.result = facts.verifiedKeys ? FleetResult::Verified : FleetResult::NotVerified;
            break;
        case LinkCommand::Erase:
        case LinkCommand::Print:
            run.result = FleetResult::Done;
            break;
        case LinkCommand::Status:
            run.result = FleetResult::Ready;
            break;
        }
    } else if (notReady) {
        run.result = FleetResult::NotReady;
        run.error = conditionsOf(*facts.status);
    } else {
        run.error = message;
    }
    return run;
}

int fleetExitCode(LinkCommand command, const QList<PrinterRun> &runs)
{
    bool notReady = false;
    for (const PrinterRun &run : runs) {
        switch (run.result) {
        case FleetResult::NotStarted:
        case FleetResult::Stopped:
        case FleetResult::Failed:
            return ExitFailure;
        case FleetResult::NotReady:
            if (command != LinkCommand::Status)
                return ExitFailure;
            notReady = true;
            break;
        default:
            break;
        }
    }
    return notReady ? ExitNotReady : ExitOk;
}

QString fleetTable(const QList<PrinterRun> &runs, int width)
{
    QList<QStringList> rows;
    for (const PrinterRun &run : runs) {
        rows.append({run.port, run.facts.identity.model, run.facts.identity.serialNumber,
                     fleetResultText(run), QString::number(run.seconds, 'f', 1)});
    }
    return textTable({FleetTexts::Port, FleetTexts::Model, FleetTexts::SerialNumber,
                      FleetTexts::Result, FleetTexts::Seconds},
                     rows, width, 3);
}

QJsonObject printerJson(const PrinterRun &run)
{
    const bool failed = run.result == FleetResult::Failed || run.result == FleetResult::Stopped;
    return {
        {QStringLiteral("port"), run.port},
        {QStringLiteral("identity"), identityObject(run.facts.identity)},
        {QStringLiteral("states"), statesValue(run.facts.status)},
        {QStringLiteral("result"), resultKey(run.result)},
        {QStringLiteral("verifiedKeys"), keysValue(run.facts.verifiedKeys)},
        {QStringLiteral("seconds"), std::round(run.seconds * 1000) / 1000},
        {QStringLiteral("error"), failed ? QJsonValue(run.error) : QJsonValue::Null},
    };
}

QString fleetJson(const QList<PrinterRun> &runs)
{
    QString lines;
    for (const PrinterRun &run : runs)
        lines += jsonLine(printerJson(run));
    return lines;
}

QString jsonLine(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) +
           QLatin1Char('\n');
}
