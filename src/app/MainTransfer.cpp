#include "AppTexts.h"
#include "EventLoopYield.h"
#include "Main.h"
#include "MainDialogs.h"
#include "TransferOperations.h"
#include "TransferTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

template <typename Operation> void Main::runOperation(Operation operation, bool showsOutcome)
{
    ++m_runningOperations;
    TransferOperations transfer(m_link, *this);
    const QString port = cmbPortList->currentText();
    // Every other outcome has been told to the operator through the host already.
    const TransferResult result = operation(transfer, port, CmbBaudRate->currentText());
    if (result.outcome == TransferOutcome::NotOpened)
        reportNotOpened(port, showsOutcome);
    // A print sets no SUCCESS of its own, yet must not leave an earlier job's outcome standing.
    if (showsOutcome && result.outcome == TransferOutcome::Succeeded)
        LabAction->setText(TransferTexts::Success);
    --m_runningOperations;
    closeIfAsked();
}

// A job that holds the link goes on and tells its own outcome; a box now would hold its wait.
// Otherwise the status line must not keep an earlier job's SUCCESS.
void Main::reportNotOpened(const QString &port, bool showsOutcome)
{
    if (m_link.link())
        return;
    if (showsOutcome)
        LabAction->setText(TransferTexts::Failed);
    showMessage(TransferTexts::linkNotOpened(port, m_link.errorText()), TransferTexts::FailedTitle,
                MessageKind::Error);
}

void Main::closeIfAsked()
{
    if (m_closeWhenIdle && !operationRunning() && !m_checkingPictures)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void Main::Command7_Click()
{
    // The picture being checked may leave the button disabled.
    if (deferredWhileChecking([this] {
            if (Command7->isEnabled())
                Command7_Click();
        }))
        return;
    Command7->setEnabled(false);
    Command7->setVisible(false);
    ProgressBar1->setValue(0);
    // The count sent in the header must match the records that follow, in the set chosen.
    Command6->setEnabled(false);
    Command3->setEnabled(false);
    chkNvGraphics->setEnabled(false);
    const QList<ListedPicture> pictures = listedPictures();
    runOperation([&pictures, set = commandSet()](
                     TransferOperations &transfer, const QString &port,
                     const QString &rate) { return transfer.upload(pictures, port, rate, set); },
                 true);
    Command6->setEnabled(true);
    Command3->setEnabled(true);
    chkNvGraphics->setEnabled(true);
    Command7->setVisible(true);
    Command7->setEnabled(true);
}

void Main::Command1_Click()
{
    Command1->setEnabled(false);
    runOperation(
        [set = commandSet()](TransferOperations &transfer, const QString &port,
                             const QString &rate) { return transfer.erase(port, rate, set); },
        true);
    Command1->setEnabled(true);
}

void Main::Command4_Click()
{
    Command1->setEnabled(false);
    runOperation(
        [set = commandSet()](TransferOperations &transfer, const QString &port,
                             const QString &rate) { return transfer.print(port, rate, set); },
        true);
    Command1->setEnabled(true);
}

NvCommandSet Main::commandSet() const
{
    return chkNvGraphics->isChecked() ? NvCommandSet::Graphics : NvCommandSet::BitImage;
}

void Main::setProgressMin(int value)
{
    ProgressBar1->setMinimum(value);
}

void Main::setProgressMax(int value)
{
    ProgressBar1->setMaximum(value);
}

void Main::setProgressValue(int value)
{
    ProgressBar1->setValue(value);
}

void Main::showMessage(const QString &text, const QString &title, MessageKind kind)
{
    m_dialogs->messageBox(this, text, title, kind);
}

bool Main::confirm(const QString &question, const QString &title)
{
    return m_dialogs->question(this, question, title);
}

void Main::setStatus(const QString &text)
{
    LabAction->setText(text);
}

void Main::selectImageRow(int row)
{
    BMPList->setCurrentRow(row);
}

// The status line tells which picture is being converted, then shows again what it showed.
void Main::showConversionProgress(int current, int total)
{
    if (!m_statusBeforeConversion)
        m_statusBeforeConversion = LabAction->text();
    LabAction->setText(AppTexts::Converting.arg(current).arg(total));
}

void Main::conversionEnded()
{
    if (m_statusBeforeConversion)
        LabAction->setText(*m_statusBeforeConversion);
    m_statusBeforeConversion.reset();
}

void Main::yield()
{
    yieldToEventLoop();
}
