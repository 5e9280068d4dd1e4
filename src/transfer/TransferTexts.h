#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

struct PrinterStatus;
enum class StoreAnswer;

// Every text the transfers show to the operator.
namespace TransferTexts {

inline const QString ResetPrompt = QStringLiteral("Please reset your printer.");
inline const QString ResetTitle = QStringLiteral("Starting Upload.");
inline const QString Done = QStringLiteral("Done!!");
inline const QString DoneTitle = QStringLiteral("Upload finished.");

inline const QString Writing = QStringLiteral("Writing");
inline const QString Success = QStringLiteral("SUCCESS");
inline const QString Failed = QStringLiteral("FAILED");
inline const QString Processing = QStringLiteral("PROCESSING");
inline const QString WaitingForPrinter = QStringLiteral("Waiting for the printer");

inline const QString RefusedTitle = QStringLiteral("Upload not started.");
inline const QString WarningTitle = QStringLiteral("Printer warning.");
inline const QString FailedTitle = QStringLiteral("Transfer failed.");
inline const QString Stopped = QStringLiteral("The transfer was stopped before it finished.");
// A job the operator stopped, by what of it had gone out.
inline const QString StoppedBeforeJob = QStringLiteral("stopped: the printer was not changed");
inline const QString StoppedInUpload = QStringLiteral(
    "stopped: the printer may hold its old set or the new one, and may still wait for the rest "
    "of the new one: switch it off and on, then print to see which it holds");
inline const QString StoppedInGraphicsUpload =
    QStringLiteral("stopped: the printer may hold all or part of the set; check it with "
                   "`orvane status`");
inline const QString StoppedInJob =
    QStringLiteral("stopped: the printer may have carried out all or part of the job");
inline const QString NotVerified = QStringLiteral("not verified (the printer does not answer)");
inline const QString DeleteTitle = QStringLiteral("Delete stored graphics?");

QString noPictures();
QString tooManyPictures(qsizetype count);
// reason comes from the picture loader, which names the file itself.
QString pictureNotLoaded(const QString &path, const QString &reason);
QString printerNotReady(std::chrono::milliseconds limit);
QString printerNotDraining(std::chrono::milliseconds limit);
QString printerNotFinished(std::chrono::milliseconds limit);
QString writeFailed(const QString &reason);
// now: what the printer reports after the job, when it is not ready or did not answer.
QString deliveryNotConfirmed(std::chrono::milliseconds limit, const QString &now);
// A printer that answers its status but no question that confirms a job.
QString sentNotConfirmed();
QString sentNotReady(const QString &now);
QString printerNowReports(const PrinterStatus &status);
QString noStatusAfterJob();
QString jobNotReadToEnd(std::chrono::milliseconds limit, qint64 unacknowledged);
// Every byte acknowledged, but the connection never closed.
QString jobNotClosed(std::chrono::milliseconds limit);
// left: where the job stays, if it does.
QString stoppedWaiting(const QString &left);
// said: the scheduler's latest word on the job or its printer, if any.
QString waitingForPrinter(const QString &said);
// Why the link to the port text did not open, in the link's words; with none, the text names
// no port.
QString linkNotOpened(const QString &port, const QString &reason);

// One short line per condition the printer reported; empty when it reported none.
QStringList conditions(const PrinterStatus &status);
QString printerCannotTakeJob(const PrinterStatus &status);
QString paperNearEnd();
QString noAnswer(std::chrono::milliseconds limit);
// job: a job was to follow, and nothing of it was sent.
QString noStatusAnswer(qint64 received, std::chrono::milliseconds limit, bool job);
QString linkCarriesNoAnswers();
// It answered before, then not DLE EOT n within limit; job as for noStatusAnswer.
QString lateStatusAnswer(int n, std::chrono::milliseconds limit, bool job);
QString unaskedStatusBytes(qint64 count, bool job);
// It answered GS I 65, then not GS I n within limit.
QString lateIdentityAnswer(int n, std::chrono::milliseconds limit);
// NV graphics.
QString pictureNotAGraphic(const QString &path, int widthDots, int heightDots);
QString graphicsDoNotFit(qint64 needed, qint64 capacity);
// A printer that answered the status questions, but not, or not in form, the capacity question.
QString graphicsUnknown(bool malformed, std::chrono::milliseconds limit);
QString deleteAllQuestion(int count);
QString deleteAllNotConfirmed();
// Added to a failure inside the defines, which leaves the printer counting bytes of a graphic.
QString switchOffAndOn();
QString verified(int stored);
// What went wrong with the key list; limit: the wait that ran out.
QString keyListFailed(StoreAnswer answer, std::chrono::milliseconds limit, int keysBefore);
QString uploadNotConfirmed(const QString &keyListFailure);
QString nothingPrinted(const QString &keyListFailure);
QString graphicsMissing(const QStringList &keys, int sent);

// reason: the link's own words for the printer closing the connection. job: a job was to
// follow, and nothing of it was sent.
QString printerBusy(const QString &reason, bool job = true);

} // namespace TransferTexts
