#pragma once

#include "TransferHost.h"

#include <QString>

class QWidget;

// The window's modal dialogs, behind an interface so that tests answer them.
class MainDialogs
{
public:
    virtual ~MainDialogs() = default;
    // The chosen file's full path, or empty when the operator cancels.
    virtual QString ShowOpenDialog(QWidget *owner, const QString &title, const QString &filter) = 0;
    // A modal box with one OK button.
    virtual void messageBox(QWidget *owner, const QString &text, const QString &title,
                            TransferHost::MessageKind kind) = 0;
    // A modal Yes/No box, No the default; true for Yes.
    virtual bool question(QWidget *owner, const QString &text, const QString &title) = 0;
};
