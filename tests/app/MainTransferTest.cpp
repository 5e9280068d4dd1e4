#include "MainFixture.h"
#include "StatusLabel.h"
#include "StatusQuestions.h"
#include "TransferTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <utility>

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
    const QByteArray sent = maskedIds(serial->sent());
    EXPECT_TRUE(sent.startsWith(BeforeJob + QByteArray("\x1C\x71\x03", 3)));
    EXPECT_TRUE(sent.endsWith(Finish + DeliveryQuestion));
    EXPECT_EQ(window->ProgressBar1->maximum(), 4); // the finish command was the last array
    EXPECT_EQ(window->ProgressBar1->value(), 4);
}

// An earlier job's SUCCESS must not stand for this one; the box says why, as the command
// line does.
TEST_F(WindowTransfer, APortThatDoesNotOpenShowsFailedAndWhy)
{
    addPicture(picture(QStringLiteral("a.bmp"), {8, 8}));
    const struct
    {
        void (Main::*click)();
        const char *status;
    } clicks[] = {{&Main::Command7_Click, "FAILED"},
                  {&Main::Command1_Click, "FAILED"},
                  {&Main::Command4_Click, "FAILED"}};
    for (const auto &[click, status] : clicks) {
        window->LabAction->setText(QStringLiteral("SUCCESS"));
        dialogs->messages.clear();
        serial->failOpen(QStringLiteral("gone"));
        (window.get()->*click)();
        EXPECT_EQ(window->LabAction->text(), QLatin1String(status));
        ASSERT_EQ(dialogs->messages.size(), 1);
        EXPECT_EQ(dialogs->messages[0].title, TransferTexts::FailedTitle);
        EXPECT_EQ(dialogs->messages[0].text, TransferTexts::linkNotOpened("COM1:", "gone"));
    }
    EXPECT_TRUE(serial->sent().isEmpty());
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
    EXPECT_EQ(maskedIds(serial->sent()),
              BeforeJob + QByteArray("\x1C\x71\x00", 3) + Finish + DeliveryQuestion);
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
    EXPECT_EQ(serial->sent().size(), BeforeJob.size() + 1020 + DeliveryQuestion.size());
    EXPECT_TRUE(dialogs->messages.isEmpty());
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_TRUE(window->Command1->isEnabled());
}

TEST_F(WindowTransfer, APrintShowsItsOwnOutcomeAfterAFailedOne)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct
    {
        const char *answers; // to DLE EOT 1 to 4
        const char *status;
        qsizetype boxes;
    } prints[] = {{"1a161212", "FAILED", 1}, {"12121212", "SUCCESS", 0}, {"1a161212", "FAILED", 1}};
    for (const auto &print : prints) {
        SCOPED_TRACE(print.answers);
        serial->setStatusAnswers(QByteArray::fromHex(print.answers));
        dialogs->messages.clear();
        QTest::mouseClick(window->Command4, Qt::LeftButton);
        EXPECT_EQ(window->LabAction->text(), QLatin1String(print.status));
        EXPECT_EQ(dialogs->messages.size(), print.boxes);
    }
    // The longest status is drawn whole in a smaller font; the label keeps its own.
    window->setStatus(TransferTexts::WaitingForPrinter);
    const auto *status = static_cast<StatusLabel *>(window->LabAction);
    EXPECT_LE(QFontMetrics(status->shownFont()).horizontalAdvance(status->text()),
              status->contentsRect().width());
    EXPECT_EQ(status->font().pointSizeF(), 13.5);
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
    EXPECT_EQ(maskedIds(serial->sent()),
              BeforeJob + QByteArray("\x1C\x71\x00", 3) + Finish + DeliveryQuestion);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_FALSE(serial->PortOpen());
}

TEST_F(WindowTransfer, ClosingTheWindowEndsAWaitClosesTheLinkAndTheWindow)
{
    addPicture(picture(QStringLiteral("a.bmp"), {8, 8}));
    window->show();
    serial->setCts(false);
    // The close arrives once the job waits on the printer, however long the conversion took.
    bool closeAsked = false;
    serial->setOnOutput([&](const QByteArray &) {
        if (!std::exchange(closeAsked, true))
            QTimer::singleShot(0, window.get(), [&] { EXPECT_FALSE(window->close()); });
    });
    window->Command7_Click();
    EXPECT_FALSE(serial->PortOpen());
    EXPECT_NE(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_EQ(maskedIds(serial->sent()), BeforeJob);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTransfer, EachPrinterStateAfterARealClick)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(window->cmbPortList->currentText(), QStringLiteral("COM1:"));
    const QString failed = QStringLiteral("Transfer failed.");
    const struct
    {
        const char *answers; // to DLE EOT 1 to 4; none from a one-way line
        const char *status;
        QList<ScriptedDialogs::Message> boxes;
        bool erased;
    } table[] = {
        {"1a161212",
         "FAILED",
         {{"The printer cannot take the job: offline, cover open. Nothing was sent.", failed}},
         false},
        {"1a32127e",
         "FAILED",
         {{"The printer cannot take the job: offline, paper end, paper near end. Nothing was "
           "sent.",
           failed}},
         false},
        {"1a121212",
         "FAILED",
         {{"The printer cannot take the job: offline. Nothing was sent.", failed}},
         false},
        {"1212121e",
         "SUCCESS",
         {{"The printer's paper is near its end.", "Printer warning."},
          {"Done!!", "Upload finished."}},
         true},
        {"", "SUCCESS", {{"Done!!", "Upload finished."}}, true},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.answers);
        serial->setStatusAnswers(QByteArray::fromHex(row.answers));
        dialogs->messages.clear();
        const qsizetype before = serial->sent().size();

        QTest::mouseClick(window->Command1, Qt::LeftButton);

        EXPECT_EQ(window->LabAction->text(), QString::fromLatin1(row.status));
        ASSERT_EQ(dialogs->messages.size(), row.boxes.size());
        for (qsizetype i = 0; i < row.boxes.size(); ++i) {
            EXPECT_EQ(dialogs->messages[i].text, row.boxes[i].text);
            EXPECT_EQ(dialogs->messages[i].title, row.boxes[i].title);
        }
        // Only a printer that answered before the job is asked again after it.
        const bool answers = !QByteArray(row.answers).isEmpty();
        const QByteArray erase = (answers ? ProcessIdQuestion : "") +
                                 QByteArray("\x1C\x71\x00", 3) + Finish +
                                 (answers ? DeliveryQuestion : "");
        EXPECT_EQ(maskedIds(serial->sent().sliced(before)),
                  (answers ? StatusQuestions : SilentQuestion) + (row.erased ? erase : ""));
        EXPECT_FALSE(serial->PortOpen());
        EXPECT_TRUE(window->Command1->isEnabled());
    }
}

TEST_F(WindowTransfer, TheNvGraphicsBoxChoosesTheCommandSetWithTheSameWindowStates)
{
    const QByteArray deleteAll = QByteArray::fromHex("1D284C 0500 3041 434C52");
    addPicture(picture(QStringLiteral("a.bmp"), {8, 8}));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QRect uploadRect = window->Command7->geometry();
    EXPECT_FALSE(window->chkNvGraphics->isChecked());
    QTest::mouseClick(window->chkNvGraphics, Qt::LeftButton);
    ASSERT_TRUE(window->chkNvGraphics->isChecked());

    // A printer that cannot answer loses its graphics only once the operator says Yes.
    serial->setStatusAnswers({});
    dialogs->answerYes = false;
    QTest::mouseClick(window->Command7, Qt::LeftButton);
    ASSERT_EQ(dialogs->messages.size(), 2);
    EXPECT_EQ(dialogs->messages[0].text, TransferTexts::deleteAllQuestion(1));
    EXPECT_EQ(dialogs->messages[0].title, TransferTexts::DeleteTitle);
    EXPECT_EQ(dialogs->messages[1].text, TransferTexts::deleteAllNotConfirmed());
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("FAILED"));
    EXPECT_EQ(serial->sent(), SilentQuestion);

    dialogs->answerYes = true;
    dialogs->messages.clear();
    bool statesHeld = true;
    serial->setOnOutput([&](const QByteArray &) {
        statesHeld = statesHeld && !window->Command7->isVisible() &&
                     !window->Command6->isEnabled() && !window->Command3->isEnabled();
    });
    QTest::mouseClick(window->Command7, Qt::LeftButton);
    EXPECT_TRUE(statesHeld);
    ASSERT_EQ(dialogs->messages.size(), 2);
    EXPECT_EQ(dialogs->messages[1].text,
              QStringLiteral("not verified (the printer does not answer)"));
    EXPECT_EQ(dialogs->messages[1].title, QStringLiteral("Upload finished."));
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    EXPECT_TRUE(
        serial->sent().sliced(SilentQuestion.size()).startsWith(SilentQuestion + deleteAll));
    EXPECT_TRUE(window->Command7->isVisible() && window->Command7->isEnabled());
    EXPECT_EQ(window->Command7->geometry(), uploadRect);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvane Ver.0.9"));

    serial->setOnOutput({});
    qsizetype before = serial->sent().size();
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(serial->sent().mid(before), SilentQuestion + deleteAll);

    // Unchecked by the keyboard, the next erase is the bit-image one again.
    window->chkNvGraphics->setFocus();
    QTest::keyClick(window->chkNvGraphics, Qt::Key_Space);
    ASSERT_FALSE(window->chkNvGraphics->isChecked());
    before = serial->sent().size();
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(serial->sent().mid(before), SilentQuestion + QByteArray("\x1C\x71\x00", 3) + Finish);
}
