#include "IdentityInquiry.h"

#include "IdentityScanner.h"
#include "TransferTexts.h"

#include <array>
#include <utility>

namespace {

struct AskedItem
{
    IdentityItem item;
    QString PrinterIdentity::*field;
};

constexpr std::array<AskedItem, 4> AskedItems{{
    {IdentityItem::Firmware, &PrinterIdentity::firmware},
    {IdentityItem::Maker, &PrinterIdentity::maker},
    {IdentityItem::Model, &PrinterIdentity::model},
    {IdentityItem::SerialNumber, &PrinterIdentity::serialNumber},
}};

} // namespace

QByteArray identityQuestion(IdentityItem item)
{
    return QByteArray("\x1D\x49", 2) + char(item);
}

IdentityReply inquireIdentity(Transmitter &transmitter, std::chrono::milliseconds wait)
{
    IdentityReply reply;
    if (!transmitter.hearsAnswers())
        return reply;
    for (const AskedItem &asked : AskedItems) {
        if (StepResult sent = transmitter.ask(identityQuestion(asked.item)); !sent.ok())
            return {sent, reply.identity};
        IdentityScanner scanner;
        const Answer answer = transmitter.readAnswer(scanner, QDeadlineTimer(wait));
        if (!answer.step.ok())
            return {answer.step, reply.identity};
        if (!answer.complete && asked.item == AskedItems.front().item)
            return reply;
        if (!answer.complete) {
            const StepResult late{StepStatus::Failed,
                                  TransferTexts::lateIdentityAnswer(int(asked.item), wait)};
            return {late, reply.identity};
        }
        // A malformed answer still shows that the printer knows GS I.
        if (!scanner.found())
            continue;
        reply.identity.*asked.field = *scanner.text();
    }
    return reply;
}
