#include "GraphicsStoreInquiry.h"

#include "GraphicsCommands.h"

namespace {

// A question the printer may answer; a one-way link gets it paced like the job's own bytes.
StepResult ask(Transmitter &transmitter, const QByteArray &question)
{
    return transmitter.hearsAnswers() ? transmitter.ask(question) : transmitter.SendBytes(question);
}

} // namespace

GraphicsStoreReply askStoreFigure(Transmitter &transmitter, StoreFigure figure,
                                  std::chrono::milliseconds wait)
{
    const QByteArray question =
        figure == StoreFigure::Capacity ? askGraphicsCapacity() : askGraphicsRemaining();
    if (StepResult asked = ask(transmitter, question); !asked.ok())
        return {asked, {}, {}};
    if (!transmitter.hearsAnswers())
        return {};
    const Answer answer = transmitter.readAnswer(
        [figure](const QByteArray &bytes) { return findStoreFigure(bytes, figure).has_value(); },
        QDeadlineTimer(wait));
    if (!answer.step.ok())
        return {answer.step, {}, {}};
    return {{}, findStoreFigure(answer.bytes, figure), {}};
}

GraphicsStoreReply askStoredKeys(Transmitter &transmitter, std::chrono::milliseconds firstWait,
                                 std::chrono::milliseconds nextWait)
{
    QByteArray question = askGraphicKeys();
    std::chrono::milliseconds wait = firstWait;
    QList<QByteArray> keys;
    for (;;) {
        if (StepResult asked = ask(transmitter, question); !asked.ok())
            return {asked, {}, {}};
        if (!transmitter.hearsAnswers())
            return {};
        const Answer answer = transmitter.readAnswer(
            [](const QByteArray &bytes) { return findKeyListBlock(bytes).has_value(); },
            QDeadlineTimer(wait));
        if (!answer.step.ok())
            return {answer.step, {}, {}};
        const std::optional<KeyListBlock> block = findKeyListBlock(answer.bytes);
        // A list that breaks off tells nothing sure about the keys it did not reach.
        if (!block)
            return {};
        keys += block->keys;
        if (!block->more)
            return {{}, {}, keys};
        question = QByteArray(1, NextKeyBlockRequest);
        wait = nextWait;
    }
}
