#include "AppTexts.h"
#include "GraphicsCommands.h"
#include "Main.h"
#include "PrinterCommands.h"

#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

namespace {

// The dropped files, in the order dropped, as the open-file dialog gives a path.
QStringList droppedFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    return paths;
}

} // namespace

void Main::connectListEditing()
{
    setAcceptDrops(true);
    // The boxes take no drops, as before: a dropped picture goes to the list, not into a box.
    for (QComboBox *box : {cmbPortList, CmbBaudRate})
        box->lineEdit()->setAcceptDrops(false);
    BMPList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(BMPList, &QWidget::customContextMenuRequested, this, &Main::showListMenu);
    BMPList->installEventFilter(this);
    cmbPortList->setToolTip(AppTexts::PortBoxTip);
    CmbBaudRate->setToolTip(AppTexts::RateBoxTip);
}

// While an upload runs, the list stays as the upload read it.
bool Main::listLocked() const
{
    return !Command6->isEnabled();
}

void Main::moveSelectedImage(int step)
{
    if (deferredWhileChecking([this, step] { moveSelectedImage(step); }))
        return;
    const int from = BMPList->currentRow();
    const int to = from + step;
    if (listLocked() || from < 0 || to < 0 || to >= BMPList->count())
        return;
    // Both lists alike: the path and its choices go with the name.
    for (QListWidget *list : {PathList, BMPList}) {
        list->insertItem(to, list->takeItem(from));
        list->setCurrentRow(to);
    }
    updateEntryTips();
}

void Main::previewSelectedImage()
{
    BMPList_DblClick(BMPList->currentRow());
}

void Main::showListMenu(const QPoint &at)
{
    if (const int row = BMPList->indexAt(at).row(); row >= 0)
        BMPList->setCurrentRow(row);
    const int row = BMPList->currentRow();
    const bool editable = !listLocked() && row >= 0;
    QMenu menu(this);
    menu.addAction(AppTexts::PreviewAction, this, &Main::previewSelectedImage)
        ->setEnabled(row >= 0 && !operationRunning());
    menu.addSeparator();
    menu.addAction(AppTexts::MoveUpAction, QKeySequence(Qt::CTRL | Qt::Key_Up), this,
                   [this] { moveSelectedImage(-1); })
        ->setEnabled(editable && row > 0);
    menu.addAction(AppTexts::MoveDownAction, QKeySequence(Qt::CTRL | Qt::Key_Down), this,
                   [this] { moveSelectedImage(1); })
        ->setEnabled(editable && row < BMPList->count() - 1);
    menu.addAction(AppTexts::RemoveAction, QKeySequence::Delete, this, &Main::Command3_Click)
        ->setEnabled(editable);
    menu.exec(BMPList->viewport()->mapToGlobal(at));
}

// Ctrl+Up and Ctrl+Down move the selected entry, Delete removes it as Remove Image does.
bool Main::handleListKey(const QKeyEvent *key)
{
    const bool control = key->modifiers() == Qt::ControlModifier;
    if (control && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
        moveSelectedImage(key->key() == Qt::Key_Up ? -1 : 1);
        return true;
    }
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
        if (!listLocked() && BMPList->currentRow() >= 0)
            Command3_Click();
        return true;
    }
    return false;
}

void Main::updateEntryTips()
{
    const bool graphics = commandSet() == NvCommandSet::Graphics;
    for (int row = 0; row < BMPList->count(); ++row) {
        const int number = row + 1;
        QString tip = AppTexts::NotStoredTip.arg(MaxUploadPictures);
        if (number <= MaxUploadPictures) {
            tip = graphics ? AppTexts::GraphicTip.arg(QString::fromLatin1(graphicKey(number)))
                           : AppTexts::ImageTip.arg(number);
        }
        BMPList->item(row)->setToolTip(tip);
    }
}

void Main::dragEnterEvent(QDragEnterEvent *event)
{
    if (!listLocked() && !droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedFiles(event->mimeData());
    if (listLocked() || paths.isEmpty())
        return;
    event->acceptProposedAction();
    // Checked once the drop has ended, so the program the files came from is not kept waiting.
    QTimer::singleShot(0, this, [this, paths] { addPictureFiles(paths); });
}
