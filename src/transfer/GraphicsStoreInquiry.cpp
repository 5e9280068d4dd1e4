#include "GraphicsStoreInquiry.h"

#include "GraphicsCommands.h"

#include <algorithm>

namespace {

GraphicsStoreReply stepFailed(const StepResult &step)
{
    return {step, StoreAnswer::None, {}, {}, {}, 0};
}

// waited: the wait that ran out; keysBefore: those of the blocks that came whole.
GraphicsStoreReply unanswered(StoreAnswer answer, std::chrono::milliseconds waited = {},
                              qsizetype keysBefore = 0)
{
    return {{}, answer, {}, {}, waited, int(keysBefore)};
}

StoreAnswer brokenAnswer(const KeyListScanner &scanner)
{
    return scanner.tooLong() ? StoreAnswer::TooLong : StoreAnswer::Malformed;
}

} // namespace

namespace {

// One question and its answer; ambiguous: the digits hold the answer's own header.
GraphicsStoreReply askStoreFigureOnce(Transmitter &transmitter, StoreFigure figure,
                                      std::chrono::milliseconds wait, bool &ambiguous)
{
    const QByteArray question =
        figure == StoreFigure::Capacity ? askGraphicsCapacity() : askGraphicsRemaining();
    if (StepResult asked = transmitter.ask(question); !asked.ok())
        return stepFailed(asked);
    StoreFigureScanner scanner(figure);
    const Answer answer = transmitter.readAnswer(scanner, QDeadlineTimer(wait));
    if (!answer.step.ok())
        return stepFailed(answer.step);
    if (!answer.complete && !scanner.begun())
        return unanswered(StoreAnswer::None, wait);
    // An answer begun and not ended in time is as broken as one ended wrongly.
    if (!scanner.found())
        return unanswered(StoreAnswer::Malformed);
    ambiguous = scanner.ambiguous();
    return {{}, StoreAnswer::Answered, scanner.figure(), {}, {}, 0};
}

} // namespace

GraphicsStoreReply askStoreFigure(Transmitter &transmitter, StoreFigure figure,
                                  std::chrono::milliseconds wait)
{
    bool ambiguous = false;
    const GraphicsStoreReply first = askStoreFigureOnce(transmitter, figure, wait, ambiguous);
    if (!ambiguous)
        return first;
    // A whole answer after a cut one comes alone when asked again; a figure that merely holds
    // the header comes the same twice.
    bool againAmbiguous = false;
    const GraphicsStoreReply again = askStoreFigureOnce(transmitter, figure, wait, againAmbiguous);
    if (again.answer == StoreAnswer::Answered && againAmbiguous && again.figure != first.figure)
        return unanswered(StoreAnswer::Malformed);
    return again;
}

GraphicsStoreReply askStoredKeys(Transmitter &transmitter, std::chrono::milliseconds firstWait,
                                 std::chrono::milliseconds wholeList)
{
    if (StepResult asked = transmitter.ask(askGraphicKeys()); !asked.ok())
        return stepFailed(asked);
    const QDeadlineTimer first(firstWait);
    const QDeadlineTimer whole(wholeList);
    KeyListScanner scanner;
    QList<QByteArray> keys;
    bool firstBlock = true;
    for (;;) {
        // A printer that has begun its list sends each further block as fast as the first.
        const QDeadlineTimer nextBlock(firstWait);
        const QDeadlineTimer deadline = firstBlock ? first : std::min(whole, nextBlock);
        const Answer answer = transmitter.readAnswer(scanner, deadline);
        if (!answer.step.ok() || !answer.complete || scanner.malformed()) {
            // The link may be gone; what counts then is the failure, not the cancel.
            (void)transmitter.ask(QByteArray(1, KeyListCancel));
            if (!answer.step.ok())
                return stepFailed(answer.step);
            if (scanner.malformed())
                return unanswered(brokenAnswer(scanner), {}, keys.size());
            if (firstBlock && !scanner.begun())
                return unanswered(StoreAnswer::None, firstWait);
            return unanswered(StoreAnswer::BrokenOff, whole.hasExpired() ? wholeList : firstWait,
                              keys.size());
        }
        keys += scanner.blockKeys();
        if (StepResult acked = transmitter.ask(QByteArray(1, KeyListAck)); !acked.ok())
            return stepFailed(acked);
        if (!scanner.more())
            return {{}, StoreAnswer::Answered, {}, keys, {}, 0};
        scanner.nextBlock();
        firstBlock = false;
    }
}
