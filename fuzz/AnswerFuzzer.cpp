#include "FuzzFailure.h"
#include "GraphicsAnswers.h"
#include "StatusScanner.h"

#include <QByteArrayView>
#include <QList>

#include <algorithm>
#include <cstdint>
#include <optional>

// The first byte gives the length of the pieces the rest arrives in (0: one piece). Each answer
// decoder must find the same answer whatever the pieces, and never change it once found.
namespace {

struct Found
{
    bool done = false;
    bool malformed = false;
    QByteArray answer; // status bytes, digits of a figure, or the keys of the first block

    bool operator==(const Found &) const = default;
};

Found statusOf(const StatusScanner &scanner)
{
    return {scanner.done(), false, scanner.answers()};
}

Found figureOf(const StoreFigureScanner &scanner)
{
    const std::optional<qint64> figure = scanner.figure();
    if (figure && (*figure < 0 || *figure > 99999999))
        fuzzFailure("answers", "a figure of more than 8 digits");
    return {scanner.done(), scanner.malformed(),
            figure ? QByteArray::number(*figure) : QByteArray()};
}

Found keysOf(const KeyListScanner &scanner)
{
    if (scanner.keysSoFar() > KeyListScanner::MaxKeys)
        fuzzFailure("answers", "more keys than a printer stores");
    QByteArray keys = scanner.blockKeys().join();
    if (scanner.found())
        keys += scanner.more() ? "+" : ".";
    return {scanner.done(), scanner.malformed(), keys};
}

template <typename Scanner, typename Read>
Found scan(Scanner scanner, QByteArrayView stream, qsizetype piece, Read read)
{
    std::optional<Found> first;
    while (!stream.isEmpty()) {
        const qsizetype take = std::min(piece, stream.size());
        scanner.feed(stream.first(take));
        stream = stream.sliced(take);
        const Found now = read(scanner);
        if (first && now != *first)
            fuzzFailure("answers", "an answer changed after it was found");
        if (now.done && !first)
            first = now;
    }
    return read(scanner);
}

template <typename Scanner, typename Read>
void check(const Scanner &fresh, QByteArrayView stream, qsizetype piece, Read read)
{
    if (scan(fresh, stream, piece, read) != scan(fresh, stream, stream.size(), read))
        fuzzFailure("answers", "the answer depends on how the bytes were cut");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView stream(data + 1, qsizetype(size - 1));
    const qsizetype piece = std::max<qsizetype>(data[0] == 0 ? stream.size() : data[0], 1);
    check(StatusScanner(3), stream, piece, statusOf);
    check(StoreFigureScanner(StoreFigure::Capacity), stream, piece, figureOf);
    check(StoreFigureScanner(StoreFigure::Remaining), stream, piece, figureOf);
    check(KeyListScanner(), stream, piece, keysOf);
    return 0;
}
