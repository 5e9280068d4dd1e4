#include "MainFixture.h"
#include "PseudoTerminal.h"
#include "QtSerialControl.h"
#include "RasterPreview.h"
#include "StatusQuestions.h"
#include "VirtualPrinterProcess.h"
#include "modBitmap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Generous: the printer shares a loaded machine with the test.
constexpr int LogWaitMs = 15000;

// An upright, unmirrored shape whose every quadrant differs.
QImage asymmetricPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() / 3; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0)); // a bar down the left
    }
    for (int x = 0; x < size.width(); ++x)
        image.setPixel(x, 0, qRgb(0, 0, 0)); // a line along the top
    image.setPixel(size.width() - 1, size.height() - 1, qRgb(0, 0, 0));
    return image;
}

} // namespace

class WindowAndPrinter : public MainFixture
{
protected:
    void SetUp() override {}

    // A window with the real serial control, its port box naming port.
    void
    createWindowOn(const QString &port,
                   std::unique_ptr<QtSerialControl> control = std::make_unique<QtSerialControl>())
    {
        createWindowWith(std::move(control), {});
        window->cmbPortList->setEditText(port);
    }
};

TEST_F(WindowAndPrinter, UploadsThreePicturesThenPrintsThemAsTheirRecords)
{
    QTemporaryDir out;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(out.path()));
    createWindowOn(printer.address());

    QStringList paths;
    const QList<QSize> sizes{{8, 8}, {90, 90}, {512, 256}};
    for (int i = 0; i < sizes.size(); ++i) {
        const QString path = folder.filePath(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(asymmetricPicture(sizes[i]).save(path));
        addPicture(path);
        paths << path;
    }
    window->Command7_Click();
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    ASSERT_TRUE(printer.waitForLog(QStringLiteral("FS q: stored 3 NV images"), LogWaitMs));

    window->Command4_Click();
    ASSERT_TRUE(printer.waitForLog(QStringLiteral("FS p: no NV image 255"), LogWaitMs));
    for (int i = 0; i < paths.size(); ++i) {
        const QString printed = printer.outPath(QStringLiteral("print-%1-nv%2.png")
                                                    .arg(i + 1, 4, 10, QLatin1Char('0'))
                                                    .arg(i + 1, 2, 10, QLatin1Char('0')));
        const QImage expected = rasterRecordToImage(modBitmap::BitmapToRaster(paths[i]).record);
        EXPECT_EQ(QImage(printed).convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32))
            << printed.toStdString();
    }
}

TEST_F(WindowAndPrinter, StoresThreePicturesAsNvGraphicsAndPrintsEachDotForDot)
{
    QTemporaryDir out;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(out.path()));
    createWindowOn(printer.address());
    // Black and white, whole bytes wide and at most 512 dots: the dots are the pixels.
    QList<QImage> pictures;
    for (const QSize size : {QSize(8, 8), QSize(96, 40), QSize(512, 256)}) {
        pictures << asymmetricPicture(size);
        const QString path = folder.filePath(QStringLiteral("p%1.png").arg(pictures.size()));
        ASSERT_TRUE(pictures.last().save(path));
        addPicture(path);
    }
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    QTest::mouseClick(window->chkNvGraphics, Qt::LeftButton);
    QTest::mouseClick(window->Command7, Qt::LeftButton);
    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    ASSERT_EQ(dialogs->messages.size(), 1);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("verified: 3 graphics stored"));

    QTest::mouseClick(window->Command4, Qt::LeftButton);
    ASSERT_TRUE(printer.waitForLog(QStringLiteral("printed graphic \"03\""), LogWaitMs))
        << printer.log().toStdString();
    for (int i = 0; i < pictures.size(); ++i) {
        const QString printed =
            printer.outPath(QStringLiteral("print-000%1-key0%1.png").arg(i + 1));
        EXPECT_EQ(QImage(printed).convertToFormat(QImage::Format_RGB32),
                  pictures[i].convertToFormat(QImage::Format_RGB32))
            << printed.toStdString();
    }
    EXPECT_FALSE(printer.log().contains(QStringLiteral("key04")));
}

TEST_F(WindowAndPrinter, UploadsToANetworkPrinterTypedIntoThePortBox)
{
    QTemporaryDir out;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(out.path(), {"--tcp", "0"}));
    createWindowOn(QString());
    const QString path = folder.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(asymmetricPicture({64, 32}).save(path));
    addPicture(path);

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->cmbPortList->setFocus();
    QTest::keyClicks(window->cmbPortList->lineEdit(), "tcp://" + printer.address());
    QTest::mouseClick(window->Command7, Qt::LeftButton);

    EXPECT_EQ(window->LabAction->text(), QStringLiteral("SUCCESS"));
    ASSERT_EQ(dialogs->messages.size(), 2);
    EXPECT_EQ(dialogs->messages[1].text, QStringLiteral("Done!!"));
    const QByteArray expected = BeforeJob + QByteArray::fromHex("1c7101") +
                                modBitmap::BitmapToRaster(path).record +
                                QByteArray::fromHex("1d07020101") + DeliveryQuestion;
    EXPECT_EQ(printer.streamOfSize(expected.size(), LogWaitMs), expected);
    ASSERT_TRUE(printer.waitForLog(QStringLiteral("FS q: stored 1 NV image"), LogWaitMs));
}

TEST_F(WindowAndPrinter, APulledDeviceEndsTheUploadAsFailedWithTheLinkClosed)
{
    PseudoTerminal device;
    ASSERT_TRUE(device.isOpen());
    auto serialControl = std::make_unique<QtSerialControl>();
    QtSerialControl *control = serialControl.get();
    createWindowOn(device.slavePath(), std::move(serialControl));
    const QString path = picture(QStringLiteral("big.bmp"), {512, 256});
    for (int i = 0; i < 8; ++i)
        addPicture(path);

    // Nobody reads the pseudo-terminal, so the upload stalls once its buffer is full; then the
    // device goes away.
    dialogs->onMessage = [&](const ScriptedDialogs::Message &message) {
        if (message.title == QStringLiteral("Starting Upload."))
            QTimer::singleShot(200, [&device] { device.closeMaster(); });
    };
    window->Command7_Click();

    EXPECT_EQ(window->LabAction->text(), QStringLiteral("FAILED"));
    ASSERT_EQ(dialogs->messages.size(), 2);
    EXPECT_EQ(dialogs->messages[1].title, QStringLiteral("Transfer failed."));
    EXPECT_FALSE(control->PortOpen());
    EXPECT_TRUE(window->Command7->isEnabled());
    EXPECT_TRUE(window->Command6->isEnabled());
}
