#include "StatusInquiry.h"

#include "StatusScanner.h"

namespace {

constexpr qsizetype AnswerCount = 3;

StatusReply failed(const StepResult &step)
{
    return {StatusReply::Outcome::Failed, {}, step, 0};
}

} // namespace

StatusReply inquireStatus(Transmitter &transmitter, std::chrono::milliseconds firstAnswer)
{
    if (!transmitter.hearsAnswers())
        return {};
    const QDeadlineTimer firstDeadline(firstAnswer);
    if (StepResult asked = transmitter.ask(statusQuestions()); !asked.ok())
        return failed(asked);
    StatusScanner scanner(AnswerCount);
    const Answer first = transmitter.readAnswer(scanner, firstDeadline);
    if (!first.step.ok())
        return failed(first.step);
    if (scanner.answers().isEmpty()) {
        const auto outcome =
            scanner.received() > 0 ? StatusReply::Outcome::Garbled : StatusReply::Outcome::Silent;
        return {outcome, {}, {}, scanner.received()};
    }
    // A printer that answers sends the rest at once; a partial answer still tells something.
    if (!first.complete) {
        if (const Answer rest = transmitter.readAnswer(scanner, QDeadlineTimer(firstAnswer));
            !rest.step.ok())
            return failed(rest.step);
    }
    PrinterStatus status = *decodeStatus(scanner.answers());

    if (status.error) {
        if (StepResult asked = transmitter.ask(errorQuestion()); !asked.ok())
            return failed(asked);
        StatusScanner cause(1);
        if (const Answer answer = transmitter.readAnswer(cause, QDeadlineTimer(firstAnswer));
            !answer.step.ok())
            return failed(answer.step);
        if (cause.done())
            addErrorCause(status, cause.answers().front());
    }
    return {StatusReply::Outcome::Answered, status, {}, 0};
}
