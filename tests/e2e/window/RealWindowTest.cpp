#include "DeleteWindowMessage.h"
#include "Polling.h"
#include "QtPrinters.h"
#include "ScreenFacts.h"
#include "StatusQuestions.h"
#include "TiedProcess.h"
#include "VirtualDisplay.h"
#include "VirtualPrinterProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace ScreenFacts;

namespace {

// Generous: CI runs this beside other tests on a loaded two-core machine.
constexpr int WaitMs = 20000;

// The layout is given in twips, 15 to a pixel, from the client area's top-left corner.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// The two boxes share a size, as do the buttons down the left; the right column shares a width.
QRect box(int top)
{
    return twips(1680, top, 1335, 315);
}

QRect button(int top)
{
    return twips(480, top, 2535, 375);
}

QRect rightColumn(int top, int height)
{
    return twips(3240, top, 2055, height);
}

const QRect PortBox = box(120);
const QRect RateBox = box(840);
const QRect PortCaption = twips(480, 180, 2535, 255);
const QRect RateCaption = twips(480, 900, 2055, 255);
const QRect AddButton = button(1320);
const QRect RemoveButton = button(1680);
const QRect UploadButton = button(2160);
const QRect EraseButton = button(2760);
const QRect PrintButton = button(3240);
const QRect NumberNotify = rightColumn(120, 255);
const QRect ImageList = rightColumn(480, 1785);
const QRect SizeNotify = rightColumn(2280, 255);
const QRect LabAction = rightColumn(2760, 375);
const int StepTops[] = {120, 840, 1320, 2160};

QRect insideFrame(const QRect &rect)
{
    return rect.adjusted(1, 1, -1, -1);
}

bool statusShown(const QImage &shot)
{
    return count(shot, LabAction, isRed) > 0;
}

bool readOutsBlue(const QImage &shot)
{
    return count(shot, insideFrame(NumberNotify), isBlue) > 0 &&
           count(shot, insideFrame(SizeNotify), isBlue) > 0;
}

bool uploadButtonLive(const QImage &shot)
{
    return misplacedSides(shot, UploadButton).isEmpty() &&
           count(shot, insideFrame(UploadButton), isBlack) > 0;
}

// xdotool matches names as extended regular expressions; the titles are literal.
QString titlePattern(const QString &title)
{
    QString pattern(QLatin1Char('^'));
    for (QChar c : title) {
        if (QStringLiteral(".[](){}*+?|^$\\").contains(c))
            pattern += QLatin1Char('\\');
        pattern += c;
    }
    return pattern + QLatin1Char('$');
}

// The value after "label:" on the line where it stands, as xwininfo and xprop print it.
QString field(const QString &output, const QString &label)
{
    const QRegularExpression line(
        QStringLiteral(R"(^\s*%1\s*[:=]\s*(.*)$)").arg(QRegularExpression::escape(label)),
        QRegularExpression::MultilineOption);
    return line.match(output).captured(1).trimmed();
}

} // namespace

// The real program in a real X server: what it shows, and what real clicks and keys do.
class RealWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_work.isValid());
        ASSERT_TRUE(QDir().mkpath(runtimeDir()));
        // Qt wants a runtime folder that only its owner may enter.
        ASSERT_TRUE(QFile::setPermissions(runtimeDir(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString displayError = m_display.start(QStringLiteral(XVFB_EXE), WaitMs);
        ASSERT_TRUE(displayError.isEmpty()) << displayError.toStdString();

        const bool printing =
            m_printer.start(m_work.filePath(QStringLiteral("printer")),
                            {QStringLiteral("--link"), printerLink()}, QDeadlineTimer(WaitMs));
        ASSERT_TRUE(printing && m_printer.address().startsWith(QLatin1String("/dev/")))
            << m_printer.errorOutput().toStdString();

        ASSERT_TRUE(m_app.start(QStringLiteral(ORVANE_EXE),
                                {QStringLiteral("--port"), listedPort()}, appEnvironment()));
        m_window = waitForWindow(QStringLiteral("Orvane Ver.0.9"));
        ASSERT_FALSE(m_window.isEmpty()) << m_app.errorOutput().toStdString();
    }

    // What the window's --port puts first in the port box.
    virtual QString listedPort() const { return m_printer.address(); }
    // A symbolic link to the printer's pseudo-terminal.
    QString printerLink() const { return m_work.filePath(QStringLiteral("printer-link")); }

    ProgramRun x(const char *tool, const QStringList &arguments)
    {
        return runProgram(QLatin1String(tool), arguments, m_display.environment(), WaitMs);
    }

    // The id of the visible top-level window with this title, once it shows.
    QString waitForWindow(const QString &title)
    {
        const ProgramRun found = x(XDOTOOL_EXE, {QStringLiteral("search"), QStringLiteral("--sync"),
                                                 QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), titlePattern(title)});
        return found.succeeded() ? found.out.section(QLatin1Char('\n'), 0, 0).trimmed() : QString();
    }

    void clickAt(QPoint point)
    {
        const ProgramRun clicked =
            x(XDOTOOL_EXE, {QStringLiteral("mousemove"), QStringLiteral("--window"), m_window,
                            QString::number(point.x()), QString::number(point.y()),
                            QStringLiteral("click"), QStringLiteral("1")});
        EXPECT_TRUE(clicked.succeeded()) << clicked.err.toStdString();
    }

    // Gives the window the keyboard, then types through the X server.
    bool typeInto(const QString &window, const QStringList &keystrokes)
    {
        const ProgramRun typed = x(XDOTOOL_EXE, QStringList{QStringLiteral("windowfocus"),
                                                            QStringLiteral("--sync"), window} +
                                                    keystrokes);
        EXPECT_TRUE(typed.succeeded()) << typed.err.toStdString();
        return typed.succeeded();
    }

    // Screenshots of the window until `holds` is true of one; the last one is kept as an
    // artifact under the build folder either way.
    std::optional<QImage> screenshotWhen(bool (*holds)(const QImage &), const QString &artifact)
    {
        const QString path = QDir(QStringLiteral(ARTIFACT_DIR)).filePath(artifact);
        QImage shot;
        const bool seen = waitFor(
            [&] {
                QFile::remove(path);
                x(IMPORT_EXE, {QStringLiteral("-window"), m_window, QStringLiteral("png:") + path});
                shot = QImage(path).convertToFormat(QImage::Format_RGB32);
                return !shot.isNull() && holds(shot);
            },
            WaitMs);
        if (seen)
            return shot;
        ADD_FAILURE() << "the window never looked as expected; see " << path.toStdString();
        return std::nullopt;
    }

    std::optional<int> closeWindow()
    {
        bool isId = false;
        const unsigned long id = m_window.toULong(&isId, 0);
        if (!isId || !postDeleteWindow(m_display.name().toStdString(), id))
            return std::nullopt;
        return m_app.waitForExit(WaitMs);
    }

    QTemporaryDir m_work;
    VirtualDisplay m_display;
    VirtualPrinterProcess m_printer{QStringLiteral(VIRTUAL_PRINTER_EXE)};
    TiedProcess m_app;
    QString m_window;

private:
    QString runtimeDir() const { return m_work.filePath(QStringLiteral("runtime")); }

    QProcessEnvironment appEnvironment() const
    {
        QProcessEnvironment environment = m_display.environment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // The pixel facts below are facts of Qt's own style, whatever desktop the host has.
        environment.insert(QStringLiteral("QT_STYLE_OVERRIDE"), QStringLiteral("Fusion"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORMTHEME"));
        for (const char *scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"})
            environment.remove(QLatin1String(scaling));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        return environment;
    }
};

TEST_F(RealWindow, HasItsCaptionAndIconAFixedClientSizeAndNoMinimiseOrMaximiseButton)
{
    const ProgramRun info = x(XWININFO_EXE, {QStringLiteral("-id"), m_window});
    ASSERT_TRUE(info.succeeded()) << info.err.toStdString();
    EXPECT_EQ(field(info.out, QStringLiteral("Width")), QStringLiteral("368"));
    EXPECT_EQ(field(info.out, QStringLiteral("Height")), QStringLiteral("248"));

    const ProgramRun properties =
        x(XPROP_EXE, {QStringLiteral("-id"), m_window, QStringLiteral("-notype"),
                      QStringLiteral("WM_NAME"), QStringLiteral("_NET_WM_NAME"),
                      QStringLiteral("WM_NORMAL_HINTS"), QStringLiteral("_MOTIF_WM_HINTS")});
    ASSERT_TRUE(properties.succeeded()) << properties.err.toStdString();
    const QString &props = properties.out;
    EXPECT_EQ(field(props, QStringLiteral("WM_NAME")), QStringLiteral("\"Orvane Ver.0.9\""));
    EXPECT_EQ(field(props, QStringLiteral("_NET_WM_NAME")), QStringLiteral("\"Orvane Ver.0.9\""));
    // The installed icon's two sizes; -len lifts xprop's cut before the larger one.
    const ProgramRun icon =
        x(XPROP_EXE, {QStringLiteral("-len"), QStringLiteral("1000000"), QStringLiteral("-id"),
                      m_window, QStringLiteral("_NET_WM_ICON")});
    ASSERT_TRUE(icon.succeeded()) << icon.err.toStdString();
    EXPECT_TRUE(icon.out.contains(QStringLiteral("Icon (48 x 48):")))
        << icon.out.left(200).toStdString();
    EXPECT_TRUE(icon.out.contains(QStringLiteral("Icon (256 x 256):")));
    // A window manager may not resize a window whose least and greatest sizes agree.
    EXPECT_EQ(field(props, QStringLiteral("program specified minimum size")),
              QStringLiteral("368 by 248"));
    EXPECT_EQ(field(props, QStringLiteral("program specified maximum size")),
              QStringLiteral("368 by 248"));

    // Motif hints: flags, functions, decorations. Neither lists minimise (8, 32) or
    // maximise (16, 64), nor uses the "all but these" bit (1).
    const QStringList motif =
        field(props, QStringLiteral("_MOTIF_WM_HINTS")).split(QStringLiteral(", "));
    ASSERT_GE(motif.size(), 3) << props.toStdString();
    const uint flags = motif[0].toUInt(nullptr, 0);
    const uint functions = motif[1].toUInt(nullptr, 0);
    const uint decorations = motif[2].toUInt(nullptr, 0);
    EXPECT_EQ(flags & 3u, 3u) << "functions and decorations must both be given";
    EXPECT_EQ(functions & (1u | 8u | 16u), 0u) << std::hex << functions;
    EXPECT_EQ(decorations & (1u | 32u | 64u), 0u) << std::hex << decorations;
}

TEST_F(RealWindow, ShowsEveryControlInItsRectangle)
{
    const std::optional<QImage> seen =
        screenshotWhen(statusShown, QStringLiteral("orvane-window.png"));
    ASSERT_TRUE(seen);
    const QImage &shot = *seen;

    // The red step numbers stand in their squares and nowhere else in the left margin, each
    // on the same baseline within its square, as top-aligned labels of one font do.
    int redInSquares = 0;
    std::optional<int> firstBaseline;
    for (int top : StepTops) {
        const QRect square = twips(120, top, 375, 375);
        const int red = count(shot, square, isRed);
        EXPECT_GE(red, 8) << "step number at twips top " << top;
        const int baseline = bounds(shot, square, isRed).bottom() - square.top();
        firstBaseline = firstBaseline.value_or(baseline);
        EXPECT_NEAR(baseline, *firstBaseline, 1) << "step number at twips top " << top;
        redInSquares += red;
    }
    EXPECT_EQ(count(shot, QRect(0, 0, AddButton.left() + 1, shot.height()), isRed), redInSquares);

    const struct
    {
        const char *name;
        QRect rect;
        int sides;
    } outlined[] = {
        // The captions run on beneath the boxes' left edges.
        {"cmbPortList", PortBox, Top | Right | Bottom},
        {"CmbBaudRate", RateBox, Top | Right | Bottom},
        {"Command6", AddButton, AllSides},
        {"Command3", RemoveButton, AllSides},
        {"Command7", UploadButton, AllSides},
        {"Command1", EraseButton, AllSides},
        {"Command4", PrintButton, AllSides},
        {"NumberNotify", NumberNotify, AllSides},
        {"BMPList", ImageList, AllSides},
        {"SizeNotify", SizeNotify, AllSides},
    };
    for (const auto &control : outlined)
        EXPECT_EQ(misplacedSides(shot, control.rect, control.sides), QStringList()) << control.name;

    for (const QRect &button : {AddButton, RemoveButton, EraseButton, PrintButton}) {
        const QRect caption = bounds(shot, insideFrame(button), isBlack);
        ASSERT_FALSE(caption.isNull()) << "no caption on the button at y " << button.y();
        EXPECT_NEAR(caption.center().x(), button.center().x(), 3) << "button at y " << button.y();
        EXPECT_NEAR(caption.center().y(), button.center().y(), 3) << "button at y " << button.y();
    }
    // "Upload Image" starts disabled: a greyed caption, no black ink.
    EXPECT_EQ(count(shot, insideFrame(UploadButton), isBlack), 0);
    EXPECT_GT(count(shot, insideFrame(UploadButton), isInk), 10);

    EXPECT_GT(count(shot, PortCaption.intersected(QRect(0, 0, PortBox.left(), 248)), isBlack), 10);
    EXPECT_GT(count(shot, RateCaption.intersected(QRect(0, 0, RateBox.left(), 248)), isBlack), 10);

    // The empty list is all white inside its frame.
    const QRect listInside = insideFrame(ImageList);
    EXPECT_EQ(count(shot, listInside, isWhite), listInside.width() * listInside.height());

    // With no picture listed, both read-outs block the upload: red text in a plain border.
    for (const QRect &readOut : {NumberNotify, SizeNotify}) {
        EXPECT_GT(count(shot, insideFrame(readOut), isRed), 10) << "read-out at y " << readOut.y();
        EXPECT_EQ(count(shot, insideFrame(readOut), isBlack), 0) << "read-out at y " << readOut.y();
        EXPECT_EQ(count(shot, readOut, isRed), count(shot, insideFrame(readOut), isRed))
            << "read-out at y " << readOut.y();
    }

    // "Ready." in red, centred in the status label; no red elsewhere below the read-outs.
    const QRect belowReadOuts(LabAction.left(), SizeNotify.bottom() + 1, LabAction.width(),
                              shot.height() - SizeNotify.bottom() - 1);
    EXPECT_EQ(count(shot, belowReadOuts, isRed), count(shot, LabAction, isRed));
    EXPECT_NEAR(bounds(shot, LabAction, isRed).center().x(), LabAction.center().x(), 3);
}

TEST_F(RealWindow, UploadsAPictureThroughRealClicksAndKeys)
{
    // Left half black: the record must carry black dots and white ones.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    }
    const QString picturePath = m_work.filePath(QStringLiteral("half.bmp"));
    ASSERT_TRUE(picture.save(picturePath, "BMP"));

    clickAt(AddButton.center());
    const QString fileDialog = waitForWindow(QStringLiteral("讀取圖檔"));
    ASSERT_FALSE(fileDialog.isEmpty());
    // "type" takes every word after it as text, so the key goes in a call of its own.
    ASSERT_TRUE(typeInto(fileDialog, {QStringLiteral("type"), picturePath}));
    ASSERT_TRUE(typeInto(fileDialog, {QStringLiteral("key"), QStringLiteral("Return")}));

    // Listed: both read-outs turn blue and "Upload Image" comes alive.
    const std::optional<QImage> listed =
        screenshotWhen(readOutsBlue, QStringLiteral("orvane-window-listed.png"));
    ASSERT_TRUE(listed);
    EXPECT_TRUE(uploadButtonLive(*listed));
    EXPECT_LT(count(*listed, insideFrame(ImageList), isWhite),
              insideFrame(ImageList).width() * insideFrame(ImageList).height());

    clickAt(UploadButton.center());
    const QString resetPrompt = waitForWindow(QStringLiteral("Starting Upload."));
    ASSERT_FALSE(resetPrompt.isEmpty());
    ASSERT_TRUE(typeInto(resetPrompt, {QStringLiteral("key"), QStringLiteral("Return")}));
    const QString done = waitForWindow(QStringLiteral("Upload finished."));
    ASSERT_FALSE(done.isEmpty());
    ASSERT_TRUE(typeInto(done, {QStringLiteral("key"), QStringLiteral("Return")}));
    EXPECT_TRUE(screenshotWhen(uploadButtonLive, QStringLiteral("orvane-window-uploaded.png")));

    EXPECT_TRUE(m_printer.waitForLog(QStringLiteral("GS BEL 02 01 01: finish"), WaitMs))
        << m_printer.log().toStdString();
    EXPECT_TRUE(m_printer.log().contains(QStringLiteral("FS q: stored 1 NV image (")))
        << m_printer.log().toStdString();

    QFile streamFile(m_printer.outPath(QStringLiteral("stream.bin")));
    ASSERT_TRUE(streamFile.open(QIODevice::ReadOnly));
    // The window asks the printer how it is first.
    QByteArray stream = maskedIds(streamFile.readAll());
    ASSERT_TRUE(stream.startsWith(BeforeJob));
    stream.remove(0, BeforeJob.size());
    ASSERT_GE(stream.size(), 3 + 4 + 5);
    EXPECT_EQ(stream.left(3), QByteArray("\x1C\x71\x01", 3));
    const auto byteAt = [&stream](int i) { return int(uchar(stream[i])); };
    const int width = byteAt(3) + 256 * byteAt(4);
    const int height = byteAt(5) + 256 * byteAt(6);
    const int record = 4 + 8 * width * height;
    // The finish command, then the question that confirms delivery.
    ASSERT_EQ(stream.size(), 3 + record + 5 + DeliveryQuestion.size());
    EXPECT_EQ(stream.right(16), QByteArray("\x1D\x07\x02\x01\x01", 5) + DeliveryQuestion);
    const QByteArray dots = stream.mid(3 + 4, record - 4);
    EXPECT_GT(dots.count('\0'), 0);
    EXPECT_LT(dots.count('\0'), dots.size());

    EXPECT_EQ(closeWindow(), 0);
}

// Rows of the shot holding a run of `side` black dots with `side` white ones after it: the
// two halves of the preview's picture, one screen pixel a dot (or two when enlarged).
int halvesRows(const QImage &shot, int side)
{
    int rows = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 1; x + 2 * side <= shot.width(); ++x) {
            const auto runOf = [&](int from, PixelTest test) {
                for (int i = from; i < from + side; ++i)
                    if (!test(shot.pixel(i, y)))
                        return false;
                return true;
            };
            if (!isBlack(shot.pixel(x - 1, y)) && runOf(x, isBlack) && runOf(x + side, isWhite)) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST_F(RealWindow, DoubleClickingAPictureShowsItsDotsAsStored)
{
    // 64 x 32, the left half black: stored unscaled, as 32 x 32 black dots beside white ones.
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    const QString picturePath = m_work.filePath(QStringLiteral("halves.png"));
    ASSERT_TRUE(picture.save(picturePath));
    clickAt(AddButton.center());
    const QString fileDialog = waitForWindow(QStringLiteral("讀取圖檔"));
    ASSERT_FALSE(fileDialog.isEmpty());
    ASSERT_TRUE(typeInto(fileDialog, {QStringLiteral("type"), picturePath}));
    ASSERT_TRUE(typeInto(fileDialog, {QStringLiteral("key"), QStringLiteral("Return")}));
    ASSERT_TRUE(screenshotWhen(readOutsBlue, QStringLiteral("orvane-window-halves.png")));

    const QPoint entry = ImageList.topLeft() + QPoint(20, 8);
    const ProgramRun clicked =
        x(XDOTOOL_EXE, {QStringLiteral("mousemove"), QStringLiteral("--window"), m_window,
                        QString::number(entry.x()), QString::number(entry.y()),
                        QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"),
                        QStringLiteral("--delay"), QStringLiteral("80"), QStringLiteral("1")});
    ASSERT_TRUE(clicked.succeeded()) << clicked.err.toStdString();
    const QString preview = waitForWindow(QStringLiteral("Preview of halves.png"));
    ASSERT_FALSE(preview.isEmpty());

    const QString shotPath = QDir(QStringLiteral(ARTIFACT_DIR)).filePath("orvane-preview.png");
    const auto previewShows = [&](int side) {
        return waitFor(
            [&] {
                QFile::remove(shotPath);
                x(IMPORT_EXE,
                  {QStringLiteral("-window"), preview, QStringLiteral("png:") + shotPath});
                const QImage shot = QImage(shotPath).convertToFormat(QImage::Format_RGB32);
                return !shot.isNull() && halvesRows(shot, side) == side;
            },
            WaitMs);
    };
    EXPECT_TRUE(previewShows(32)) << "see " << shotPath.toStdString();
    // The reduction box has the focus; the check box for 2x is three tabs on.
    ASSERT_TRUE(
        typeInto(preview, {QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                           QStringLiteral("Tab"), QStringLiteral("space")}));
    EXPECT_TRUE(previewShows(64)) << "see " << shotPath.toStdString();

    ASSERT_TRUE(typeInto(preview, {QStringLiteral("key"), QStringLiteral("Escape")}));
    EXPECT_EQ(closeWindow(), 0);
}

TEST_F(RealWindow, ClosingTheWindowEndsTheProgramWithSuccess)
{
    EXPECT_EQ(closeWindow(), 0);
}

// The port box lists a port whose name continues what the operator types.
class RealWindowListingALongerName : public RealWindow
{
protected:
    QString listedPort() const override { return printerLink() + QStringLiteral("-old"); }
};

// Qt's completer would make the typed port the listed one, which names no device.
TEST_F(RealWindowListingALongerName, TheJobGoesToThePortAsTyped)
{
    clickAt(PortBox.center());
    ASSERT_TRUE(typeInto(m_window, {QStringLiteral("key"), QStringLiteral("ctrl+a")}));
    ASSERT_TRUE(typeInto(m_window, {QStringLiteral("type"), printerLink()}));
    ASSERT_TRUE(typeInto(m_window, {QStringLiteral("key"), QStringLiteral("Tab")}));
    clickAt(PrintButton.center());
    EXPECT_TRUE(m_printer.waitForLog(QStringLiteral("FS p: no NV image 255"), WaitMs))
        << m_printer.log().toStdString();
    EXPECT_EQ(closeWindow(), 0);
}
