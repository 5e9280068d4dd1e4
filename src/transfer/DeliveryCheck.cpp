#include "DeliveryCheck.h"

#include "StatusScanner.h"
#include "TransferTexts.h"

namespace {

const QByteArray PrinterStatusQuestion("\x10\x04\x01", 3); // DLE EOT 1

} // namespace

StepResult confirmDelivery(Transmitter &transmitter, bool printerAnswers)
{
    if (!printerAnswers)
        return transmitter.awaitReadToEnd();
    if (StepResult asked = transmitter.ask(PrinterStatusQuestion); !asked.ok())
        return asked;
    StatusScanner answer(1);
    const std::chrono::milliseconds limit = transmitter.limits().completion;
    const Answer answered = transmitter.readAnswer(answer, QDeadlineTimer(limit));
    if (!answered.step.ok())
        return answered.step;
    if (!answered.complete)
        return {StepStatus::Failed, TransferTexts::deliveryNotConfirmed(limit)};
    return {};
}
