#include "EscPosParser.h"
#include "FuzzFailure.h"
#include "NvPrinter.h"

#include <QByteArrayView>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>

// The first byte gives the length of the pieces the rest arrives in (0: one piece); whatever
// the pieces, the decoder must log and answer the same and end idle.
namespace {

// Prints go to a folder that does not exist: they are rendered, never written.
QString absentFolder()
{
    static const QTemporaryDir dir;
    return dir.filePath(QStringLiteral("absent"));
}

QStringList decode(QByteArrayView stream, qsizetype piece)
{
    NvPrinter printer(absentFolder());
    QStringList lines;
    EscPosParser parser(
        printer, [&](const QString &line) { lines << line; },
        [&](QByteArrayView answer) {
            lines << QStringLiteral("answer ") + QString::fromLatin1(answer.toByteArray().toHex());
        });
    while (!stream.isEmpty()) {
        const qsizetype take = std::min(piece, stream.size());
        parser.feed(stream.first(take));
        stream = stream.sliced(take);
    }
    parser.endOfStream();
    if (!parser.isIdle())
        fuzzFailure("escpos", "not idle after the end of the stream");
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView stream(data + 1, qsizetype(size - 1));
    const qsizetype piece = data[0] == 0 ? stream.size() : data[0];
    const QStringList inPieces = decode(stream, std::max<qsizetype>(piece, 1));
    if (piece < stream.size() && decode(stream, stream.size()) != inPieces)
        fuzzFailure("escpos", "the log depends on how the stream was cut");
    return 0;
}
