#include "CliHarness.h"

#include "modBitmap.h"

#include <QDeadlineTimer>
#include <QDir>

#include <random>

void startOrvane(QProcess &process, const QStringList &arguments)
{
    process.start(QStringLiteral(ORVANE_EXE), arguments);
}

ProgramRun runOrvane(const QStringList &arguments, const QString &input)
{
    return runProgram(QStringLiteral(ORVANE_EXE), arguments,
                      QProcessEnvironment::systemEnvironment(), 30000, input);
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

QString savedNoise(const QTemporaryDir &folder, int width, int height, unsigned seed)
{
    const QString path = folder.filePath(QStringLiteral("p%1.bmp").arg(seed));
    EXPECT_TRUE(noisePicture(width, height, seed).save(path));
    return path;
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
    QByteArray stream = BeforeJob + QByteArray("\x1C\x71");
    stream.append(char(records.size()));
    for (const QByteArray &record : records)
        stream.append(record);
    return stream + FinishCommand + DeliveryQuestion;
}

QByteArray printStream()
{
    QByteArray stream = BeforeJob;
    for (int image = 1; image <= 255; ++image)
        stream.append("\x1C\x70").append(char(image)).append('\0');
    return stream + DeliveryQuestion;
}

void PrinterTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    const QString outDir = m_dir.filePath("printer");
    const QDeadlineTimer deadline(10000);
    ASSERT_TRUE(printer.start(outDir, printerOptions(), deadline));
    pty = printer.address();
    ASSERT_TRUE(pty.startsWith("/dev/pts/")) << pty.toStdString();
    // The output folder follows, written once it serves.
    ASSERT_EQ(printer.readLine(deadline).value_or(QString()), QDir(outDir).absolutePath());
}

void PrinterTest::TearDown()
{
    if (!printer.running())
        return;
    EXPECT_EQ(printer.stop(), 0) << "the virtual printer did not end cleanly on SIGTERM";
}

QString PrinterTest::save(const QImage &picture, const QString &name) const
{
    const QString path = picturePath(name);
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
    return path;
}

bool PrinterTest::logHas(const QString &line) const
{
    return waitFor([&] { return printer.log().split('\n').contains(line); });
}

void PrinterTest::expectNothingSent()
{
    const ProgramRun erase = runOrvane({"erase", "--port", pty});
    EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
    EXPECT_EQ(printer.streamOfSize(EraseStream.size()), EraseStream);
}
