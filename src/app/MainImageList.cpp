#include "AppTexts.h"
#include "CapacityStatus.h"
#include "ImageTotal.h"
#include "LabelColour.h"
#include "Main.h"
#include "MainDialogs.h"
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
    const ImageTotal total = totalRasterSize(listedPaths());
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

QStringList Main::listedPaths() const
{
    QStringList paths;
    for (int row = 0; row < PathList->count(); ++row)
        paths << PathList->item(row)->text();
    return paths;
}
