#include "DeliveryCheck.h"

#include "PrinterStatus.h"
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
    // Whatever else the printer says meanwhile is passed over, each byte looked at once.
    qsizetype scanned = 0;
    const auto answered = [&scanned](const QByteArray &bytes) {
        for (; scanned < bytes.size(); ++scanned) {
            if (isStatusAnswer(bytes[scanned]))
                return true;
        }
        return false;
    };
    const std::chrono::milliseconds limit = transmitter.limits().completion;
    const Answer answer = transmitter.readAnswer(answered, QDeadlineTimer(limit));
    if (!answer.step.ok())
        return answer.step;
    if (!answer.complete)
        return {StepStatus::Failed, TransferTexts::deliveryNotConfirmed(limit)};
    return {};
}
