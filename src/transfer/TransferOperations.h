#pragma once

#include "DeliveryCheck.h"
#include "ListedPicture.h"
#include "NvCommandSet.h"
#include "PictureConversion.h"
#include "PrinterIdentity.h"
#include "PrinterStatus.h"
#include "TransferLimits.h"
#include "Transmitter.h"

#include <QString>
#include <QStringList>

#include <optional>

struct GraphicsStoreReply;
struct StatusReply;
class PortLink;
class TransferHost;

enum class TransferOutcome {
    NotOpened, // the link did not open (or another transfer holds it); nothing was sent
    Refused,   // the job was refused before the link opened; message says why
    Succeeded,
    Failed, // the job ended early or the printer did not confirm; message says why
};

struct [[nodiscard]] TransferResult
{
    TransferOutcome outcome = TransferOutcome::Succeeded;
    QString message;
    bool stopped = false; // the host asked to stop; message says what the printer may hold
};

// What the printer said about its NV graphics store; nothing where it did not answer.
struct GraphicsStoreStatus
{
    std::optional<qint64> capacity;
    std::optional<qint64> free;
    std::optional<QList<QByteArray>> keys;
};

struct [[nodiscard]] StatusReport
{
    TransferOutcome outcome = TransferOutcome::Succeeded; // Succeeded once the printer answered
    PrinterStatus status;
    QString message; // why there is no status
    GraphicsStoreStatus graphics;
    PrinterIdentity identity;
};

// What the printer told during the last job, for whoever reports on many printers.
struct JobFacts
{
    std::optional<PrinterStatus> status;           // its answers to the status questions
    PrinterIdentity identity;                      // asked only when wanted
    std::optional<QList<QByteArray>> verifiedKeys; // the keys an upload found stored
    std::optional<QList<QByteArray>> printedKeys;  // the keys a print found listed
    bool confirmed = true; // false: sent to a printer that cannot confirm it processed the job
};

// Upload, erase and print as the window and the command line run them. The caller owns the
// buttons; everything else the operator sees goes through the host.
class TransferOperations
{
public:
    TransferOperations(PortLink &link, TransferHost &host, TransferLimits limits = {});

    // Stores the pictures, in order, each converted as it chose: as NV images 1 to n, or as NV
    // graphics under the keys "01" to n in hexadecimal.
    TransferResult upload(const QList<ListedPicture> &listed, const QString &portText,
                          const QString &rateText, NvCommandSet set = NvCommandSet::BitImage);
    // The same with pictures converted beforehand, which may be shared by many jobs.
    TransferResult upload(const QList<ListedPicture> &listed, const ConvertedPictures &pictures,
                          const QString &portText, const QString &rateText, NvCommandSet set);
    // Erases every stored NV image, or every NV graphic.
    TransferResult erase(const QString &portText, const QString &rateText,
                         NvCommandSet set = NvCommandSet::BitImage);
    // Prints NV images 1 to 255, or every NV graphic the printer lists ("01" to "FF" when it
    // does not answer).
    TransferResult print(const QString &portText, const QString &rateText,
                         NvCommandSet set = NvCommandSet::BitImage);
    // Asks the printer how it is, who it is and, unless told not to, about its NV graphics;
    // tells nobody but the caller.
    StatusReport status(const QString &portText, const QString &rateText,
                        bool askAboutStore = true);

    // Whether a job asks a printer that answers who it is; status always does.
    void setIdentityWanted(bool wanted) { m_identityWanted = wanted; }
    // What the printer told during the last job.
    const JobFacts &facts() const { return m_facts; }

private:
    struct Readiness
    {
        std::optional<TransferResult> refused; // the job has ended: the printer cannot take it
        bool answered = false;                 // the printer answered the status questions
    };

    TransferResult uploadGraphics(const QList<ListedPicture> &listed,
                                  const ConvertedPictures &pictures, const QString &portText,
                                  const QString &rateText);
    TransferResult printGraphics(const QString &portText, const QString &rateText);
    GraphicsStoreStatus graphicsStatus();
    // Asks the store's capacity; why the graphics cannot be stored, or nothing when they fit.
    std::optional<StepResult> checkRoom(qint64 dataBytes, int count);
    // Closes the link after a graphics upload and tells how it went.
    TransferResult reportGraphicsUpload(const QString &portText, int stored,
                                        const GraphicsStoreReply &listed);

    TransferResult refuse(const QString &message);
    TransferResult notOpened() const;
    // Forgets the last job: what the printer told, and what a stop would leave.
    void startJob();
    // Sends one array per listed picture, its row selected while it goes out.
    StepResult sendPictures(const QList<QByteArray> &pictures);
    // Ends the job when the printer says it cannot take it; nothing when it can or is silent.
    Readiness checkReady(const QString &portText);
    // job: a job was to follow, so the texts say nothing of it was sent.
    StepResult inquiryFailure(const StatusReply &reply, bool job) const;
    TransferResult finish(const QString &portText);
    // Closes the link; once it closed without loss, "Done!!" (or, where the printer cannot
    // confirm the job, that it was sent) and SUCCESS.
    TransferResult closeWithDone(const QString &portText, const QString &done);
    TransferResult fail(const StepResult &step, const QString &portText);
    TransferResult close(const QString &portText);
    TransferResult closePrint(const QString &portText);
    void showFailure(const QString &error);

    PortLink &m_link;
    TransferHost &m_host;
    TransferLimits m_limits;
    Transmitter m_transmitter;
    // The printer answered the status questions before the current job.
    bool m_printerAnswered = false;
    // How that printer confirms the current job, and whether close() could.
    Confirmation m_confirmation;
    bool m_confirmed = true;
    bool m_identityWanted = false;
    JobFacts m_facts;
    // What a stop leaves in the printer, once the job's own bytes have begun to go out.
    QString m_ifStopped;
};
