#include "MainFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using MainWindow = MainFixture;

TEST_F(MainWindow, HasTheFixedFrameAndCaption)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Orvane Ver.0.9"));
    EXPECT_EQ(window->size(), QSize(368, 248));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST_F(MainWindow, PlacesEveryControlAtItsTwipsRectangle)
{
    const std::vector<std::pair<QWidget *, QRect>> expected{
        {window->Label4[0], {8, 8, 25, 25}},
        {window->Label1, {32, 12, 169, 17}},
        {window->cmbPortList, {112, 8, 89, 21}},
        {window->Label3, {32, 32, 169, 17}},
        {window->Label4[1], {8, 56, 25, 25}},
        {window->Label2, {32, 60, 137, 17}},
        {window->CmbBaudRate, {112, 56, 89, 21}},
        {window->Label4[2], {8, 88, 25, 25}},
        {window->Command6, {32, 88, 169, 25}},
        {window->Command3, {32, 112, 169, 25}},
        {window->Label4[3], {8, 144, 25, 25}},
        {window->Command7, {32, 144, 169, 25}},
        {window->ProgressBar1, {32, 144, 169, 25}},
        {window->Command1, {32, 184, 169, 25}},
        {window->Command4, {32, 216, 169, 25}},
        {window->NumberNotify, {216, 8, 137, 17}},
        {window->BMPList, {216, 32, 137, 119}},
        {window->PathList, {216, 32, 137, 119}},
        {window->SizeNotify, {216, 152, 137, 17}},
        {window->LabAction, {216, 184, 137, 25}},
        // Added in the free space beside Print, clear of every control above.
        {window->chkNvGraphics, {216, 216, 137, 25}},
    };
    for (const auto &[widget, rect] : expected)
        EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();
}

TEST_F(MainWindow, ShowsCaptionsFontsAndColours)
{
    EXPECT_EQ(window->Label1->text(), QStringLiteral("Select the Port\uFF1A"));
    EXPECT_EQ(window->Label2->text(), QStringLiteral("Set BaudRate\uFF1A"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window->Label4[i]->text(), QStringLiteral("%1.").arg(i + 1));
        EXPECT_EQ(textColour(window->Label4[i]), QColor(Qt::red));
        EXPECT_DOUBLE_EQ(window->Label4[i]->font().pointSizeF(), 9.75);
    }
    EXPECT_EQ(window->Command6->text(), QStringLiteral("Add Image"));
    EXPECT_EQ(window->Command3->text(), QStringLiteral("Remove Image"));
    EXPECT_EQ(window->Command7->text(), QStringLiteral("Upload Image"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Erase Uploaded Image"));
    EXPECT_EQ(window->Command4->text(), QStringLiteral("Print Uploaded Image"));
    EXPECT_DOUBLE_EQ(window->LabAction->font().pointSizeF(), 13.5);
    EXPECT_EQ(textColour(window->LabAction), QColor(Qt::red));
    EXPECT_EQ(window->ProgressBar1->minimum(), 0);
    EXPECT_EQ(window->ProgressBar1->maximum(), 100);
    EXPECT_EQ(window->ProgressBar1->value(), 0);
}

TEST_F(MainWindow, StartsLoadedAndReady)
{
    EXPECT_EQ(window->cmbPortList->currentText(), QStringLiteral("COM1:"));
    EXPECT_EQ(window->cmbPortList->count(), 2);
    QStringList rates;
    for (int i = 0; i < window->CmbBaudRate->count(); ++i)
        rates << window->CmbBaudRate->itemText(i);
    EXPECT_EQ(rates, QStringList({"9600", "19200", "38400", "115200"}));
    EXPECT_EQ(window->CmbBaudRate->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(window->BMPList->count(), 0);
    EXPECT_EQ(window->PathList->count(), 0);
    expectReadOuts(QStringLiteral("Raster Data Invalid!"), QStringLiteral("No Bitmap selected!"),
                   QColor(Qt::red), QStringLiteral("0"), false);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("Ready."));
    EXPECT_TRUE(window->Label3->text().isEmpty());
}

TEST_F(MainWindow, StacksTheButtonOverTheBarAndTheNamesOverThePaths)
{
    const QObjectList order = window->children();
    EXPECT_GT(order.indexOf(window->Command7), order.indexOf(window->ProgressBar1));
    EXPECT_GT(order.indexOf(window->BMPList), order.indexOf(window->PathList));
    EXPECT_LT(order.indexOf(window->Label1), order.indexOf(window->cmbPortList));
    EXPECT_LT(order.indexOf(window->Label2), order.indexOf(window->CmbBaudRate));
}

TEST_F(MainWindow, StartsWithFocusOnAddImageAndTabsInTabIndexOrder)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->Command6);
    const QList<QWidget *> expected{window->cmbPortList, window->BMPList,       window->Command3,
                                    window->PathList,    window->Command1,      window->Command4,
                                    window->CmbBaudRate, window->chkNvGraphics, window->Command6};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(MainWindow, TheTimeOutTimerTicksOnceWithNothingVisible)
{
    EXPECT_TRUE(window->TimeOutCount->isActive());
    EXPECT_EQ(window->TimeOutCount->interval(), 1000);
    EXPECT_FALSE(window->LoopCount->isActive());
    EXPECT_EQ(window->LoopCount->interval(), 100);
    EXPECT_FALSE(window->Timer->isActive());
    const QString status = window->LabAction->text();
    QTest::qWait(1100);
    EXPECT_FALSE(window->TimeOutCount->isActive());
    EXPECT_EQ(window->LabAction->text(), status);
}

TEST_F(MainWindow, ClosesWithoutAnyMessage)
{
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(dialogs->messages.isEmpty());
    EXPECT_TRUE(serial->writes().isEmpty());
}

TEST_F(MainWindow, LeavesThePortBoxEmptyAndEditableWhenNoPortIsFound)
{
    createWindow({QStringLiteral("FILE:")});
    EXPECT_EQ(window->cmbPortList->count(), 0);
    EXPECT_TRUE(window->cmbPortList->currentText().isEmpty());
    EXPECT_TRUE(window->cmbPortList->isEditable());
}

TEST_F(MainWindow, AsksForTheInstalledPrintersOnceAtStartUp)
{
    // Each question may wait seconds on a print system that does not answer.
    EXPECT_EQ(machine->printerQueries, 1);
    window->cmbPortList_Change();
    EXPECT_EQ(machine->printerQueries, 1);
}

// Qt's editable boxes complete typing from their lists and, on Enter, swap the text for an
// entry matched regardless of case: the job would go to another port or at another rate.
TEST_F(MainWindow, TheBoxesKeepExactlyWhatIsTyped)
{
    createWindow({QStringLiteral("/dev/pts/10"), QStringLiteral("COM1:")},
                 {{QStringLiteral("COM1:"), QStringLiteral("Receipt 80")}});
    ASSERT_EQ(window->cmbPortList->itemText(0), QStringLiteral("COM1: (Used)"));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto type = [](QComboBox *box, const QString &text, Qt::Key last) {
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), last);
        return box->currentText();
    };
    // The entry carries " (Used)": it is no printer's port.
    QTest::mouseClick(window->cmbPortList->lineEdit(), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window->Label3->text(), QStringLiteral("DriverName : "));

    EXPECT_EQ(type(window->cmbPortList, QStringLiteral("/dev/pts/1"), Qt::Key_Tab),
              QStringLiteral("/dev/pts/1"));
    EXPECT_EQ(type(window->cmbPortList, QStringLiteral("COM1:"), Qt::Key_Tab),
              QStringLiteral("COM1:"));
    EXPECT_EQ(window->Label3->text(), QStringLiteral("DriverName : Receipt 80"));
    EXPECT_EQ(type(window->CmbBaudRate, QStringLiteral("1"), Qt::Key_Tab), QStringLiteral("1"));
    EXPECT_EQ(type(window->cmbPortList, QStringLiteral("com1:"), Qt::Key_Return),
              QStringLiteral("com1:"));
}
