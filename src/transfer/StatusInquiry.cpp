#include "StatusInquiry.h"

namespace {

constexpr qsizetype AnswerCount = 3;

StatusReply failed(const StepResult &step)
{
    return {StatusReply::Outcome::Failed, {}, step};
}

} // namespace

StatusReply inquireStatus(Transmitter &transmitter, std::chrono::milliseconds firstAnswer)
{
    if (!transmitter.hearsAnswers())
        return {};
    const QDeadlineTimer firstDeadline(firstAnswer);
    if (StepResult asked = transmitter.ask(statusQuestions()); !asked.ok())
        return failed(asked);
    const Answer first = transmitter.readAnswer(
        [](const QByteArray &bytes) { return !bytes.isEmpty(); }, firstDeadline);
    if (!first.step.ok())
        return failed(first.step);
    if (!first.complete)
        return {};

    // A printer that answers sends the rest at once; a partial answer still tells something.
    const Answer rest = transmitter.readAnswer(
        [&first](const QByteArray &bytes) {
            return first.bytes.size() + bytes.size() >= AnswerCount;
        },
        QDeadlineTimer(firstAnswer));
    if (!rest.step.ok())
        return failed(rest.step);
    const QByteArray answers =
        (first.bytes + rest.bytes)
            .first(std::min(AnswerCount, first.bytes.size() + rest.bytes.size()));
    std::optional<PrinterStatus> status = decodeStatus(answers);
    // Bytes that are no status answer come from something else on the line.
    if (!status)
        return {};

    if (status->error) {
        if (StepResult asked = transmitter.ask(errorQuestion()); !asked.ok())
            return failed(asked);
        const Answer cause = transmitter.readAnswer(
            [](const QByteArray &bytes) { return !bytes.isEmpty(); }, QDeadlineTimer(firstAnswer));
        if (!cause.step.ok())
            return failed(cause.step);
        if (cause.complete)
            addErrorCause(*status, cause.bytes.front());
    }
    return {StatusReply::Outcome::Answered, *status, {}};
}
