#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

struct PrinterStatus;

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

inline const QString RefusedTitle = QStringLiteral("Upload not started.");
inline const QString WarningTitle = QStringLiteral("Printer warning.");
inline const QString FailedTitle = QStringLiteral("Transfer failed.");
inline const QString Stopped = QStringLiteral("The transfer was stopped before it finished.");
inline const QString NotVerified = QStringLiteral("not verified (the printer does not answer)");

QString noPictures();
QString tooManyPictures(qsizetype count);
// reason comes from the picture loader, which names the file itself.
QString pictureNotLoaded(const QString &path, const QString &reason);
QString printerNotReady(std::chrono::milliseconds limit);
QString printerNotDraining(std::chrono::milliseconds limit);
QString printerNotFinished(std::chrono::milliseconds limit);
QString writeFailed(const QString &reason);
QString deliveryNotConfirmed(std::chrono::milliseconds limit);
QString jobNotReadToEnd(std::chrono::milliseconds limit);
// Why the link to the port text did not open, in the link's words; with none, the text names
// no port.
QString linkNotOpened(const QString &port, const QString &reason);

// One short line per condition the printer reported; empty when it reported none.
QStringList conditions(const PrinterStatus &status);
QString printerCannotTakeJob(const PrinterStatus &status);
QString paperNearEnd();
QString noAnswer(std::chrono::milliseconds limit);
QString linkCarriesNoAnswers();
// NV graphics.
QString pictureNotAGraphic(const QString &path, int widthDots, int heightDots);
QString graphicsDoNotFit(qint64 needed, qint64 capacity);
QString verified(int stored);
QString graphicsNotListed(std::chrono::milliseconds limit);
QString graphicsMissing(const QStringList &keys, int sent);

// reason: the link's own words for the printer closing the connection.
QString printerBusy(const QString &reason);

} // namespace TransferTexts
