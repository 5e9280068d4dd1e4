#pragma once

#include "PrinterIdentity.h"
#include "Transmitter.h"

#include <QByteArray>

#include <chrono>

// GS I n: asks for one item of the printer's identity.
enum class IdentityItem : char { Firmware = 65, Maker = 66, Model = 67, SerialNumber = 68 };
QByteArray identityQuestion(IdentityItem item);

struct IdentityReply
{
    StepResult step; // Failed or Stopped when the link failed or the host stopped the wait
    PrinterIdentity identity;
};

// Asks a printer that answered the status questions who it is, one item at a time, waiting up to
// `wait` for each answer. One that leaves the first question unanswered does not know GS I and is
// asked no more. One that answered and then leaves an item unanswered fails the inquiry: its late
// answer could not be told from the next item's.
IdentityReply inquireIdentity(Transmitter &transmitter, std::chrono::milliseconds wait);
