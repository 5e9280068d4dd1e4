#include "MainFixture.h"
#include "PicturePreview.h"
#include "RasterPreview.h"
#include "StatusQuestions.h"
#include "modBitmap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

using modBitmap::ConversionChoices;

namespace {

class Preview : public MainFixture
{
protected:
    // A photograph's worth of greys: 600 x 400, scaled to the printer's width.
    QString greyPicture()
    {
        QImage image(600, 400, QImage::Format_RGB32);
        for (int row = 0; row < 400; ++row)
            for (int column = 0; column < 600; ++column)
                image.setPixel(column, row, qRgb(column * 255 / 600, row * 255 / 400, 90));
        const QString path = folder.filePath(QStringLiteral("grey.png"));
        EXPECT_TRUE(image.save(path));
        return path;
    }

    // The dots on screen are the record's, and the record is what the upload makes of them.
    void expectShows(const PicturePreview *preview, const QString &path,
                     const ConversionChoices &choices, int scale = 1)
    {
        const QByteArray record = modBitmap::BitmapToRaster(path, choices).record;
        ASSERT_FALSE(record.isEmpty());
        EXPECT_EQ(preview->record(), record);
        EXPECT_EQ(preview->choices(), choices);
        const QImage expected = rasterRecordToImage(record).convertToFormat(QImage::Format_RGB32);
        const QImage shown =
            preview->dots()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown, expected.scaled(expected.size() * scale));
        const QString size = QStringLiteral("%1 \u00D7 %2 dots, %3 bytes")
                                 .arg(expected.width())
                                 .arg(expected.height())
                                 .arg(record.size());
        EXPECT_EQ(preview->findChild<QLabel *>(QStringLiteral("size"))->text(), size);
    }
};

TEST_F(Preview, ShowsTheStoredDotsFollowsEachChoiceAndTheUploadSendsThem)
{
    const QString path = greyPicture();
    addPicture(path);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const QRect entry = window->BMPList->visualItemRect(window->BMPList->item(0));
    // Through the window system, as a mouse does: press, release, press within the interval.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       window->BMPList->viewport()->mapTo(window.get(), entry.center()));
    auto *preview = window->findChild<PicturePreview *>();
    ASSERT_TRUE(preview);
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    EXPECT_EQ(preview->windowModality(), Qt::WindowModal);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Preview of grey.png"));
    ConversionChoices chosen;
    expectShows(preview, path, chosen);

    auto *reduction = preview->findChild<QComboBox *>(QStringLiteral("reduction"));
    auto *threshold = preview->findChild<QSpinBox *>(QStringLiteral("threshold"));
    auto *width = preview->findChild<QSpinBox *>(QStringLiteral("width"));
    auto *enlarge = preview->findChild<QCheckBox *>(QStringLiteral("enlarge"));
    threshold->setFocus();
    QTest::keyClick(threshold, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(threshold, QStringLiteral("200"));
    chosen.thresholdLevel = 200;
    expectShows(preview, path, chosen);

    reduction->setFocus();
    QTest::keyClick(reduction, Qt::Key_Down);
    chosen.reduction = modBitmap::Reduction::FloydSteinberg;
    expectShows(preview, path, chosen);
    EXPECT_FALSE(threshold->isEnabled());

    // A width that is no whole number of bytes comes down to one.
    width->setFocus();
    QTest::keyClick(width, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(width, QStringLiteral("390"));
    QTest::keyClick(width, Qt::Key_Return);
    chosen.widthDots = 384;
    expectShows(preview, path, chosen);
    // 600 x 400 at 384 dots: X = 48, Y = 32; the read-outs count it so.
    EXPECT_EQ(window->NumberNotify->toolTip(), QString::number(48 * 32 * 8));

    // On the box itself: the check box spans the form's column, wider than its text.
    const QSize before = preview->size();
    QTest::mouseClick(enlarge, Qt::LeftButton, {}, QPoint(6, enlarge->height() / 2));
    expectShows(preview, path, chosen, 2);
    // Enlarged within the screen's available area, scrolling the rest; back when unticked.
    EXPECT_TRUE(preview->screen()->availableGeometry().contains(preview->frameGeometry()));
    QTest::mouseClick(enlarge, Qt::LeftButton, {}, QPoint(6, enlarge->height() / 2));
    EXPECT_EQ(preview->size(), before);

    QTest::keyClick(preview, Qt::Key_Escape);
    EXPECT_FALSE(preview->isVisible());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->Command7, Qt::LeftButton);
    EXPECT_EQ(maskedIds(serial->sent()), BeforeJob + QByteArray("\x1C\x71\x01", 3) +
                                             modBitmap::BitmapToRaster(path, chosen).record +
                                             QByteArray("\x1D\x07\x02\x01\x01", 5) +
                                             DeliveryQuestion);
}

} // namespace
