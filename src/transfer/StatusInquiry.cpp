#include "StatusInquiry.h"

#include "StatusScanner.h"

#include <QList>

#include <iterator>
#include <optional>

namespace {

StatusReply failed(const StepResult &step)
{
    return {StatusReply::Outcome::Failed, {}, step, 0, 0};
}

} // namespace

StatusReply inquireStatus(Transmitter &transmitter, const TransferLimits &limits)
{
    if (!transmitter.hearsAnswers())
        return {};
    QList<int> questions(std::begin(AskedStatus), std::end(AskedStatus));
    QByteArray answers;
    std::optional<StatusScanner> previous;
    qint64 unasked = 0;
    for (qsizetype i = 0; i < questions.size(); ++i) {
        // Counted from before the question leaves, so a silent printer costs at most firstAnswer.
        const QDeadlineTimer deadline(i == 0 ? limits.firstAnswer : limits.nextAnswer);
        if (StepResult asked = transmitter.ask(statusQuestion(questions[i])); !asked.ok())
            return failed(asked);
        // What the question's ask dropped came after the previous answer.
        if (previous) {
            previous->feed(transmitter.dropped());
            unasked += previous->unasked();
        }
        StatusScanner scanner(1);
        const Answer answer = transmitter.readAnswer(scanner, deadline);
        if (!answer.step.ok())
            return failed(answer.step);
        if (!answer.complete && i == 0) {
            const auto outcome = scanner.received() > 0 ? StatusReply::Outcome::Garbled
                                                        : StatusReply::Outcome::Silent;
            return {outcome, {}, {}, scanner.received(), 0};
        }
        if (!answer.complete)
            return {StatusReply::Outcome::Late, {}, {}, 0, questions[i]};
        answers += scanner.answers();
        if (answers.size() == qsizetype(std::size(AskedStatus)) && decodeStatus(answers)->error)
            questions << ErrorCauseQuestion;
        previous = scanner;
    }
    unasked += previous->unasked();
    if (unasked > 0)
        return {StatusReply::Outcome::Flooded, {}, {}, unasked, 0};
    const qsizetype asked = std::size(AskedStatus);
    PrinterStatus status = *decodeStatus(answers.first(asked));
    if (answers.size() > asked)
        addErrorCause(status, answers.back());
    return {StatusReply::Outcome::Answered, status, {}, 0, 0};
}
