#include "TransferOperations.h"

#include "DeliveryCheck.h"
#include "GraphicsCommands.h"
#include "IdentityInquiry.h"
#include "PictureConversion.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "PrinterLink.h"
#include "StatusInquiry.h"
#include "TransferHost.h"
#include "TransferTexts.h"

TransferOperations::TransferOperations(PortLink &link, TransferHost &host, TransferLimits limits)
    : m_link(link)
    , m_host(host)
    , m_limits(limits)
    , m_transmitter(link, host, limits)
{
    m_link.setStopCheck([&host] { return host.stopRequested(); });
}

TransferResult TransferOperations::upload(const QList<ListedPicture> &listed,
                                          const QString &portText, const QString &rateText,
                                          NvCommandSet set)
{
    startJob();
    if (listed.isEmpty())
        return refuse(TransferTexts::noPictures());
    if (listed.size() > MaxUploadPictures)
        return refuse(TransferTexts::tooManyPictures(listed.size()));
    // Every picture is converted before the link opens, so a bad file never leaves the
    // printer with half an image set.
    const ConvertedPictures pictures = convertPictures(listed, m_host);
    if (pictures.stopped)
        return {TransferOutcome::Failed, TransferTexts::Stopped, true};
    if (!pictures.error.isEmpty())
        return refuse(pictures.error);
    return upload(listed, pictures, portText, rateText, set);
}

TransferResult TransferOperations::upload(const QList<ListedPicture> &listed,
                                          const ConvertedPictures &pictures,
                                          const QString &portText, const QString &rateText,
                                          NvCommandSet set)
{
    startJob();
    if (set == NvCommandSet::Graphics)
        return uploadGraphics(listed, pictures, portText, rateText);
    const std::optional<QByteArray> header = uploadHeader(int(pictures.records.size()));
    if (!header)
        return refuse(TransferTexts::tooManyPictures(pictures.records.size()));

    if (!m_link.OpenPort(portText, rateText))
        return notOpened();
    m_host.showMessage(TransferTexts::ResetPrompt, TransferTexts::ResetTitle,
                       TransferHost::MessageKind::Prompt);
    // Asked after the reset, so the answer tells how the printer is now.
    if (const Readiness ready = checkReady(portText); ready.refused)
        return *ready.refused;
    m_ifStopped = TransferTexts::StoppedInUpload;
    if (StepResult sent = m_transmitter.SendBytes(*header); !sent.ok())
        return fail(sent, portText);
    if (StepResult sent = sendPictures(pictures.records); !sent.ok())
        return fail(sent, portText);
    m_host.setStatus(TransferTexts::Writing);
    return finish(portText);
}

TransferResult TransferOperations::erase(const QString &portText, const QString &rateText,
                                         NvCommandSet set)
{
    startJob();
    if (!m_link.OpenPort(portText, rateText))
        return notOpened();
    m_host.setStatus(TransferTexts::Processing);
    if (const Readiness ready = checkReady(portText); ready.refused)
        return *ready.refused;
    m_ifStopped = TransferTexts::StoppedInJob;
    const bool graphics = set == NvCommandSet::Graphics;
    if (StepResult sent = m_transmitter.SendBytes(graphics ? deleteAllGraphics() : eraseCommand());
        !sent.ok())
        return fail(sent, portText);
    return graphics ? closeWithDone(portText, TransferTexts::Done) : finish(portText);
}

TransferResult TransferOperations::print(const QString &portText, const QString &rateText,
                                         NvCommandSet set)
{
    startJob();
    if (set == NvCommandSet::Graphics)
        return printGraphics(portText, rateText);
    if (!m_link.OpenPort(portText, rateText))
        return notOpened();
    if (const Readiness ready = checkReady(portText); ready.refused)
        return *ready.refused;
    m_ifStopped = TransferTexts::StoppedInJob;
    for (int image = 1; image <= MaxUploadPictures; ++image) {
        if (StepResult sent = m_transmitter.SendBytes(printCommand(quint8(image))); !sent.ok())
            return fail(sent, portText);
    }
    return closePrint(portText);
}

StatusReport TransferOperations::status(const QString &portText, const QString &rateText,
                                        bool askAboutStore)
{
    startJob();
    if (!m_link.OpenPort(portText, rateText)) {
        if (m_host.stopRequested())
            return {TransferOutcome::Failed, {}, TransferTexts::StoppedBeforeJob, {}, {}};
        return {TransferOutcome::NotOpened, {}, {}, {}, {}};
    }
    const bool answers = m_transmitter.hearsAnswers();
    const StatusReply reply = inquireStatus(m_transmitter, m_limits);
    QString failure = inquiryFailure(reply, false).error;
    // A printer that cannot print does not carry out the questions about its store either.
    const bool ready = reply.outcome == StatusReply::Outcome::Answered && reply.status.ready();
    // Whatever the identity questions meet, the graphics questions meet it again.
    const IdentityReply identity =
        ready ? inquireIdentity(m_transmitter, m_limits.graphicsAnswer) : IdentityReply();
    const bool identified = identity.step.ok();
    const GraphicsStoreStatus graphics =
        ready && identified && askAboutStore ? graphicsStatus() : GraphicsStoreStatus();
    m_link.ClosePort(portText);
    if (!identified)
        failure = identity.step.error;
    switch (reply.outcome) {
    case StatusReply::Outcome::Answered:
        if (!identified)
            break;
        m_facts.status = reply.status;
        m_facts.identity = identity.identity;
        return {TransferOutcome::Succeeded, reply.status, {}, graphics, identity.identity};
    case StatusReply::Outcome::Silent:
        return {TransferOutcome::Failed,
                {},
                answers ? TransferTexts::noAnswer(m_limits.firstAnswer)
                        : TransferTexts::linkCarriesNoAnswers(),
                {},
                {}};
    case StatusReply::Outcome::Garbled:
    case StatusReply::Outcome::Late:
    case StatusReply::Outcome::Flooded:
    case StatusReply::Outcome::Failed:
        break;
    }
    return {TransferOutcome::Failed, {}, failure, {}, {}};
}

StepResult TransferOperations::sendPictures(const QList<QByteArray> &pictures)
{
    for (int row = 0; row < pictures.size(); ++row) {
        m_host.selectImageRow(row);
        if (StepResult sent = m_transmitter.SendBytes(pictures[row]); !sent.ok())
            return sent;
    }
    return {};
}

void TransferOperations::startJob()
{
    m_facts = {};
    m_ifStopped.clear();
}

TransferResult TransferOperations::refuse(const QString &message)
{
    m_host.showMessage(message, TransferTexts::RefusedTitle, TransferHost::MessageKind::Error);
    return {TransferOutcome::Refused, message};
}

TransferOperations::Readiness TransferOperations::checkReady(const QString &portText)
{
    const StatusReply reply = inquireStatus(m_transmitter, m_limits);
    m_printerAnswered = reply.outcome == StatusReply::Outcome::Answered;
    m_confirmation = {};
    m_confirmed = true;
    switch (reply.outcome) {
    case StatusReply::Outcome::Silent:
        return {};
    case StatusReply::Outcome::Garbled:
    case StatusReply::Outcome::Late:
    case StatusReply::Outcome::Flooded:
    case StatusReply::Outcome::Failed:
        return {fail(inquiryFailure(reply, true), portText)};
    case StatusReply::Outcome::Answered:
        break;
    }
    m_facts.status = reply.status;
    if (!reply.status.ready())
        return {fail({StepStatus::Failed, TransferTexts::printerCannotTakeJob(reply.status)},
                     portText)};
    if (m_identityWanted) {
        const IdentityReply identity = inquireIdentity(m_transmitter, m_limits.graphicsAnswer);
        if (!identity.step.ok())
            return {fail(identity.step, portText)};
        m_facts.identity = identity.identity;
    }
    const ConfirmationProbe probe = probeConfirmation(m_transmitter, m_limits.nextAnswer);
    if (!probe.step.ok())
        return {fail(probe.step, portText)};
    m_confirmation = probe.confirmation;
    if (reply.status.paperNearEnd)
        m_host.showMessage(TransferTexts::paperNearEnd(), TransferTexts::WarningTitle,
                           TransferHost::MessageKind::Warning);
    return {std::nullopt, true};
}

// A printer that serves one connection at a time drops the next one at once.
StepResult TransferOperations::inquiryFailure(const StatusReply &reply, bool job) const
{
    switch (reply.outcome) {
    case StatusReply::Outcome::Garbled:
        return {StepStatus::Failed,
                TransferTexts::noStatusAnswer(reply.received, m_limits.firstAnswer, job)};
    case StatusReply::Outcome::Late:
        return {StepStatus::Failed,
                TransferTexts::lateStatusAnswer(reply.question, m_limits.nextAnswer, job)};
    case StatusReply::Outcome::Flooded:
        return {StepStatus::Failed, TransferTexts::unaskedStatusBytes(reply.received, job)};
    default:
        break;
    }
    const StepResult &step = reply.step;
    if (step.status == StepStatus::Failed && m_link.link()->closedByPrinter())
        return {StepStatus::Failed, TransferTexts::printerBusy(m_link.link()->errorText(), job)};
    return step;
}

// The operator hears "Done!!" only once the link has closed without losing a byte.
TransferResult TransferOperations::finish(const QString &portText)
{
    if (StepResult finished = m_transmitter.FinishTransfer(); !finished.ok())
        return fail(finished, portText);
    return closeWithDone(portText, TransferTexts::Done);
}

TransferResult TransferOperations::closeWithDone(const QString &portText, const QString &done)
{
    if (TransferResult closed = close(portText); closed.outcome != TransferOutcome::Succeeded)
        return closed;
    m_host.showMessage(m_confirmed ? done : TransferTexts::sentNotConfirmed(),
                       TransferTexts::DoneTitle, TransferHost::MessageKind::Notice);
    m_host.setStatus(TransferTexts::Success);
    return {TransferOutcome::Succeeded,
            m_confirmed ? QString() : TransferTexts::sentNotConfirmed()};
}

// The printer takes what is still queued before the link closes, and shows it has the job where
// it can; bytes the link had to drop fail the job.
TransferResult TransferOperations::close(const QString &portText)
{
    if (StepResult drained = m_transmitter.drain(); !drained.ok())
        return fail(drained, portText);
    const Delivery delivery =
        confirmDelivery(m_transmitter, m_printerAnswered, m_confirmation, m_limits);
    if (!delivery.step.ok())
        return fail(delivery.step, portText);
    m_confirmed = delivery.confirmed;
    m_facts.confirmed = delivery.confirmed;
    m_link.ClosePort(portText);
    if (!m_link.closedLinkFailed())
        return {TransferOutcome::Succeeded, {}};
    const QString error = TransferTexts::writeFailed(m_link.errorText());
    m_host.setStatus(TransferTexts::Failed);
    showFailure(error);
    return {TransferOutcome::Failed, error};
}

// A print says nothing once the printer confirmed it; where it cannot, that it was sent.
TransferResult TransferOperations::closePrint(const QString &portText)
{
    TransferResult closed = close(portText);
    if (closed.outcome == TransferOutcome::Succeeded && !m_confirmed) {
        closed.message = TransferTexts::sentNotConfirmed();
        m_host.showMessage(closed.message, TransferTexts::DoneTitle,
                           TransferHost::MessageKind::Notice);
    }
    return closed;
}

// A stop ends a network link's wait to connect: that is a stop, not a fault of the port.
TransferResult TransferOperations::notOpened() const
{
    if (m_host.stopRequested())
        return {TransferOutcome::Failed, TransferTexts::StoppedBeforeJob, true};
    return {TransferOutcome::NotOpened, {}};
}

// The link is closed before the operator is told, so a stuck port is released while the
// message waits. A stop (the window closing) is not worth a message box.
TransferResult TransferOperations::fail(const StepResult &step, const QString &portText)
{
    m_host.setStatus(TransferTexts::Failed);
    m_link.ClosePort(portText);
    if (step.status == StepStatus::Failed)
        showFailure(step.error);
    if (step.status != StepStatus::Stopped)
        return {TransferOutcome::Failed, step.error};
    // A stop that knows where the job stays (a print queue) says so. Otherwise "before it
    // finished" would hide that the printer may already hold the job.
    if (step.error != TransferTexts::Stopped)
        return {TransferOutcome::Failed, step.error, true};
    return {TransferOutcome::Failed,
            m_ifStopped.isEmpty() ? TransferTexts::StoppedBeforeJob : m_ifStopped, true};
}

void TransferOperations::showFailure(const QString &error)
{
    m_host.showMessage(error, TransferTexts::FailedTitle, TransferHost::MessageKind::Error);
}
