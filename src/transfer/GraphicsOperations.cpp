#include "TransferOperations.h"

#include "GraphicDots.h"
#include "GraphicsCommands.h"
#include "GraphicsStoreInquiry.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "TransferHost.h"
#include "TransferTexts.h"

namespace {

struct GraphicsSet
{
    QList<QByteArray> defines; // one per picture, in list order
    qint64 dataBytes = 0;      // of dots, as the printer's store counts them
    QString error;             // why a picture cannot be an NV graphic
};

// The dots of each converted picture, defined under the key of its place in the list.
GraphicsSet defineGraphics(const QList<ListedPicture> &listed, const ConvertedPictures &pictures)
{
    GraphicsSet set;
    for (int row = 0; row < pictures.records.size(); ++row) {
        const modBitmap::RasterExtent extent = pictures.extents[row];
        const std::optional<QByteArray> dots =
            modBitmap::graphicDots(pictures.records[row], extent);
        std::optional<QByteArray> define;
        if (dots)
            define = defineGraphic(graphicKey(row + 1), extent.X * 8, extent.Y * 8, *dots);
        if (!define) {
            set.error =
                TransferTexts::pictureNotAGraphic(listed[row].path, extent.X * 8, extent.Y * 8);
            return set;
        }
        set.dataBytes += dots->size();
        set.defines.append(*define);
    }
    return set;
}

} // namespace

TransferResult TransferOperations::uploadGraphics(const QList<ListedPicture> &listed,
                                                  const ConvertedPictures &pictures,
                                                  const QString &portText, const QString &rateText)
{
    if (pictures.records.size() > MaxUploadPictures)
        return refuse(TransferTexts::tooManyPictures(pictures.records.size()));
    // As for bit images, every picture is ready before the link opens.
    const GraphicsSet graphics = defineGraphics(listed, pictures);
    if (!graphics.error.isEmpty())
        return refuse(graphics.error);

    if (!m_link.OpenPort(portText, rateText))
        return notOpened();
    const Readiness ready = checkReady(portText);
    if (ready.refused)
        return *ready.refused;
    const int count = int(graphics.defines.size());
    if (ready.answered) {
        if (std::optional<StepResult> unfit = checkRoom(graphics.dataBytes, count))
            return fail(*unfit, portText);
    } else if (!m_host.confirm(TransferTexts::deleteAllQuestion(count),
                               TransferTexts::DeleteTitle)) {
        return fail({StepStatus::Failed, TransferTexts::deleteAllNotConfirmed()}, portText);
    }

    m_ifStopped = TransferTexts::StoppedInGraphicsUpload;
    if (StepResult sent = m_transmitter.SendBytes(deleteAllGraphics()); !sent.ok())
        return fail(sent, portText);
    if (StepResult sent = sendPictures(graphics.defines); !sent.ok()) {
        sent.error += QStringLiteral("\n\n") + TransferTexts::switchOffAndOn();
        return fail(sent, portText);
    }
    m_host.setStatus(TransferTexts::Writing);
    if (!ready.answered)
        return closeWithDone(portText, TransferTexts::NotVerified);
    // The printer lists its keys once it has stored every define before the question.
    const std::chrono::milliseconds wait = m_limits.keyList(count);
    const GraphicsStoreReply stored = askStoredKeys(m_transmitter, wait, wait);
    if (!stored.step.ok())
        return fail(stored.step, portText);
    return reportGraphicsUpload(portText, count, stored);
}

// Stopped here, the printer keeps every graphic it had.
std::optional<StepResult> TransferOperations::checkRoom(qint64 dataBytes, int count)
{
    const GraphicsStoreReply capacity =
        askStoreFigure(m_transmitter, StoreFigure::Capacity, m_limits.graphicsAnswer);
    if (!capacity.step.ok())
        return capacity.step;
    if (!capacity.figure) {
        return StepResult{StepStatus::Failed,
                          TransferTexts::graphicsUnknown(capacity.answer == StoreAnswer::Malformed,
                                                         m_limits.graphicsAnswer)};
    }
    const qint64 needed = dataBytes + GraphicControlBytes * count;
    if (needed > *capacity.figure)
        return StepResult{StepStatus::Failed,
                          TransferTexts::graphicsDoNotFit(needed, *capacity.figure)};
    return std::nullopt;
}

TransferResult TransferOperations::reportGraphicsUpload(const QString &portText, int stored,
                                                        const GraphicsStoreReply &listed)
{
    if (!listed.keys) {
        const QString failure =
            TransferTexts::keyListFailed(listed.answer, listed.waited, listed.keysBefore);
        return fail({StepStatus::Failed, TransferTexts::uploadNotConfirmed(failure)}, portText);
    }
    QStringList missing;
    m_facts.verifiedKeys.emplace();
    for (int picture = 1; picture <= stored; ++picture) {
        if (listed.keys->contains(graphicKey(picture)))
            m_facts.verifiedKeys->append(graphicKey(picture));
        else
            missing << QString::fromLatin1(graphicKey(picture));
    }
    if (!missing.isEmpty()) {
        return fail({StepStatus::Failed, TransferTexts::graphicsMissing(missing, stored)},
                    portText);
    }
    // The list came once every define before its question was stored: the job is confirmed.
    m_confirmation.question = Confirmation::Question::Answered;
    return closeWithDone(portText, TransferTexts::verified(stored));
}

TransferResult TransferOperations::printGraphics(const QString &portText, const QString &rateText)
{
    if (!m_link.OpenPort(portText, rateText))
        return notOpened();
    const Readiness ready = checkReady(portText);
    if (ready.refused)
        return *ready.refused;
    // Without the printer's list, every key an upload can give, as bit images print 1 to 255.
    QList<QByteArray> keys;
    if (ready.answered) {
        const GraphicsStoreReply stored = askStoredKeys(m_transmitter, m_limits.graphicsAnswer,
                                                        m_limits.keyList(KeyListScanner::MaxKeys));
        if (!stored.step.ok())
            return fail(stored.step, portText);
        if (!stored.keys) {
            const QString failure =
                TransferTexts::keyListFailed(stored.answer, stored.waited, stored.keysBefore);
            return fail({StepStatus::Failed, TransferTexts::nothingPrinted(failure)}, portText);
        }
        keys = *stored.keys;
        m_facts.printedKeys = keys;
    } else {
        for (int picture = 1; picture <= MaxUploadPictures; ++picture)
            keys << graphicKey(picture);
    }
    m_ifStopped = TransferTexts::StoppedInJob;
    for (const QByteArray &key : keys) {
        if (StepResult sent = m_transmitter.SendBytes(printGraphic(key)); !sent.ok())
            return fail(sent, portText);
    }
    return closePrint(portText);
}

GraphicsStoreStatus TransferOperations::graphicsStatus()
{
    GraphicsStoreStatus status;
    const std::chrono::milliseconds wait = m_limits.graphicsAnswer;
    const GraphicsStoreReply capacity = askStoreFigure(m_transmitter, StoreFigure::Capacity, wait);
    // A printer that does not know NV graphics is not asked the rest.
    if (!capacity.step.ok() || !capacity.figure)
        return status;
    status.capacity = capacity.figure;
    const GraphicsStoreReply free = askStoreFigure(m_transmitter, StoreFigure::Remaining, wait);
    if (!free.step.ok())
        return status;
    status.free = free.figure;
    const GraphicsStoreReply keys =
        askStoredKeys(m_transmitter, wait, m_limits.keyList(KeyListScanner::MaxKeys));
    if (keys.step.ok())
        status.keys = keys.keys;
    return status;
}
