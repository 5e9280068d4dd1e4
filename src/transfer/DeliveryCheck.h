#pragma once

#include "TransferLimits.h"
#include "Transmitter.h"

#include <QByteArray>
#include <QString>

// How a printer that answered the status questions can show that it processed every byte of a
// job. DLE EOT cannot: it is answered where it reaches the receive buffer, ahead of the bytes
// before it, and wherever picture data holds its bytes. These questions are answered in turn,
// once everything before them was processed, with header-framed answers no flood of status
// bytes can form.
struct Confirmation
{
    enum class Question {
        None,      // the printer answers neither: a job can only be sent, not confirmed
        ProcessId, // GS ( H fn 48: the answer repeats an ID chosen for the job
        Identity,  // GS I 65: the answer repeats the firmware text given before the job
        Answered,  // an in-order answer after the job's last byte came already (a key list)
    };
    Question question = Question::None;
    QByteArray probeId; // the ID the probe asked with, never a job's
    QString firmware;   // for Identity
};

struct ConfirmationProbe
{
    StepResult step; // Failed or Stopped when the link failed or the host stopped the wait
    Confirmation confirmation;
};

// Asked before the job: GS ( H fn 48, else GS I 65, each answer within `wait`.
ConfirmationProbe probeConfirmation(Transmitter &transmitter, std::chrono::milliseconds wait);

struct Delivery
{
    StepResult step;        // Failed when the printer did not show that it has the job
    bool confirmed = false; // false: sent, and the printer cannot confirm it
};

// Whether the printer has every byte of a job that has gone out. A printer that answered the
// status questions is asked its in-order question and given the completion limit to answer; one
// that has none is asked its status, and only a ready answer lets the job count as sent. Any
// other printer is waited for where the link can tell that it read the stream to its end (a
// network printer's close).
Delivery confirmDelivery(Transmitter &transmitter, bool printerAnswered,
                         const Confirmation &confirmation, const TransferLimits &limits);

// GS ( H fn 48 with a four-character ID.
QByteArray processIdQuestion(const QByteArray &id);
