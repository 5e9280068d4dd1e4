#include "CommonDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

QString CommonDlg::ShowOpenDialog(QWidget *owner, const QString &title, const QString &filter)
{
    // "*.*" means every file; on Linux that pattern would hide names without a dot.
    const QString nameFilter =
        filter == QLatin1String("*.*") ? QStringLiteral("All files (*)") : filter;
    // Qt gives "C:/dir/pic.bmp" on Windows too; the image list expects the platform's own form.
    return QDir::toNativeSeparators(
        QFileDialog::getOpenFileName(owner, title, QString(), nameFilter).trimmed());
}

void CommonDlg::messageBox(QWidget *owner, const QString &text, const QString &title,
                           TransferHost::MessageKind kind)
{
    const bool alert =
        kind == TransferHost::MessageKind::Error || kind == TransferHost::MessageKind::Warning;
    const auto icon = alert ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.exec();
}

bool CommonDlg::question(QWidget *owner, const QString &text, const QString &title)
{
    return QMessageBox::question(owner, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}
