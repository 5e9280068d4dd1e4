#include "Polling.h"
#include "RasterFromImage.h"
#include "RasterGeometry.h"
#include "TestPictures.h"
#include "modBitmap.h"

#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace modBitmap;

namespace {

class PictureFiles : public testing::Test
{
protected:
    QTemporaryDir dir;

    QByteArray recordOfFile(const QString &path)
    {
        const RasterRecordResult result = BitmapToRaster(path);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        return result.record;
    }

    // Refused everywhere, with the file named in every error.
    void expectRefused(const QString &path, const QString &reason)
    {
        const QString name = QFileInfo(path).fileName();
        EXPECT_FALSE(IsPictureFile(path)) << name.toStdString();
        const RasterSizeResult size = RasterSize(path);
        EXPECT_FALSE(size.ok()) << name.toStdString();
        EXPECT_TRUE(size.error.startsWith(QStringLiteral("Cannot read picture ") + name))
            << size.error.toStdString();
        EXPECT_TRUE(size.error.contains(reason)) << size.error.toStdString();
        const RasterRecordResult record = BitmapToRaster(path);
        EXPECT_FALSE(record.ok()) << name.toStdString();
        EXPECT_TRUE(record.record.isEmpty());
        EXPECT_TRUE(record.error.contains(reason)) << record.error.toStdString();
    }
};

TEST_F(PictureFiles, BitmapsOfEveryDepthGiveTheSameRecord)
{
    const QImage glyph = glyphPicture();
    const QByteArray expected = rasterFromImage(glyph).record;
    ASSERT_FALSE(expected.isEmpty());
    QStringList paths;
    for (int bits : {1, 4, 8, 16, 24, 32})
        paths << writeFile(dir, QStringLiteral("crafted%1.bmp").arg(bits), craftBmp(glyph, bits));
    paths << writeFile(dir, QStringLiteral("topdown.bmp"), craftBmp(glyph, 24, true))
          << writeFile(dir, QStringLiteral("os2.bmp"), craftBmp(glyph, 8, false, BmpHeader::Core))
          << writeFile(dir, QStringLiteral("v5.bmp"), craftBmp(glyph, 24, false, BmpHeader::V5));
    for (int bits : {4, 8}) {
        paths << writeFile(dir, QStringLiteral("runs%1.bmp").arg(bits),
                           craftRunLengthBmp(glyph, glyph.height(), bits));
    }
    paths << savePicture(dir, QStringLiteral("qt1.bmp"),
                         glyph.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither))
          << savePicture(dir, QStringLiteral("qt8.bmp"),
                         glyph.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither))
          << savePicture(dir, QStringLiteral("qt24.bmp"), glyph);
    for (const QString &path : paths) {
        ASSERT_FALSE(path.isEmpty());
        EXPECT_TRUE(IsPictureFile(path)) << path.toStdString();
        const RasterSizeResult size = RasterSize(path);
        ASSERT_TRUE(size.ok()) << size.error.toStdString();
        EXPECT_EQ(size.extent.X, 3);
        EXPECT_EQ(size.extent.Y, 2);
        EXPECT_EQ(recordOfFile(path), expected) << path.toStdString();
    }
}

TEST_F(PictureFiles, LosslessFormatsGiveTheSameRecord)
{
    const QImage glyph = glyphPicture();
    const QByteArray expected = rasterFromImage(glyph).record;
    for (const char *suffix : {"png", "tiff", "webp"}) {
        const QString path =
            savePicture(dir, QStringLiteral("glyph.") + QLatin1String(suffix), glyph, 100);
        ASSERT_FALSE(path.isEmpty()) << suffix;
        EXPECT_TRUE(IsPictureFile(path)) << suffix;
        EXPECT_EQ(recordOfFile(path), expected) << suffix;
    }
}

TEST_F(PictureFiles, GifLoads)
{
    const QString path = writeFile(dir, QStringLiteral("square.gif"), squareGif());
    ASSERT_TRUE(IsPictureFile(path));
    const QByteArray record = recordOfFile(path);
    // X = Y = 2 within a 4 x 4 extent.
    EXPECT_EQ(blackDots(record), 64);
    EXPECT_TRUE(dotAt(record, 2, 0, 0));
    EXPECT_TRUE(dotAt(record, 2, 7, 7));
    EXPECT_FALSE(dotAt(record, 2, 8, 8));
}

TEST_F(PictureFiles, GifThatDecodesBeyondItsHeaderSizeIsRefused)
{
    // A frame past the right edge of a 16 x 16400 screen: Qt's reader gives the frame's size
    // as the header's and decodes the whole screen. The upload counts 2 x 2 units for it.
    QByteArray gif = squareGif();
    qToLittleEndian<quint16>(16400, gif.data() + 8);
    qToLittleEndian<quint16>(512, gif.data() + 28);
    const QString path = writeFile(dir, QStringLiteral("outside.gif"), gif);
    const RasterSizeResult size = RasterSize(path);
    ASSERT_TRUE(size.ok()) << size.error.toStdString();
    EXPECT_FALSE(IsPictureFile(path));
    const RasterRecordResult record = BitmapToRaster(path);
    EXPECT_FALSE(record.ok()) << record.record.size() << " bytes where "
                              << recordSize(size.extent, DefaultWidthDots) << " were counted";
    EXPECT_TRUE(record.error.contains(QStringLiteral("damaged"))) << record.error.toStdString();
}

TEST_F(PictureFiles, LargePhotoLoadsAndShrinks)
{
    // Black left half, white right half.
    QImage photo = whitePicture(4000, 3000);
    for (int row = 0; row < 3000; ++row)
        std::fill_n(reinterpret_cast<QRgb *>(photo.scanLine(row)), 2000, qRgb(0, 0, 0));
    const QString path = savePicture(dir, QStringLiteral("photo.jpg"), photo, 90);
    ASSERT_FALSE(path.isEmpty());

    const RasterSizeResult size = RasterSize(path);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(size.extent.X, 64);
    EXPECT_EQ(size.extent.Y, 48);
    EXPECT_TRUE(IsPictureFile(path));
    const QByteArray record = recordOfFile(path);
    ASSERT_EQ(record.size(), 4 + 64 * 48 * 8);
    for (int row = 0; row < 384; row += 7) {
        EXPECT_TRUE(dotAt(record, 64, 10, row));
        EXPECT_TRUE(dotAt(record, 64, 250, row));
        EXPECT_FALSE(dotAt(record, 64, 262, row));
        EXPECT_FALSE(dotAt(record, 64, 500, row));
    }
}

TEST_F(PictureFiles, DamagedBitmapsAreRefused)
{
    const QByteArray sound = craftBmp(whitePicture(64, 32), 24);
    ASSERT_TRUE(IsPictureFile(writeFile(dir, QStringLiteral("sound.bmp"), sound)));

    const QString cutShort = QStringLiteral("cut short");
    expectRefused(writeFile(dir, QStringLiteral("cut.bmp"), sound.left(sound.size() - 10)),
                  cutShort);
    expectRefused(writeFile(dir, QStringLiteral("header-only.bmp"), sound.left(30)), cutShort);

    QByteArray offsetPastEnd = sound;
    qToLittleEndian<quint32>(quint32(sound.size() + 16), offsetPastEnd.data() + 10);
    expectRefused(writeFile(dir, QStringLiteral("offset.bmp"), offsetPastEnd), cutShort);

    // Run-length coded: the data must at least start inside the file.
    QByteArray rle = craftBmp(whitePicture(16, 16), 8);
    qToLittleEndian<quint32>(1, rle.data() + 30);
    qToLittleEndian<quint32>(quint32(rle.size()), rle.data() + 10);
    expectRefused(writeFile(dir, QStringLiteral("rle.bmp"), rle), cutShort);

    QByteArray oddHeader = sound;
    qToLittleEndian<quint32>(20, oddHeader.data() + 14);
    expectRefused(writeFile(dir, QStringLiteral("odd.bmp"), oddHeader),
                  QStringLiteral("header is damaged"));

    QByteArray forged = sound;
    qToLittleEndian<quint32>(0x7FFFFFFF, forged.data() + 18);
    qToLittleEndian<quint32>(0x7FFFFFFF, forged.data() + 22);
    expectRefused(writeFile(dir, QStringLiteral("forged.bmp"), forged), cutShort);
}

TEST_F(PictureFiles, RunLengthBitmapMustReachEveryPixel)
{
    const QImage glyph = glyphPicture();
    const QString whole =
        writeFile(dir, QStringLiteral("runs.bmp"), craftRunLengthBmp(glyph, glyph.height()));
    EXPECT_TRUE(IsPictureFile(whole));
    EXPECT_EQ(recordOfFile(whole), rasterFromImage(glyph).record);

    // Runs for the bottom four rows only: Qt leaves the rest as the memory held it.
    const QString partial =
        writeFile(dir, QStringLiteral("partial.bmp"), craftRunLengthBmp(glyph, 4));
    EXPECT_FALSE(IsPictureFile(partial));
    const RasterRecordResult record = BitmapToRaster(partial);
    EXPECT_FALSE(record.ok());
    EXPECT_TRUE(record.record.isEmpty());
    EXPECT_TRUE(record.error.contains(QStringLiteral("leaves pixels undefined")))
        << record.error.toStdString();
}

TEST_F(PictureFiles, NonPicturesAreRefused)
{
    expectRefused(writeFile(dir, QStringLiteral("notes.txt"), "not a picture at all\n"),
                  QStringLiteral("not a picture"));
    expectRefused(writeFile(dir, QStringLiteral("empty.png"), QByteArray()),
                  QStringLiteral("not a picture"));
    QByteArray brokenPng = readFile(savePicture(dir, QStringLiteral("p.png"), glyphPicture()));
    expectRefused(writeFile(dir, QStringLiteral("broken.png"), brokenPng.left(40)),
                  QStringLiteral("damaged"));
    expectRefused(dir.filePath(QStringLiteral("missing.bmp")), QString());
    EXPECT_FALSE(IsPictureFile(QString()));
    EXPECT_FALSE(IsPictureFile(dir.path()));
}

// A PNG whose header claims width x height pixels, by default more than a picture may take.
QByteArray hugePng(const QByteArray &small, quint32 width = 20000, quint32 height = 20000)
{
    QByteArray png = small;
    // IHDR: length at 8, type at 12, width and height at 16 and 20, CRC at 29.
    qToBigEndian<quint32>(width, png.data() + 16);
    qToBigEndian<quint32>(height, png.data() + 20);
    quint32 crc = 0xFFFFFFFF;
    for (int at = 12; at < 29; ++at) {
        crc ^= uchar(png.at(at));
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    qToBigEndian<quint32>(~crc, png.data() + 29);
    return png;
}

TEST_F(PictureFiles, PictureBeyondTheMemoryLimitIsRefusedAsTooLarge)
{
    const QString small = savePicture(dir, QStringLiteral("small.png"), glyphPicture());
    const QString path = writeFile(dir, QStringLiteral("huge.png"), hugePng(readFile(small)));
    EXPECT_FALSE(IsPictureFile(path));
    const RasterRecordResult record = BitmapToRaster(path);
    EXPECT_FALSE(record.ok());
    EXPECT_TRUE(record.error.contains(QStringLiteral("too large (20000 x 20000 pixels)")))
        << record.error.toStdString();

    // The limit is 2^28 pixels: a header at it is taken, a row more is not.
    for (quint32 height : {16384, 16385}) {
        const QByteArray png = hugePng(readFile(small), 16384, height);
        EXPECT_EQ(RasterSize(writeFile(dir, "edge.png", png)).ok(), height == 16384) << height;
    }
}

// A picture with detail everywhere, so that its compressed data is long.
QImage patternPicture()
{
    QImage picture = whitePicture(256, 256);
    for (int row = 0; row < 256; ++row) {
        for (int column = 0; column < 256; ++column)
            picture.setPixel(column, row, qRgb(column, row, (column * row) % 256));
    }
    return picture;
}

// The decoders of JPEG and GIF hand back what they have when the data ends early, the JPEG
// one with no more than a logged warning; forged sizes must not be decoded at all. Each of
// these is refused from its header alone (RasterSize reads no pixels) or by its decoder.
TEST_F(PictureFiles, CutShortAndForgedPicturesAreRefused)
{
    const QByteArray jpeg =
        readFile(savePicture(dir, QStringLiteral("p.jpg"), patternPicture(), 90));
    ASSERT_TRUE(IsPictureFile(writeFile(dir, QStringLiteral("whole.jpg"), jpeg)));
    // Only decoding tells: the header is whole.
    const auto expectDamaged = [this](const QString &name, const QByteArray &bytes) {
        const QString path = writeFile(dir, name, bytes);
        EXPECT_FALSE(IsPictureFile(path)) << name.toStdString();
        const RasterRecordResult record = BitmapToRaster(path);
        EXPECT_TRUE(record.record.isEmpty()) << name.toStdString();
        EXPECT_TRUE(record.error.startsWith(QStringLiteral("Cannot read picture ") + name +
                                            QStringLiteral(": the picture data is damaged")))
            << record.error.toStdString();
    };
    expectDamaged(QStringLiteral("cut.jpg"), jpeg.left(jpeg.size() / 2));
    // Without its end marker the scan data is whole, but not the file.
    expectDamaged(QStringLiteral("no-end.jpg"), jpeg.chopped(2));
    // Damage inside a whole file: only libjpeg's warning tells.
    QByteArray marked = jpeg;
    marked.replace(jpeg.size() / 2, 2, QByteArray("\xFF\xD3", 2));
    expectDamaged(QStringLiteral("marked.jpg"), marked);
    expectDamaged(QStringLiteral("cut.gif"), squareGif().chopped(20));
    // libpng would say so on stderr itself: PNGs are checked chunk by chunk first.
    QByteArray png = readFile(savePicture(dir, QStringLiteral("p.png"), patternPicture()));
    expectDamaged(QStringLiteral("cut.png"), png.chopped(1));
    // A text chunk that fails its checksum is only dropped: the picture is whole.
    const QByteArray remark = QByteArray::fromHex("00000002") + "tEXtokCRC!";
    EXPECT_EQ(recordOfFile(writeFile(dir, "remark.png", QByteArray(png).insert(33, remark))),
              recordOfFile(writeFile(dir, "sound.png", png)));
    png[png.indexOf("IDAT") + 8] ^= 1;
    expectDamaged(QStringLiteral("flipped.png"), png);

    // 65000 x 65000 in the frame header of a file of a few hundred bytes.
    QByteArray forgedJpeg = readFile(savePicture(dir, QStringLiteral("g.jpg"), glyphPicture(), 90));
    const qsizetype frame = forgedJpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    qToBigEndian<quint16>(65000, forgedJpeg.data() + frame + 5);
    qToBigEndian<quint16>(65000, forgedJpeg.data() + frame + 7);
    expectRefused(writeFile(dir, QStringLiteral("forged.jpg"), forgedJpeg),
                  QStringLiteral("too large (65000 x 65000 pixels): at most 256 megapixels"));

    // 16000 x 16000 in runs: at least 2 bytes for every 255 pixels, some 2 MB, in 2 KB.
    QByteArray forgedRuns = craftRunLengthBmp(glyphPicture(), 16);
    ASSERT_LT(forgedRuns.size(), 2048);
    qToLittleEndian<qint32>(16000, forgedRuns.data() + 18);
    qToLittleEndian<qint32>(16000, forgedRuns.data() + 22);
    expectRefused(writeFile(dir, QStringLiteral("forged.bmp"), forgedRuns),
                  QStringLiteral("leaves pixels undefined"));
}

// Pictures are converted off the window's thread: each thread hears its own decoder only.
TEST_F(PictureFiles, DamageIsToldToTheThreadThatReadsIt)
{
    const QByteArray jpeg =
        readFile(savePicture(dir, QStringLiteral("p.jpg"), patternPicture(), 90));
    const QString whole = writeFile(dir, QStringLiteral("whole.jpg"), jpeg);
    const QString cut = writeFile(dir, QStringLiteral("cut.jpg"), jpeg.left(jpeg.size() / 2));
    std::atomic<int> wrong{0};
    const auto convert = [&wrong](const QString &path, bool expected) {
        for (int round = 0; round < 20; ++round)
            wrong += BitmapToRaster(path).ok() != expected;
    };
    std::thread wholeReader(convert, whole, true);
    std::thread cutReader(convert, cut, false);
    wholeReader.join();
    cutReader.join();
    EXPECT_EQ(wrong, 0);
}

TEST_F(PictureFiles, NarrowPictureIsListedButNotConverted)
{
    const QString path =
        writeFile(dir, QStringLiteral("narrow.bmp"), craftBmp(whitePicture(7, 50), 24));
    EXPECT_TRUE(IsPictureFile(path));
    const RasterSizeResult size = RasterSize(path);
    ASSERT_TRUE(size.ok());
    EXPECT_EQ(size.extent.X, 0);
    EXPECT_EQ(size.extent.Y, 0);
    const RasterRecordResult record = BitmapToRaster(path);
    EXPECT_FALSE(record.ok());
    EXPECT_TRUE(record.error.startsWith(QStringLiteral("Cannot convert picture narrow.bmp")))
        << record.error.toStdString();
    EXPECT_TRUE(record.error.contains(QStringLiteral("too small")));
}

} // namespace
