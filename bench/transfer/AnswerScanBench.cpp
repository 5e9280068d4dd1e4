#include "GraphicsAnswers.h"
#include "PrinterLink.h"
#include "StatusScanner.h"

#include <benchmark/benchmark.h>

// A printer flooding "7r@": a key-list block that never ends, digits and status-shaped bytes
// ('r' has the bits of a status answer). Each scanner is fed 4 MiB in pieces of the link's
// answer window, and started afresh whenever it is done, as a new question would.
namespace {

const QByteArray Flood = QByteArray("7r@").repeated(4 * 1024 * 1024 / 3 + 1).first(4 * 1024 * 1024);

template <typename Make> void scanFlood(benchmark::State &state, Make make)
{
    for (auto _ : state) {
        auto scanner = make();
        qint64 answers = 0;
        for (qsizetype at = 0; at < Flood.size(); at += PrinterLink::AnswerWindow) {
            QByteArrayView piece = QByteArrayView(Flood).sliced(at).first(
                std::min(PrinterLink::AnswerWindow, Flood.size() - at));
            scanner.feed(piece);
            if (scanner.done()) {
                ++answers;
                scanner = make();
            }
        }
        benchmark::DoNotOptimize(answers);
    }
    state.SetBytesProcessed(state.iterations() * Flood.size());
}

void KeyListFlood(benchmark::State &state)
{
    scanFlood(state, [] { return KeyListScanner(); });
}

void StoreFigureFlood(benchmark::State &state)
{
    scanFlood(state, [] { return StoreFigureScanner(StoreFigure::Capacity); });
}

void StatusFlood(benchmark::State &state)
{
    scanFlood(state, [] { return StatusScanner(3); });
}

} // namespace

BENCHMARK(KeyListFlood)->Unit(benchmark::kMillisecond);
BENCHMARK(StoreFigureFlood)->Unit(benchmark::kMillisecond);
BENCHMARK(StatusFlood)->Unit(benchmark::kMillisecond);
