#include "DeliveryCheck.h"

#include "PrinterStatus.h"
#include "StatusScanner.h"
#include "TransferTexts.h"

StepResult confirmDelivery(Transmitter &transmitter, bool printerAnswers)
{
    if (!printerAnswers)
        return transmitter.awaitReadToEnd();
    if (StepResult asked = transmitter.ask(printerStatusQuestion()); !asked.ok())
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
