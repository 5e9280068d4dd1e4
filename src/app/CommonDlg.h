#pragma once

#include "MainDialogs.h"

// The platform's open-file dialog and message boxes.
class CommonDlg : public MainDialogs
{
public:
    QString ShowOpenDialog(QWidget *owner, const QString &title, const QString &filter) override;
    void messageBox(QWidget *owner, const QString &text, const QString &title,
                    TransferHost::MessageKind kind) override;
    bool question(QWidget *owner, const QString &text, const QString &title) override;
};
