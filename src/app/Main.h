#pragma once

#include "ListedPicture.h"
#include "NvCommandSet.h"
#include "PortCatalogue.h"
#include "PortLink.h"
#include "TransferHost.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class MainDialogs;
class SerialControl;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

// The one window. Controls keep their designer names; the working state lives in them.
class Main : public QWidget, public TransferHost
{
    Q_OBJECT

public:
    Main(std::unique_ptr<SerialControl> serial, std::unique_ptr<PortCatalogue> catalogue,
         std::unique_ptr<MainDialogs> dialogs, QWidget *parent = nullptr);
    ~Main() override;

    std::array<QLabel *, 4> Label4{};
    QLabel *Label1 = nullptr;
    QComboBox *cmbPortList = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *CmbBaudRate = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command3 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QLabel *NumberNotify = nullptr;
    QListWidget *PathList = nullptr;
    QListWidget *BMPList = nullptr;
    QLabel *SizeNotify = nullptr;
    QLabel *LabAction = nullptr;
    // Upload, Erase and Print work on NV graphics instead of NV bit images while checked.
    QCheckBox *chkNvGraphics = nullptr;
    QTimer *LoopCount = nullptr;
    QTimer *TimeOutCount = nullptr;
    QTimer *Timer = nullptr;

    bool operationRunning() const { return m_runningOperations > 0; }

    void Form_Load();
    void Command6_Click();
    void Command3_Click();
    void BMPList_DblClick(int row);
    void Command7_Click();
    void Command1_Click();
    void Command4_Click();
    void cmbPortList_Change();
    void cmbPortList_LostFocus();
    void TimeOutCount_Timer();

    void AddImageEntry(const QString &name, const QString &path);
    void RemoveSelectedImage();
    void UpdateImageStatus();

    // Each file through Add Image's path after the dialog, one after the other in this order.
    void addPictureFiles(const QStringList &paths);
    // Moves the selected entry of both lists one place up (-1) or down (+1).
    void moveSelectedImage(int step);
    // Opens the preview of the selected entry.
    void previewSelectedImage();

    // TransferHost
    void setProgressMin(int value) override;
    void setProgressMax(int value) override;
    void setProgressValue(int value) override;
    void showMessage(const QString &text, const QString &title, MessageKind kind) override;
    bool confirm(const QString &question, const QString &title) override;
    void setStatus(const QString &text) override;
    void selectImageRow(int row) override;
    void showConversionProgress(int current, int total) override;
    void conversionEnded() override;
    void yield() override;
    bool stopRequested() const override { return m_stopRequested; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void connectHandlers();
    void Form_Unload();
    void connectListEditing();
    // Runs one transfer; closes the window afterwards if asked. showsOutcome: the job ends with
    // SUCCESS or FAILED on the status line.
    template <typename Operation> void runOperation(Operation operation, bool showsOutcome);
    void reportNotOpened(const QString &port, bool showsOutcome);
    void closeIfAsked();
    // Add Image from the chosen path on: the check, the entry, the read-outs.
    void checkAndAdd(const QString &path);
    bool listLocked() const;
    // True when the action must wait for the running check: it acts once the check has ended,
    // as it would have had the check held the window.
    bool deferredWhileChecking(std::function<void()> action);
    void showListMenu(const QPoint &at);
    bool handleListKey(const QKeyEvent *key);
    // Each entry's tooltip names the NV image or graphic key it will become.
    void updateEntryTips();
    QList<ListedPicture> listedPictures() const;
    NvCommandSet commandSet() const;
    // How the picture of an image list row is to be converted.
    modBitmap::ConversionChoices choicesOf(int row) const;
    void setChoices(int row, const modBitmap::ConversionChoices &choices);

    std::unique_ptr<SerialControl> MSComm;
    std::unique_ptr<PortCatalogue> m_catalogue;
    std::unique_ptr<MainDialogs> m_dialogs;
    PortLink m_link;
    QList<InstalledPrinter> m_printers;
    int m_runningOperations = 0;
    bool m_stopRequested = false;
    bool m_closeWhenIdle = false;
    bool m_checkingPictures = false;
    QStringList m_picturesToCheck;
    QList<std::function<void()>> m_afterCheck;
    std::optional<QString> m_statusBeforeConversion;
};
