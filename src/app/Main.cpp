#include "Main.h"
#include "AppTexts.h"
#include "CatalogueSnapshot.h"
#include "ComboBoxAdapter.h"
#include "MainDialogs.h"
#include "SerialControl.h"
#include "modSerailIO.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

Main::Main(std::unique_ptr<SerialControl> serial, std::unique_ptr<PortCatalogue> catalogue,
           std::unique_ptr<MainDialogs> dialogs, QWidget *parent)
    : QWidget(parent)
    , MSComm(std::move(serial))
    , m_catalogue(std::move(catalogue))
    , m_dialogs(std::move(dialogs))
    , m_link(*MSComm)
{
    createControls();
    setTabOrder();
    connectHandlers();
    Form_Load();
    Command6->setFocus();
}

Main::~Main() = default;

void Main::connectHandlers()
{
    connect(Command6, &QPushButton::clicked, this, &Main::Command6_Click);
    connect(Command3, &QPushButton::clicked, this, &Main::Command3_Click);
    connect(BMPList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { BMPList_DblClick(BMPList->row(item)); });
    connect(Command7, &QPushButton::clicked, this, &Main::Command7_Click);
    connect(Command1, &QPushButton::clicked, this, &Main::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &Main::Command4_Click);
    connect(TimeOutCount, &QTimer::timeout, this, &Main::TimeOutCount_Timer);
    // Only typing counts as a change; picking an item from the list does not.
    connect(cmbPortList->lineEdit(), &QLineEdit::textEdited, this, &Main::cmbPortList_Change);
    cmbPortList->installEventFilter(this);
    connect(chkNvGraphics, &QCheckBox::toggled, this, &Main::UpdateImageStatus);
    connectListEditing();
}

void Main::Form_Load()
{
    const CatalogueSnapshot machine(*m_catalogue);
    ComboBoxAdapter ports(*cmbPortList);
    FillPortList(ports, machine);
    m_printers = machine.printers();
    ComboBoxAdapter rates(*CmbBaudRate);
    FillComboList(rates, {QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                          QStringLiteral("115200")});
    BMPList->clear();
    PathList->clear();
    UpdateImageStatus();
    LabAction->setText(AppTexts::Ready);
    repaint();
}

void Main::Form_Unload()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this)
            window->close();
    }
}

void Main::closeEvent(QCloseEvent *event)
{
    if (operationRunning() || m_checkingPictures) {
        // The running transfer or check ends its wait (a transfer closes the link), then
        // closes the window.
        m_stopRequested = true;
        m_closeWhenIdle = true;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void Main::TimeOutCount_Timer()
{
    TimeOutCount->stop();
}

void Main::cmbPortList_Change()
{
    Label3->setText(AppTexts::DriverName);
    const QString port = cmbPortList->currentText();
    for (const InstalledPrinter &printer : m_printers) {
        if (printer.port == port) {
            Label3->setText(AppTexts::DriverName + printer.deviceName);
            return;
        }
    }
}

void Main::cmbPortList_LostFocus()
{
    cmbPortList_Change();
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    // Opening the drop-down list moves the focus to the popup; that is no loss of focus.
    if (watched == cmbPortList && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        cmbPortList_LostFocus();
    if (watched == BMPList && event->type() == QEvent::KeyPress &&
        handleListKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}
