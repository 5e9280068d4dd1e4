#include "AppTexts.h"
#include "EventLoopYield.h"
#include "Main.h"
#include "MainDialogs.h"
#include "TransferOperations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

template <typename Operation> void Main::runOperation(Operation operation)
{
    ++m_runningOperations;
    TransferOperations transfer(m_link, *this);
    // The operation has told the operator everything through the host already.
    static_cast<void>(operation(transfer, cmbPortList->currentText(), CmbBaudRate->currentText()));
    --m_runningOperations;
    if (m_runningOperations == 0 && m_closeWhenIdle)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void Main::Command7_Click()
{
    Command7->setEnabled(false);
    Command7->setVisible(false);
    ProgressBar1->setValue(0);
    // The count sent in the header must match the records that follow.
    Command6->setEnabled(false);
    Command3->setEnabled(false);
    const QList<ListedPicture> pictures = listedPictures();
    runOperation([&pictures, set = commandSet()](TransferOperations &transfer, const QString &port,
                                                 const QString &rate) {
        return transfer.upload(pictures, port, rate, set);
    });
    Command6->setEnabled(true);
    Command3->setEnabled(true);
    Command7->setVisible(true);
    Command7->setEnabled(true);
}

void Main::Command1_Click()
{
    Command1->setEnabled(false);
    runOperation(
        [set = commandSet()](TransferOperations &transfer, const QString &port,
                             const QString &rate) { return transfer.erase(port, rate, set); });
    Command1->setEnabled(true);
}

void Main::Command4_Click()
{
    Command1->setEnabled(false);
    runOperation(
        [set = commandSet()](TransferOperations &transfer, const QString &port,
                             const QString &rate) { return transfer.print(port, rate, set); });
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
