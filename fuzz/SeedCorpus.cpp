#include "EscPosStreams.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <cstdio>
#include <map>

// Writes the fuzz targets' seeds into a folder: every picture format Orvane takes and each
// bitmap variant, and a few ESC/POS streams, each led by the length of the pieces it arrives
// in (0: one piece).
namespace {

using Files = std::map<QString, QByteArray>;

QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(picture) ? bytes : QByteArray();
}

Files pictures()
{
    const QImage glyph = glyphPicture();
    Files files;
    for (int bits : {1, 4, 8, 16, 24, 32})
        files[QStringLiteral("bmp-%1bit.bmp").arg(bits)] = craftBmp(glyph, bits);
    for (int bits : {4, 8}) {
        files[QStringLiteral("bmp-rle%1.bmp").arg(bits)] =
            craftRunLengthBmp(glyph, glyph.height(), bits);
    }
    files[QStringLiteral("bmp-topdown.bmp")] = craftBmp(glyph, 24, true);
    files[QStringLiteral("bmp-os2.bmp")] = craftBmp(glyph, 8, false, BmpHeader::Core);
    files[QStringLiteral("bmp-v5.bmp")] = craftBmp(glyph, 24, false, BmpHeader::V5);
    for (const char *format : {"png", "jpeg", "tiff", "webp"})
        files[QStringLiteral("glyph.") + QLatin1String(format)] = encoded(glyph, format);
    files[QStringLiteral("square.gif")] = squareGif();
    return files;
}

Files streams()
{
    const QByteArray one = encodeRecord(randomPicture(16, 8, 1));
    const QByteArray two = encodeRecord(randomPicture(128, 64, 2));
    const QByteArray erase("\x1C\x71\x00", 3);
    Files files;
    files[QStringLiteral("define.bin")] = '\0' + defineCommand({one}) + FinishCommand;
    files[QStringLiteral("define-print.bin")] = '\x07' + defineCommand({one, two}) + FinishCommand +
                                                printCommand(1) + printCommand(2, 3) +
                                                printCommand(3) + printCommand(1, 52);
    files[QStringLiteral("erase.bin")] = '\x01' + erase + FinishCommand;
    // Unknown bytes, commands broken off, a record of a bad size and a set cut short.
    files[QStringLiteral("faults.bin")] = '\x03' + QByteArray("ab\x1Cx\x1D\x07\x02\x1C", 8) +
                                          defineCommand({recordHeader(0, 1), one}) + FinishCommand +
                                          defineCommand({one, two}).chopped(9);
    // NV graphics in both frames and both layouts, the questions about them, the status.
    const QByteArray keys = graphicsFunction("\x30\x40KC");
    files[QStringLiteral("graphics.bin")] =
        '\x05' + graphicsFunction(rasterGraphicBody("G1", randomPicture(20, 10, 3))) +
        graphicsFunction(columnGraphicBody("G2", randomPicture(16, 24, 4)), true) +
        graphicsFunction("\x30\x30") + keys + printGraphicCommand("G1", 2, 2) +
        graphicsFunction("\x30\x42G2") +
        graphicsFunction("\x30\x41"
                         "CLR") +
        keys + QByteArray("\x10\x04\x01\x10\x04\x04", 6);
    return files;
}

bool writeAll(const QDir &dir, const Files &files)
{
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    for (const auto &[name, bytes] : files) {
        QFile file(dir.filePath(name));
        if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    if (!writeAll(corpus.filePath(QStringLiteral("pictures")), pictures()) ||
        !writeAll(corpus.filePath(QStringLiteral("escpos")), streams())) {
        std::fprintf(stderr, "%s: cannot write the seeds\n", argv[0]);
        return 1;
    }
    return 0;
}
