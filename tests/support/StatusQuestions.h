#pragma once

#include <QByteArray>

// DLE EOT 1, 2 and 4: what every job on a link that can answer sends before its own bytes.
inline const QByteArray StatusQuestions = QByteArray::fromHex("100401100402100404");
// DLE EOT 1 once more after the job, to a printer that answered: it confirms delivery.
inline const QByteArray DeliveryQuestion = QByteArray::fromHex("100401");
// GS I 65 to 68: what orvane status, and each job of a fleet, asks a printer that answered.
inline const QByteArray IdentityQuestions = QByteArray::fromHex("1D4941 1D4942 1D4943 1D4944");
