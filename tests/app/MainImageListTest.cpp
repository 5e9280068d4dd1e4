#include "MainFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Every pixel of the label's outer edge in the window's text colour, and text in the tone.
void expectPlainBorderAroundTone(QLabel *label, const QColor &tone)
{
    const QImage shot = label->grab().toImage();
    const QRgb border = label->parentWidget()->palette().color(QPalette::WindowText).rgb();
    ASSERT_NE(border, tone.rgb());
    const QRect edge = shot.rect();
    int offEdge = 0;
    int toned = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const bool onEdge =
                x == edge.left() || x == edge.right() || y == edge.top() || y == edge.bottom();
            offEdge += onEdge && shot.pixel(x, y) != border;
            // Smoothed glyph edges blend the tone with white: same hue, less saturation.
            toned += !onEdge && QColor(shot.pixel(x, y)).hue() == tone.hue();
        }
    }
    EXPECT_EQ(offEdge, 0) << label->objectName().toStdString();
    EXPECT_GT(toned, 0) << label->objectName().toStdString();
}

} // namespace

using ImageList = MainFixture;

TEST_F(ImageList, ReadOutsFrameTheirColouredTextWithAPlainBorder)
{
    expectPlainBorderAroundTone(window->NumberNotify, Qt::red);
    expectPlainBorderAroundTone(window->SizeNotify, Qt::red);
    addPicture(picture(QStringLiteral("logo.bmp"), {512, 256}));
    expectPlainBorderAroundTone(window->NumberNotify, Qt::blue);
    expectPlainBorderAroundTone(window->SizeNotify, Qt::blue);
}

TEST_F(ImageList, AddsAPictureAndShowsItsShareOfTheStore)
{
    const QString path = picture(QStringLiteral("logo.bmp"), {512, 256});
    addPicture(path);
    EXPECT_EQ(dialogs->lastTitle, QStringLiteral("\u8B80\u53D6\u5716\u6A94"));
    EXPECT_EQ(dialogs->lastFilter, QStringLiteral("*.*"));
    EXPECT_EQ(rows(window->BMPList), QStringList{"logo.bmp"});
    EXPECT_EQ(rows(window->PathList), QStringList{path});
    EXPECT_EQ(window->BMPList->currentRow(), 0);
    EXPECT_EQ(window->PathList->currentRow(), 0);
    expectReadOuts(QStringLiteral("1 % of 2M bytes used"), QStringLiteral("1 Bitmap selected."),
                   QColor(Qt::blue), QStringLiteral("16384"), true);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("Ready."));
}

TEST_F(ImageList, RefusesWhatIsNotAPictureAndACancelledDialog)
{
    const QString text = folder.filePath(QStringLiteral("notes.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    addPicture(text);
    addPicture(picture(QStringLiteral("taller.bmp"), {64, 2312})); // more than a printer stores
    window->Command6_Click(); // cancelled: the dialog returns nothing
    EXPECT_EQ(window->BMPList->count(), 0);
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Invalid!"));
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("Ready."));
    EXPECT_TRUE(dialogs->messages.isEmpty());
}

TEST_F(ImageList, ListsAndCountsTheSameFileTwice)
{
    const QString path = picture(QStringLiteral("logo.png"), {512, 256}, "PNG");
    addPicture(path);
    addPicture(path);
    EXPECT_EQ(rows(window->BMPList), QStringList({"logo.png", "logo.png"}));
    EXPECT_EQ(window->NumberNotify->toolTip(), QStringLiteral("32768"));
    EXPECT_EQ(window->NumberNotify->text(), QStringLiteral("2 Bitmap selected."));
    EXPECT_EQ(window->BMPList->currentRow(), 1);
}

TEST_F(ImageList, RemovesTheSelectedEntryAndSelectsTheLast)
{
    const QString a = picture(QStringLiteral("a.bmp"), {512, 256});
    const QString b = picture(QStringLiteral("b.bmp"), {100, 100});
    const QString c = picture(QStringLiteral("c.bmp"), {90, 90});
    addPicture(a);
    addPicture(b);
    addPicture(c);
    EXPECT_EQ(window->NumberNotify->toolTip(), QStringLiteral("18504"));
    window->BMPList->setCurrentRow(1);
    window->Command3_Click();
    EXPECT_EQ(rows(window->BMPList), QStringList({"a.bmp", "c.bmp"}));
    EXPECT_EQ(rows(window->PathList), QStringList({a, c}));
    EXPECT_EQ(window->BMPList->currentRow(), 1);
    EXPECT_EQ(window->NumberNotify->toolTip(), QStringLiteral("17352"));

    window->Command3_Click();
    window->Command3_Click();
    EXPECT_EQ(window->BMPList->count(), 0);
    EXPECT_EQ(window->BMPList->currentRow(), -1);
    window->Command3_Click(); // nothing selected: only the status is recomputed
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Invalid!"));
    EXPECT_FALSE(window->Command7->isEnabled());
}

TEST_F(ImageList, APictureWithoutRasterDataLeavesTheListEmptyInStatus)
{
    addPicture(picture(QStringLiteral("narrow.bmp"), {7, 100}));
    EXPECT_EQ(window->BMPList->count(), 1);
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Invalid!"));
    EXPECT_EQ(window->NumberNotify->text(), QStringLiteral("No Bitmap selected!"));
    EXPECT_FALSE(window->Command7->isEnabled());
}

TEST_F(ImageList, OverflowsAtThe129thFullPictureAndRecoversOnRemove)
{
    const QString path = picture(QStringLiteral("full.bmp"), {512, 256});
    for (int i = 0; i < 128; ++i) {
        window->AddImageEntry(QStringLiteral("full.bmp"), path);
    }
    window->UpdateImageStatus();
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("100 % of 2M bytes used"));
    EXPECT_TRUE(window->Command7->isEnabled());
    addPicture(path);
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Overflow!"));
    EXPECT_EQ(textColour(window->SizeNotify), QColor(Qt::red));
    EXPECT_EQ(window->NumberNotify->text(), QStringLiteral("129 Bitmap selected."));
    EXPECT_EQ(textColour(window->NumberNotify), QColor(Qt::blue));
    EXPECT_FALSE(window->Command7->isEnabled());
    // NV graphics count their own total, which the printer judges at upload.
    window->chkNvGraphics->click();
    expectReadOuts(QStringLiteral("NV graphics: 2113536 bytes"),
                   QStringLiteral("129 graphics selected."), Qt::blue, QStringLiteral("2113536"),
                   true);
    window->chkNvGraphics->click();
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Overflow!"));
    window->Command3_Click();
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("100 % of 2M bytes used"));
    EXPECT_TRUE(window->Command7->isEnabled());
}

// Dropped files go through Add Image one by one in the order dropped; the menu and the keys
// move both lists together, and each entry's tooltip follows its place.
TEST_F(ImageList, DropsAddInOrderAndTheMenuAndKeysReorderBothLists)
{
    const QString a = picture(QStringLiteral("a.bmp"), {8, 8});
    const QString b = picture(QStringLiteral("b.png"), {16, 16}, "PNG");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(folder.filePath("none.txt")),
                   QUrl::fromLocalFile(a)});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QDragEnterEvent enter({20, 20}, Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.get(), &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->BMPList->count() == 2; }));
    EXPECT_EQ(rows(window->PathList), QStringList({b, a}));
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("Ready."));

    QTest::keyClick(window->BMPList, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(rows(window->BMPList), QStringList({"a.bmp", "b.png"}));
    EXPECT_EQ(rows(window->PathList), QStringList({a, b}));
    EXPECT_EQ(window->PathList->currentRow(), 0);
    EXPECT_EQ(window->BMPList->item(1)->toolTip(),
              QStringLiteral("The next upload stores it as NV image 2"));

    QTimer::singleShot(0, window.get(), [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        QAction *moveUp = menu->actions().at(2);
        ASSERT_EQ(moveUp->text(), QStringLiteral("Move Up"));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(moveUp).center());
    });
    const QRect second = window->BMPList->visualItemRect(window->BMPList->item(1));
    // Through the window system, which turns a right click into the context menu's event.
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                      window->BMPList->viewport()->mapTo(window.get(), second.center()));
    EXPECT_EQ(rows(window->PathList), QStringList({b, a}));
    window->chkNvGraphics->click();
    EXPECT_EQ(window->BMPList->item(0)->toolTip(),
              QStringLiteral("The next upload stores it as the NV graphic with key 01"));
    QTest::keyClick(window->BMPList, Qt::Key_Delete);
    EXPECT_EQ(rows(window->PathList), QStringList({a}));
}

TEST_F(ImageList, NamesAListedFileThatCanNoLongerBeRead)
{
    const QString kept = picture(QStringLiteral("kept.bmp"), {512, 256});
    const QString gone = picture(QStringLiteral("gone.bmp"), {512, 256});
    addPicture(kept);
    addPicture(gone);
    ASSERT_TRUE(QFile::remove(gone));
    window->BMPList->setCurrentRow(0);
    window->Command3_Click();
    ASSERT_EQ(dialogs->messages.size(), 1);
    EXPECT_TRUE(dialogs->messages[0].text.contains(gone));
    EXPECT_EQ(window->SizeNotify->text(), QStringLiteral("Raster Data Invalid!"));
    EXPECT_EQ(rows(window->BMPList), QStringList{"gone.bmp"});
}
