#pragma once

#include "ListedPicture.h"
#include "modBitmap.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QThreadPool;
class TransferHost;

struct ConvertedPictures
{
    QList<QByteArray> records; // one per picture, in list order, once every picture converted
    QString error;             // why a picture did not convert; empty otherwise
    bool stopped = false;      // the host asked to stop before the conversion ended
    QList<modBitmap::RasterExtent> extents; // the picture of each record, in dots / 8
};

// Converts every picture of an upload on worker threads, so that the caller's window stays
// live and a stop is heard; the host is told which picture is being converted. The first
// picture that does not convert ends the conversion.
ConvertedPictures convertPictures(const QList<ListedPicture> &pictures, TransferHost &host);

// Whether the file decodes as a picture (modBitmap::IsPictureFile), decoded on a worker thread
// while the caller's events run; nothing once the host asks to stop first.
std::optional<bool> checkPictureFile(const QString &path, const TransferHost &host);

// The threads that convert pictures. Not Qt's global pool: Qt's own drawing on the window's
// thread hands work to that one and waits for it.
QThreadPool &pictureConversionWorkers();
