#include "IdentityInquiry.h"

#include "IdentityScanner.h"

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
        qsizetype scanned = 0;
        const Answer answer = transmitter.readAnswer(
            [&](const QByteArray &bytes) {
                scanner.feed(QByteArrayView(bytes).sliced(scanned));
                scanned = bytes.size();
                return scanner.text().has_value();
            },
            QDeadlineTimer(wait));
        if (!answer.step.ok())
            return {answer.step, reply.identity};
        if (!answer.complete) {
            if (asked.item == AskedItems.front().item)
                return reply;
            continue;
        }
        reply.identity.*asked.field = *scanner.text();
    }
    return reply;
}
