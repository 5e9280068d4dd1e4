#pragma once

#include "Main.h"
#include "MainDialogs.h"
#include "PortCatalogue.h"
#include "QtPrinters.h"
#include "ScriptedSerialControl.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

class ScriptedCatalogue : public PortCatalogue
{
public:
    QStringList portNames;
    QList<InstalledPrinter> installed;
    QStringList ports() const override { return portNames; }
    QList<InstalledPrinter> printers() const override
    {
        ++printerQueries;
        return installed;
    }
    mutable int printerQueries = 0;
};

// Answers the open-file dialog from a queue and every message box at once.
class ScriptedDialogs : public MainDialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
    };
    std::deque<QString> chosenPaths;
    QList<Message> messages;
    std::function<void(const Message &)> onMessage;

    QString ShowOpenDialog(QWidget *, const QString &title, const QString &filter) override
    {
        lastTitle = title;
        lastFilter = filter;
        if (chosenPaths.empty())
            return {};
        const QString path = chosenPaths.front();
        chosenPaths.pop_front();
        return path;
    }
    void messageBox(QWidget *, const QString &text, const QString &title,
                    TransferHost::MessageKind) override
    {
        messages.append({text, title});
        if (onMessage)
            onMessage(messages.last());
    }
    bool question(QWidget *, const QString &text, const QString &title) override
    {
        messages.append({text, title});
        return answerYes;
    }
    bool answerYes = true;
    QString lastTitle;
    QString lastFilter;
};

inline QColor textColour(const QLabel *label)
{
    return label->palette().color(label->foregroundRole());
}

class MainFixture : public ::testing::Test
{
protected:
    void SetUp() override { createWindow({QStringLiteral("LPT1:"), QStringLiteral("COM1:")}); }

    void createWindow(const QStringList &ports, const QList<InstalledPrinter> &printers = {})
    {
        auto serialControl = std::make_unique<ScriptedSerialControl>();
        serial = serialControl.get();
        createWindowWith(std::move(serialControl), ports, printers);
    }

    void createWindowWith(std::unique_ptr<SerialControl> serialControl, const QStringList &ports,
                          const QList<InstalledPrinter> &printers = {})
    {
        window.reset();
        auto catalogue = std::make_unique<ScriptedCatalogue>();
        machine = catalogue.get();
        catalogue->portNames = ports;
        catalogue->installed = printers;
        auto scriptedDialogs = std::make_unique<ScriptedDialogs>();
        dialogs = scriptedDialogs.get();
        window = std::make_unique<Main>(std::move(serialControl), std::move(catalogue),
                                        std::move(scriptedDialogs));
    }

    // A picture saved as a file in the test's folder.
    QString picture(const QString &name, QSize size, const char *format = "BMP")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, qRgb(0, 0, 0));
        const QString path = folder.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }

    void addPicture(const QString &path)
    {
        dialogs->chosenPaths.push_back(path);
        window->Command6_Click();
    }

    // Both read-outs in one colour, the total in bytes as the tooltip, and whether
    // "Upload Image" is live.
    void expectReadOuts(const QString &size, const QString &number, const QColor &colour,
                        const QString &total, bool uploadEnabled)
    {
        EXPECT_EQ(window->SizeNotify->text(), size);
        EXPECT_EQ(window->NumberNotify->text(), number);
        EXPECT_EQ(textColour(window->SizeNotify), colour);
        EXPECT_EQ(textColour(window->NumberNotify), colour);
        EXPECT_EQ(window->NumberNotify->toolTip(), total);
        EXPECT_EQ(window->Command7->isEnabled(), uploadEnabled);
    }

    QTemporaryDir folder;
    std::unique_ptr<Main> window;
    ScriptedSerialControl *serial = nullptr;
    ScriptedDialogs *dialogs = nullptr;
    ScriptedCatalogue *machine = nullptr;
};
