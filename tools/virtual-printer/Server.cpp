#include "Server.h"

#include "EscPosParser.h"
#include "Pacer.h"
#include "Recorder.h"
#include "StopSignal.h"
#include "Transport.h"

#include <vector>

void serve(Transport &transport, EscPosParser &parser, Recorder &recorder,
           const ServeOptions &options)
{
    using Clock = std::chrono::steady_clock;
    Pacer pacer(options.baud);
    std::vector<char> buffer(64 * 1024);
    auto lastData = Clock::now();
    bool received = false;

    while (!StopSignal::requested()) {
        const auto now = Clock::now();
        const auto quiet = now - lastData;
        if (received && options.exitAfterIdle && quiet >= *options.exitAfterIdle)
            break;
        std::chrono::nanoseconds timeout = StopSignal::Forever;
        if (received && options.exitAfterIdle)
            timeout = std::min(timeout, *options.exitAfterIdle - quiet);

        const qint64 allowed = pacer.allowance(now);
        if (allowed == 0) {
            transport.pause(std::min<std::chrono::nanoseconds>(timeout, pacer.refillTime()));
            continue;
        }
        if (!transport.waitForData(timeout))
            continue;
        const qint64 got = transport.read(buffer.data(), std::min<qint64>(buffer.size(), allowed));
        if (got == 0)
            parser.endOfStream();
        if (got <= 0)
            continue;
        pacer.consume(got);
        lastData = Clock::now();
        received = true;
        recorder.appendStream(QByteArrayView(buffer.data(), got));
        parser.feed(QByteArrayView(buffer.data(), got));
    }
    parser.endOfStream();
}
