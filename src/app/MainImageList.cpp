#include "AppTexts.h"
#include "CapacityStatus.h"
#include "ImageTotal.h"
#include "LabelColour.h"
#include "Main.h"
#include "MainDialogs.h"
#include "PicturePreview.h"
#include "modBitmap.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

// The colour is set before the text.
void showReadOut(QLabel *label, const StatusText &status)
{
    setTextColour(label, toneColour(status.tone));
    label->setText(status.text);
}

} // namespace

void Main::Command6_Click()
{
    const QString path =
        m_dialogs->ShowOpenDialog(this, AppTexts::OpenDialogTitle, AppTexts::OpenDialogFilter);
    const QString name = modBitmap::FileNameFromPath(path);
    LabAction->setText(AppTexts::Checking);
    LabAction->repaint();
    if (!path.isEmpty() && !name.isEmpty() && modBitmap::IsPictureFile(path)) {
        AddImageEntry(name, path);
        UpdateImageStatus();
    }
    LabAction->setText(AppTexts::Ready);
    LabAction->repaint();
}

void Main::Command3_Click()
{
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
    const CapacityStatus status = capacityStatus(total.total, PathList->count());
    NumberNotify->setToolTip(status.toolTip);
    showReadOut(SizeNotify, status.sizeNotify);
    showReadOut(NumberNotify, status.numberNotify);
    Command7->setEnabled(status.uploadEnabled);
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
