#include "AppTexts.h"
#include "CapacityStatus.h"
#include "ImageTotal.h"
#include "LabelColour.h"
#include "Main.h"
#include "MainDialogs.h"
#include "PictureConversion.h"
#include "PicturePreview.h"
#include "RasterGeometry.h"
#include "modBitmap.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <utility>

namespace {

// The colour is set before the text.
void showReadOut(QLabel *label, const StatusText &status)
{
    setTextColour(label, toneColour(status.tone));
    label->setText(status.text);
}

// A picture taller than a printer stores is refused as one that does not load: from its header,
// before it is decoded, at the choices a new entry gets.
bool storedWhole(const QString &path)
{
    const modBitmap::RasterSizeResult size = modBitmap::RasterSize(path);
    return size.ok() && modBitmap::printerStores(size.extent);
}

} // namespace

void Main::Command6_Click()
{
    addPictureFiles(
        {m_dialogs->ShowOpenDialog(this, AppTexts::OpenDialogTitle, AppTexts::OpenDialogFilter)});
}

void Main::addPictureFiles(const QStringList &paths)
{
    m_picturesToCheck += paths;
    // A check already running takes these in their turn, so the list keeps their order.
    if (m_checkingPictures)
        return;
    m_checkingPictures = true;
    while (!m_picturesToCheck.isEmpty() && !m_stopRequested)
        checkAndAdd(m_picturesToCheck.takeFirst());
    m_picturesToCheck.clear();
    m_checkingPictures = false;
    const QList<std::function<void()>> waiting = std::exchange(m_afterCheck, {});
    for (const std::function<void()> &action : waiting) {
        if (!m_stopRequested)
            action();
    }
    closeIfAsked();
}

bool Main::deferredWhileChecking(std::function<void()> action)
{
    if (!m_checkingPictures)
        return false;
    m_afterCheck.append(std::move(action));
    return true;
}

// The file is decoded off the window's thread: a huge picture takes seconds.
void Main::checkAndAdd(const QString &path)
{
    const QString name = modBitmap::FileNameFromPath(path);
    LabAction->setText(AppTexts::Checking);
    LabAction->repaint();
    if (!path.isEmpty() && !name.isEmpty() && storedWhole(path) &&
        checkPictureFile(path, *this).value_or(false)) {
        AddImageEntry(name, path);
        UpdateImageStatus();
    }
    LabAction->setText(AppTexts::Ready);
    LabAction->repaint();
}

void Main::Command3_Click()
{
    if (deferredWhileChecking([this] { Command3_Click(); }))
        return;
    RemoveSelectedImage();
    UpdateImageStatus();
}

void Main::BMPList_DblClick(int row)
{
    // The list stays as the running transfer read it.
    if (operationRunning() || row < 0)
        return;
    auto *preview = new PicturePreview(PathList->item(row)->text(), choicesOf(row), this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview, &PicturePreview::choicesChanged, this,
            [this, row](const modBitmap::ConversionChoices &choices) {
                setChoices(row, choices);
                UpdateImageStatus();
            });
    // Window-modal: the list cannot change under the preview.
    preview->open();
}

void Main::AddImageEntry(const QString &name, const QString &path)
{
    PathList->addItem(path);
    BMPList->addItem(name);
    PathList->setCurrentRow(BMPList->count() - 1);
    BMPList->setCurrentRow(BMPList->count() - 1);
}

void Main::RemoveSelectedImage()
{
    const int index = BMPList->currentRow();
    if (index < 0)
        return;
    delete PathList->takeItem(index);
    delete BMPList->takeItem(index);
    BMPList->setCurrentRow(BMPList->count() - 1);
}

void Main::UpdateImageStatus()
{
    const ImageTotal total = totalRasterSize(listedPictures());
    const int count = int(PathList->count());
    const CapacityStatus status =
        commandSet() == NvCommandSet::Graphics
            ? graphicsCapacityStatus(total.total, count, total.tooTall.size())
            : capacityStatus(total.total, count, total.tooTall.size());
    NumberNotify->setToolTip(status.toolTip);
    showReadOut(SizeNotify, status.sizeNotify);
    showReadOut(NumberNotify, status.numberNotify);
    Command7->setEnabled(status.uploadEnabled);
    updateEntryTips();
    if (!total.unreadable.isEmpty()) {
        showMessage(AppTexts::UnreadableText.arg(total.unreadable.join(QLatin1Char('\n'))),
                    AppTexts::UnreadableTitle, MessageKind::Error);
    }
}

QList<ListedPicture> Main::listedPictures() const
{
    QList<ListedPicture> pictures;
    for (int row = 0; row < PathList->count(); ++row)
        pictures.append({PathList->item(row)->text(), choicesOf(row)});
    return pictures;
}

// The choices ride on the row of PathList; a row never previewed has the defaults.
modBitmap::ConversionChoices Main::choicesOf(int row) const
{
    return PathList->item(row)->data(Qt::UserRole).value<modBitmap::ConversionChoices>();
}

void Main::setChoices(int row, const modBitmap::ConversionChoices &choices)
{
    PathList->item(row)->setData(Qt::UserRole, QVariant::fromValue(choices));
}
