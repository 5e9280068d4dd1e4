#include "DeliveryCheck.h"

#include "IdentityInquiry.h"
#include "InOrderAnswerScanner.h"
#include "PrinterIdentity.h"
#include "StatusInquiry.h"
#include "TransferTexts.h"

#include <QRandomGenerator>

namespace {

constexpr char ProcessIdHeader[] = {0x37, 0x22};
constexpr char IdentityHeader = 0x5F;

// Four digits, never the probe's, so a late answer to the probe never confirms a job; digits
// hold no byte of a GS I answer's header.
QByteArray freshId(const QByteArray &avoid)
{
    QByteArray id;
    do {
        id = QByteArray::number(QRandomGenerator::global()->bounded(10000)).rightJustified(4, '0');
    } while (id == avoid);
    return id;
}

InOrderAnswerScanner processIdAnswer(const QByteArray &id)
{
    return {QByteArrayView(ProcessIdHeader, 2),
            [id](QByteArrayView middle) { return middle == id; }};
}

// As IdentityScanner reads the text: cut to what reaches a person, then trimmed.
QString identityText(QByteArrayView middle)
{
    return QString::fromLatin1(middle.first(std::min<qsizetype>(middle.size(), MaxIdentityText)))
        .trimmed();
}

InOrderAnswerScanner identityAnswer(const std::function<bool(const QString &)> &accept)
{
    return {QByteArrayView(&IdentityHeader, 1),
            [accept](QByteArrayView middle) { return accept(identityText(middle)); }};
}

// Asks and waits; nothing when the answer did not come in time.
std::optional<StepResult> askAndRead(Transmitter &transmitter, const QByteArray &question,
                                     AnswerScanner &scanner, QDeadlineTimer deadline, bool &found)
{
    found = false;
    if (StepResult asked = transmitter.ask(question); !asked.ok())
        return asked;
    const Answer answer = transmitter.readAnswer(scanner, deadline);
    if (!answer.step.ok())
        return answer.step;
    found = answer.complete;
    return std::nullopt;
}

StepResult failed(const QString &error)
{
    return {StepStatus::Failed, error};
}

// Why a printer that answered before the job shows no sign of having it: what it says now.
QString statusNow(Transmitter &transmitter, const TransferLimits &limits)
{
    const StatusReply reply = inquireStatus(transmitter, limits);
    if (reply.outcome != StatusReply::Outcome::Answered)
        return TransferTexts::noStatusAfterJob();
    return reply.status.ready() ? QString() : TransferTexts::printerNowReports(reply.status);
}

} // namespace

QByteArray processIdQuestion(const QByteArray &id)
{
    return QByteArray::fromHex("1D28480600 3030") + id;
}

ConfirmationProbe probeConfirmation(Transmitter &transmitter, std::chrono::milliseconds wait)
{
    ConfirmationProbe probe;
    Confirmation &confirmation = probe.confirmation;
    confirmation.probeId = freshId({});
    InOrderAnswerScanner processId = processIdAnswer(confirmation.probeId);
    bool found = false;
    if (auto step = askAndRead(transmitter, processIdQuestion(confirmation.probeId), processId,
                               QDeadlineTimer(wait), found)) {
        probe.step = *step;
        return probe;
    }
    if (found) {
        confirmation.question = Confirmation::Question::ProcessId;
        return probe;
    }
    InOrderAnswerScanner firmware = identityAnswer([&confirmation](const QString &text) {
        confirmation.firmware = text;
        return true;
    });
    if (auto step = askAndRead(transmitter, identityQuestion(IdentityItem::Firmware), firmware,
                               QDeadlineTimer(wait), found)) {
        probe.step = *step;
        return probe;
    }
    if (found)
        confirmation.question = Confirmation::Question::Identity;
    return probe;
}

Delivery confirmDelivery(Transmitter &transmitter, bool printerAnswered,
                         const Confirmation &confirmation, const TransferLimits &limits)
{
    if (!printerAnswered)
        return {transmitter.awaitReadToEnd(), true};
    if (confirmation.question == Confirmation::Question::Answered)
        return {{}, true};
    if (confirmation.question == Confirmation::Question::None) {
        const QString now = statusNow(transmitter, limits);
        return {now.isEmpty() ? StepResult{} : failed(TransferTexts::sentNotReady(now)), false};
    }
    const bool byId = confirmation.question == Confirmation::Question::ProcessId;
    const QByteArray id = freshId(confirmation.probeId);
    InOrderAnswerScanner scanner =
        byId ? processIdAnswer(id) : identityAnswer([&confirmation](const QString &text) {
            return text == confirmation.firmware;
        });
    const QByteArray question =
        byId ? processIdQuestion(id) : identityQuestion(IdentityItem::Firmware);
    bool found = false;
    if (auto step =
            askAndRead(transmitter, question, scanner, QDeadlineTimer(limits.completion), found))
        return {*step, false};
    if (found)
        return {{}, true};
    return {failed(TransferTexts::deliveryNotConfirmed(limits.completion,
                                                       statusNow(transmitter, limits))),
            false};
}
