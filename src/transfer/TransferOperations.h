#pragma once

#include "ListedPicture.h"
#include "PrinterStatus.h"
#include "TransferLimits.h"
#include "Transmitter.h"

#include <QString>
#include <QStringList>

#include <optional>

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
};

struct [[nodiscard]] StatusReport
{
    TransferOutcome outcome = TransferOutcome::Succeeded; // Succeeded once the printer answered
    PrinterStatus status;
    QString message; // why there is no status
};

// Upload, erase and print as the window and the command line run them. The caller owns the
// buttons; everything else the operator sees goes through the host.
class TransferOperations
{
public:
    TransferOperations(PortLink &link, TransferHost &host, TransferLimits limits = {});

    // Stores the pictures, in order, as NV images 1 to n, each converted as it chose.
    TransferResult upload(const QList<ListedPicture> &listed, const QString &portText,
                          const QString &rateText);
    // Erases every stored NV image.
    TransferResult erase(const QString &portText, const QString &rateText);
    // Prints NV images 1 to 255.
    TransferResult print(const QString &portText, const QString &rateText);
    // Asks the printer how it is, and tells nobody but the caller.
    StatusReport status(const QString &portText, const QString &rateText);

private:
    TransferResult refuse(const QString &message);
    // Ends the job when the printer says it cannot take it; nothing when it can or is silent.
    std::optional<TransferResult> refuseIfNotReady(const QString &portText);
    StepResult inquiryFailure(const StepResult &step) const;
    TransferResult finish(const QString &portText);
    TransferResult fail(const StepResult &step, const QString &portText);
    TransferResult close(const QString &portText);
    void showFailure(const QString &error);

    PortLink &m_link;
    TransferHost &m_host;
    TransferLimits m_limits;
    Transmitter m_transmitter;
};
