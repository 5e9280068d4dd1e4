#include "TransferTexts.h"

#include "GraphicsCommands.h"
#include "GraphicsStoreInquiry.h"
#include "PrinterCommands.h"
#include "PrinterStatus.h"

namespace TransferTexts {

namespace {

QString durationText(std::chrono::milliseconds limit)
{
    using namespace std::chrono;
    if (limit >= minutes(1) && limit % minutes(1) == milliseconds(0))
        return QStringLiteral("%1 minutes").arg(duration_cast<minutes>(limit).count());
    if (limit % seconds(1) == milliseconds(0))
        return QStringLiteral("%1 seconds").arg(duration_cast<seconds>(limit).count());
    return QStringLiteral("%1 ms").arg(limit.count());
}

} // namespace

QString noPictures()
{
    return QStringLiteral("There are no pictures to upload.");
}

QString tooManyPictures(qsizetype count)
{
    return QStringLiteral("%1 pictures are listed, but one upload stores at most %2. "
                          "Remove some pictures and upload again.")
        .arg(count)
        .arg(MaxUploadPictures);
}

QString pictureNotLoaded(const QString &path, const QString &reason)
{
    return QStringLiteral("%1\n\nFile: %2\nNothing was sent.").arg(reason, path);
}

QString printerNotReady(std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer has not signalled ready (CTS) for %1. Check that it is "
                          "switched on, online and connected.")
        .arg(durationText(limit));
}

QString printerNotDraining(std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer has taken no data for %1. Check that it is switched on, "
                          "online and connected.")
        .arg(durationText(limit));
}

QString printerNotFinished(std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer did not finish storing within %1.").arg(durationText(limit));
}

QString deliveryNotConfirmed(std::chrono::milliseconds limit, const QString &now)
{
    const QString text = QStringLiteral("The printer did not answer the question asked after the "
                                        "job within %1: it may not have received or processed "
                                        "the whole job.")
                             .arg(durationText(limit));
    return now.isEmpty() ? text : text + QLatin1Char(' ') + now;
}

QString sentNotConfirmed()
{
    return QStringLiteral("Sent, not confirmed: the printer answers no question that shows it "
                          "processed the job.");
}

QString sentNotReady(const QString &now)
{
    return QStringLiteral("The job was sent, but the printer may not have taken it. %1").arg(now);
}

QString printerNowReports(const PrinterStatus &status)
{
    return QStringLiteral("The printer now reports: %1.")
        .arg(conditions(status).join(QStringLiteral(", ")));
}

QString noStatusAfterJob()
{
    return QStringLiteral("It did not answer the status questions after the job either.");
}

QString jobNotReadToEnd(std::chrono::milliseconds limit, qint64 unacknowledged)
{
    return QStringLiteral("The printer did not take the job to its end within %1: %2 bytes were "
                          "still unacknowledged.")
        .arg(durationText(limit))
        .arg(unacknowledged);
}

QString jobNotClosed(std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer took every byte of the job but did not close the "
                          "connection within %1, as a printer does once it has read a job to its "
                          "end: whether it processed the job is not known.")
        .arg(durationText(limit));
}

QString stoppedWaiting(const QString &left)
{
    return left.isEmpty() ? Stopped : Stopped + QLatin1Char(' ') + left;
}

QString waitingForPrinter(const QString &said)
{
    return said.isEmpty() ? WaitingForPrinter : WaitingForPrinter + QStringLiteral(": ") + said;
}

QString writeFailed(const QString &reason)
{
    return QStringLiteral("Writing to the printer failed: %1").arg(reason);
}

QString linkNotOpened(const QString &port, const QString &reason)
{
    return QStringLiteral("the link to %1 did not open: %2")
        .arg(port, reason.isEmpty() ? QStringLiteral("it names no serial, parallel or network port")
                                    : reason);
}

QStringList conditions(const PrinterStatus &status)
{
    QStringList lines;
    const auto add = [&lines](bool holds, const char *line) {
        if (holds)
            lines << QLatin1String(line);
    };
    add(status.offline, "offline");
    add(status.coverOpen, "cover open");
    add(status.paperEnd, "paper end");
    add(status.paperNearEnd, "paper near end");
    add(status.feedButton, "feed button pressed");
    add(status.autoRecoverableError, "automatically recoverable error");
    add(status.unrecoverableError, "unrecoverable error");
    add(status.autoCutterError, "auto-cutter error");
    add(status.mechanicalError, "mechanical error (on the printers that report it)");
    add(status.error && !status.autoRecoverableError && !status.unrecoverableError &&
            !status.autoCutterError && !status.mechanicalError,
        "error");
    return lines;
}

QString printerCannotTakeJob(const PrinterStatus &status)
{
    return QStringLiteral("The printer cannot take the job: %1. Nothing was sent.")
        .arg(conditions(status).join(QStringLiteral(", ")));
}

QString paperNearEnd()
{
    return QStringLiteral("The printer's paper is near its end.");
}

QString noAnswer(std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer did not answer within %1.").arg(durationText(limit));
}

QString noStatusAnswer(qint64 received, std::chrono::milliseconds limit, bool job)
{
    const QString text = QStringLiteral("The printer sent %1 bytes within %2, none of them an "
                                        "answer to the status questions: check the baud rate "
                                        "and the line.")
                             .arg(received)
                             .arg(durationText(limit));
    return job ? text + QStringLiteral(" Nothing was sent.") : text;
}

QString linkCarriesNoAnswers()
{
    return QStringLiteral("This port carries no answers from the printer.");
}

QString lateStatusAnswer(int n, std::chrono::milliseconds limit, bool job)
{
    const QString text = QStringLiteral("The printer answered the first status question but not "
                                        "DLE EOT %1 within %2; a later answer could not be told "
                                        "from the next one's, so its status is unknown.")
                             .arg(n)
                             .arg(durationText(limit));
    return job ? text + QStringLiteral(" Nothing was sent.") : text;
}

QString unaskedStatusBytes(qint64 count, bool job)
{
    const QString text = QStringLiteral("The printer sent %1 status bytes that no question asked "
                                        "for; its answers cannot be told from them. Check the "
                                        "printer and the line.")
                             .arg(count);
    return job ? text + QStringLiteral(" Nothing was sent.") : text;
}

QString lateIdentityAnswer(int n, std::chrono::milliseconds limit)
{
    return QStringLiteral("The printer said who it is, then did not answer GS I %1 within %2; a "
                          "later answer could not be told from the next one's.")
        .arg(n)
        .arg(durationText(limit));
}

QString pictureNotAGraphic(const QString &path, int widthDots, int heightDots)
{
    return QStringLiteral("The picture is %1 x %2 dots; an NV graphic holds at most %3 x %4.\n\n"
                          "File: %5\nNothing was sent.")
        .arg(widthDots)
        .arg(heightDots)
        .arg(MaxGraphicWidth)
        .arg(MaxGraphicHeight)
        .arg(path);
}

QString graphicsDoNotFit(qint64 needed, qint64 capacity)
{
    return QStringLiteral("The pictures need %1 bytes of NV graphics memory, but the printer "
                          "holds %2. Nothing was deleted or stored.")
        .arg(needed)
        .arg(capacity);
}

QString verified(int stored)
{
    return QStringLiteral("verified: %1 graphics stored").arg(stored);
}

QString graphicsUnknown(bool malformed, std::chrono::milliseconds limit)
{
    const QString what =
        malformed ? QStringLiteral("gave a malformed answer to the question about its NV "
                                   "graphics store")
                  : QStringLiteral("did not answer the question about its NV graphics store "
                                   "within %1")
                        .arg(durationText(limit));
    return QStringLiteral("The printer answered the status questions but %1, so it does not "
                          "seem to know NV graphics. Nothing was deleted or stored; choose NV "
                          "bit images for this printer.")
        .arg(what);
}

QString deleteAllQuestion(int count)
{
    return QStringLiteral("The printer cannot answer, so what it stores cannot be checked. The "
                          "upload deletes every NV graphic stored in the printer, then stores "
                          "the %1 listed. Delete every stored NV graphic?")
        .arg(count);
}

QString deleteAllNotConfirmed()
{
    return QStringLiteral("Nothing was deleted or stored: deleting the printer's NV graphics "
                          "without its answer was not confirmed.");
}

QString switchOffAndOn()
{
    return QStringLiteral("The printer may still be waiting for the rest of a graphic: switch it "
                          "off and on before the next job.");
}

QString keyListFailed(StoreAnswer answer, std::chrono::milliseconds limit, int keysBefore)
{
    switch (answer) {
    case StoreAnswer::None:
        return QStringLiteral("The printer did not list its NV graphics within %1")
            .arg(durationText(limit));
    case StoreAnswer::BrokenOff:
        return QStringLiteral("The printer's list of NV graphics broke off after %1 keys (nothing "
                              "more came within %2)")
            .arg(keysBefore)
            .arg(durationText(limit));
    case StoreAnswer::TooLong:
        return QStringLiteral("The printer's list of NV graphics ran past %1 keys, more than a "
                              "printer stores, and was refused")
            .arg(KeyListScanner::MaxKeys);
    case StoreAnswer::Malformed:
    case StoreAnswer::Answered:
        break;
    }
    return QStringLiteral("The printer's list of NV graphics was malformed");
}

QString uploadNotConfirmed(const QString &keyListFailure)
{
    return keyListFailure + QStringLiteral(", so the upload is not confirmed.");
}

QString nothingPrinted(const QString &keyListFailure)
{
    return keyListFailure + QStringLiteral(", so nothing was printed.");
}

QString graphicsMissing(const QStringList &keys, int sent)
{
    return QStringLiteral("The printer did not store %1 of the %2 graphics sent: %3.")
        .arg(keys.size())
        .arg(sent)
        .arg(keys.join(QStringLiteral(", ")));
}

QString printerBusy(const QString &reason, bool job)
{
    if (!job) {
        return QStringLiteral("%1 before the printer answered: it is busy with another "
                              "connection.")
            .arg(reason);
    }
    return QStringLiteral("%1 before the job began: the printer is busy with another "
                          "connection. Nothing was sent.")
        .arg(reason);
}

} // namespace TransferTexts
