#pragma once

#include <QByteArray>

// DLE EOT 1, 2 and 4: what every job on a link that can answer sends before its own bytes.
inline const QByteArray StatusQuestions = QByteArray::fromHex("100401100402100404");
// A printer that leaves DLE EOT 1 unanswered is asked nothing more.
inline const QByteArray SilentQuestion = StatusQuestions.first(3);
// GS ( H fn 48, its ID masked by maskedIds(): asked of a printer that answered the status
// questions before the job (whether it confirms jobs so) and again after it (the confirmation).
inline const QByteArray ProcessIdQuestion = QByteArray::fromHex("1D284806003030") + "????";
inline const QByteArray DeliveryQuestion = ProcessIdQuestion;
// What a job sends a printer that answered first: the status questions, then the probe.
inline const QByteArray BeforeJob = StatusQuestions + ProcessIdQuestion;

// The stream with the ID of every GS ( H fn 48 replaced by "????": IDs are fresh for each job.
inline QByteArray maskedIds(QByteArray stream)
{
    const QByteArray head = ProcessIdQuestion.first(7);
    for (qsizetype at = stream.indexOf(head); at >= 0; at = stream.indexOf(head, at + 1))
        stream.replace(at + head.size(), std::min<qsizetype>(4, stream.size() - at - 7), "????");
    return stream;
}
// GS I 65 to 68: what orvane status, and each job of a fleet, asks a printer that answered.
inline const QByteArray IdentityQuestions = QByteArray::fromHex("1D4941 1D4942 1D4943 1D4944");
