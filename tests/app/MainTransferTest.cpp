#include "MainFixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QByteArray Finish("\x1D\x07\x02\x01\x01", 5);

} // namespace

using WindowTransfer = MainFixture;

TEST_F(WindowTransfer, UploadHidesTheButtonLocksTheListAndRestoresEverything)
{
    const QString path = picture(QStringLiteral("a.bmp"), {8, 8});
    addPicture(path);
    addPicture(picture(QStringLiteral("b.bmp"), {90, 90}));
    addPicture(picture(QStringLiteral("c.bmp"), {16, 16}));
    window->LabAction->setText(QStringLiteral("Ready."));

    QList<int> selectedRows;
    bool stateHeldDuringSending = true;
    serial->setOnOutput([&](const QByteArray &) {
        selectedRows << window->BMPList->currentRow();
        stateHeldDuringSending = stateHeldDuringSending && !window->Command7->isVisible() &&
                                 !window->Command7->isEnabled() && !window->Command6->isEnabled() &&
                                 !window->Command3->isEnabled();
    });
    QByteArray sentBeforePrompt;
    dialogs->onMessage = [&](const ScriptedDialogs::Message &message) {
        if (message.title == QStringLiteral("Starting Upload."))
            sentBeforePrompt = serial->sent();
        if (message.title == QStringLiteral("Upload finished.")) {
            EXPECT_EQ(window->LabAction->text(), QStringLiteral("Writing"));
        }
    };

    window->Command7_Click();

    ASSERT_EQ(dialogs->messages.size(), 2);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("Please reset your printer."));
    EXPECT_EQ(dialogs->messages[1].text, QStringLiteral("Done!!"));
    EXPECT_TRUE(sentBeforePrompt.isEmpty());
    EXPECT_TRUE(stateHeldDuringSending);
    EXPECT_EQ(selectedRows.first(), 2); // the header goes out with the last added row selected
    EXPECT_TRUE(selectedRows.contains(0) && selectedRows.contains(1));
    EXPECT_EQ(window->BMPList->currentRow(), 2);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_TRUE(window->Command7->isVisible() || !window->isVisible());
    EXPECT_TRUE(window->Command7->isEnabled());
    EXPECT_TRUE(window->Command6->isEnabled());
    EXPECT_TRUE(window->Command3->isEnabled());
    EXPECT_FALSE(serial->PortOpen());
    const QByteArray sent = serial->sent();
    EXPECT_TRUE(sent.startsWith(QByteArray("\x1C\x71\x03", 3)));
    EXPECT_TRUE(sent.endsWith(Finish));
    EXPECT_EQ(window->ProgressBar1->maximum(), 4); // the finish command was the last array
    EXPECT_EQ(window->ProgressBar1->value(), 4);
}

TEST_F(WindowTransfer, APortThatDoesNotOpenEndsSilently)
{
    addPicture(picture(QStringLiteral("a.bmp"), {8, 8}));
    window->LabAction->setText(QStringLiteral("earlier"));
    for (auto click : {&Main::Command7_Click, &Main::Command1_Click, &Main::Command4_Click}) {
        serial->failOpen(QStringLiteral("gone"));
        (window.get()->*click)();
    }
    EXPECT_TRUE(dialogs->messages.isEmpty());
    EXPECT_TRUE(serial->sent().isEmpty());
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("earlier"));
    EXPECT_TRUE(window->Command7->isEnabled());
    EXPECT_TRUE(window->Command1->isEnabled());
}

TEST_F(WindowTransfer, EraseShowsProcessingThenSuccess)
{
    bool eraseDisabled = false;
    QString statusWhileSending;
    serial->setOnOutput([&](const QByteArray &) {
        eraseDisabled = !window->Command1->isEnabled();
        statusWhileSending = window->LabAction->text();
    });
    window->Command1_Click();
    EXPECT_TRUE(eraseDisabled);
    EXPECT_EQ(statusWhileSending, QStringLiteral("PROCESSING"));
    EXPECT_EQ(serial->sent(), QByteArray("\x1C\x71\x00", 3) + Finish);
    ASSERT_EQ(dialogs->messages.size(), 1);
    EXPECT_EQ(dialogs->messages[0].title, QStringLiteral("Upload finished."));
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_TRUE(window->Command1->isEnabled());
}

TEST_F(WindowTransfer, PrintKeepsItsOwnButtonAndTheStatus)
{
    bool eraseDisabled = true;
    bool printEnabled = true;
    serial->setOnOutput([&](const QByteArray &) {
        eraseDisabled = eraseDisabled && !window->Command1->isEnabled();
        printEnabled = printEnabled && window->Command4->isEnabled();
    });
    window->Command4_Click();
    EXPECT_TRUE(eraseDisabled);
    EXPECT_TRUE(printEnabled);
    EXPECT_EQ(serial->sent().size(), 1020);
    EXPECT_TRUE(dialogs->messages.isEmpty());
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("Ready."));
    EXPECT_TRUE(window->Command1->isEnabled());
}

TEST_F(WindowTransfer, ASecondActionDuringAWaitLeavesTheOpenLinkAlone)
{
    serial->setCts(false);
    QTimer::singleShot(20, window.get(), [&] {
        const QStringList writesBefore = serial->writes();
        window->Command4_Click(); // print while the erase waits for CTS
        EXPECT_EQ(serial->writes(), writesBefore);
        EXPECT_TRUE(serial->PortOpen());
        serial->setCts(true);
    });
    window->Command1_Click();
    EXPECT_EQ(serial->sent(), QByteArray("\x1C\x71\x00", 3) + Finish);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_FALSE(serial->PortOpen());
}

TEST_F(WindowTransfer, ClosingTheWindowEndsAWaitClosesTheLinkAndTheWindow)
{
    addPicture(picture(QStringLiteral("a.bmp"), {8, 8}));
    window->show();
    serial->setCts(false);
    QTimer::singleShot(20, window.get(), [&] { EXPECT_FALSE(window->close()); });
    window->Command7_Click();
    EXPECT_FALSE(serial->PortOpen());
    EXPECT_NE(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_TRUE(serial->sent().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}
