#include "CliHarness.h"

#include "modBitmap.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <random>

void startOrvane(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral(ORVANE_EXE), arguments);
}

OrvaneRun runOrvane(const QStringList &arguments, const QString &input)
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    startOrvane(process, arguments);
    if (input.isEmpty())
        process.closeWriteChannel();
    OrvaneRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool waitFor(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 10000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray recordOf(const QString &path)
{
    const modBitmap::RasterRecordResult raster = modBitmap::BitmapToRaster(path);
    EXPECT_TRUE(raster.ok()) << raster.error.toStdString();
    return raster.record;
}

QImage noisePicture(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random() % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    return picture;
}

QImage shadedPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grey = 255 * x / width;
            const bool block = x < width / 3 && y < height / 2;
            picture.setPixel(x, y, block ? qRgb(0, 0, 0) : qRgb(grey, grey, grey));
        }
    }
    return picture;
}

QImage printedUnscaled(const QImage &picture)
{
    const int pictureUnits = picture.width() / 8;
    const int columns = (pictureUnits + 3) / 4 * 32;
    const int rows = (picture.height() / 8 + 3) / 4 * 32;
    const int blankColumns = columns - pictureUnits * 8;
    QImage printed(columns, rows, QImage::Format_RGB32);
    printed.fill(Qt::white);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            printed.setPixel(blankColumns + x, y, picture.pixel(x, y));
    }
    return printed;
}

std::string dotDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size()) {
        return QStringLiteral("%1x%2 dots, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height())
            .toStdString();
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const bool black = qGray(actual.pixel(x, y)) < 128;
            if (black != (qGray(expected.pixel(x, y)) < 128))
                return QStringLiteral("dot (%1, %2) is %3")
                    .arg(x)
                    .arg(y)
                    .arg(black ? "black" : "white")
                    .toStdString();
        }
    }
    return {};
}

QByteArray uploadStream(const QList<QByteArray> &records)
{
    QByteArray stream("\x1C\x71");
    stream.append(char(records.size()));
    for (const QByteArray &record : records)
        stream.append(record);
    return stream + FinishCommand;
}

QByteArray printStream()
{
    QByteArray stream;
    for (int image = 1; image <= 255; ++image)
        stream.append("\x1C\x70").append(char(image)).append('\0');
    return stream;
}

void PrinterTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_printer.start(QStringLiteral(VIRTUAL_PRINTER_EXE),
                    QStringList{"--out", m_dir.filePath("printer")} + printerOptions());
    // Two lines: the pseudo-terminal, then the output folder, written once it serves.
    ASSERT_TRUE(waitFor([this] {
        m_printer.waitForReadyRead(5);
        return m_printer.bytesAvailable() > 0 &&
               m_printer.peek(m_printer.bytesAvailable()).count('\n') >= 2;
    }));
    pty = QString::fromLocal8Bit(m_printer.readLine()).trimmed();
    ASSERT_TRUE(pty.startsWith("/dev/pts/")) << pty.toStdString();
    ASSERT_EQ(QString::fromLocal8Bit(m_printer.readLine()).trimmed(),
              QDir(m_dir.filePath("printer")).absolutePath());
}

void PrinterTest::TearDown()
{
    if (m_printer.state() == QProcess::NotRunning)
        return;
    m_printer.terminate();
    if (!m_printer.waitForFinished(10000)) {
        m_printer.kill();
        m_printer.waitForFinished();
        ADD_FAILURE() << "the virtual printer ignored SIGTERM";
        return;
    }
    EXPECT_EQ(m_printer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_printer.exitCode(), 0);
}

QString PrinterTest::save(const QImage &picture, const QString &name) const
{
    const QString path = picturePath(name);
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
    return path;
}

QByteArray PrinterTest::streamOfSize(qsizetype size) const
{
    QByteArray bytes;
    waitFor([&] {
        bytes = stream();
        return bytes.size() >= size;
    });
    return bytes;
}

bool PrinterTest::logHas(const QString &line) const
{
    return waitFor([&] { return log().split('\n').contains(line); });
}

void PrinterTest::expectNothingSent()
{
    const OrvaneRun erase = runOrvane({"erase", "--port", pty});
    EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
    EXPECT_EQ(streamOfSize(EraseStream.size()), EraseStream);
}
