#include "PictureConversion.h"

#include "EventLoopYield.h"
#include "TransferHost.h"
#include "TransferTexts.h"
#include "modBitmap.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

modBitmap::RasterRecordResult convertOne(const ListedPicture &picture)
{
    return modBitmap::BitmapToRaster(picture.path, picture.choices);
}

ConvertedPictures waitForConversion(const QList<ListedPicture> &pictures, TransferHost &host)
{
    // Work already running when the conversion ends early finishes unseen on its own copy.
    QFuture<modBitmap::RasterRecordResult> future =
        QtConcurrent::mapped(&pictureConversionWorkers(), pictures, convertOne);
    const int total = int(pictures.size());
    int checked = 0;
    int shown = 0;
    for (;;) {
        if (host.stopRequested()) {
            future.cancel();
            return {{}, {}, true, {}};
        }
        const bool finished = future.isFinished();
        // Results arrive in list order, so the first failure seen is the first in the list.
        for (; checked < future.resultCount(); ++checked) {
            const modBitmap::RasterRecordResult result = future.resultAt(checked);
            if (!result.ok()) {
                future.cancel();
                return {{},
                        TransferTexts::pictureNotLoaded(pictures[checked].path, result.error),
                        false,
                        {}};
            }
        }
        if (finished)
            break;
        const int current = std::min(checked + 1, total);
        if (current != shown) {
            shown = current;
            host.showConversionProgress(current, total);
        }
        // Not the host's yield: that one paces waits for the printer, which tests script.
        yieldToEventLoop();
    }
    ConvertedPictures converted;
    for (int row = 0; row < total; ++row) {
        converted.records.append(future.resultAt(row).record);
        converted.extents.append(future.resultAt(row).extent);
    }
    return converted;
}

} // namespace

ConvertedPictures convertPictures(const QList<ListedPicture> &pictures, TransferHost &host)
{
    ConvertedPictures converted = waitForConversion(pictures, host);
    host.conversionEnded();
    return converted;
}

std::optional<bool> checkPictureFile(const QString &path, const TransferHost &host)
{
    // A check still running when the caller stops ends unseen on the worker.
    QFuture<bool> future =
        QtConcurrent::run(&pictureConversionWorkers(), &modBitmap::IsPictureFile, path);
    while (!future.isFinished()) {
        if (host.stopRequested())
            return std::nullopt;
        yieldToEventLoop();
    }
    return future.result();
}

QThreadPool &pictureConversionWorkers()
{
    static QThreadPool workers;
    return workers;
}
