#pragma once

#include "PortCatalogue.h"

#include <QList>
#include <QString>

struct CupsQueue
{
    QString name;
    QString deviceUri;
};

// Where the print queues come from: the scheduler, or a script in tests.
class CupsQueueSource
{
public:
    virtual ~CupsQueueSource() = default;
    virtual QList<CupsQueue> queues() const = 0;
};

// One CUPS-Get-Printers request to the scheduler. A scheduler that cannot be reached within a
// second, stays silent for five or asks for a password gives no queues.
class CupsScheduler : public CupsQueueSource
{
public:
    // An empty server or a port of 0 takes the user's CUPS settings.
    explicit CupsScheduler(QString server = {}, int port = 0);
    QList<CupsQueue> queues() const override;

private:
    QString m_server;
    int m_port;
};

// The port a device URI names (serial:/dev/ttyUSB0?baud=9600 gives /dev/ttyUSB0,
// socket://HOST gives tcp://HOST:9100); empty for USB-by-model and other network URIs.
QString portFromDeviceUri(const QString &uri);
// The queues that sit on a port Orvane can open, as installed printers.
QList<InstalledPrinter> printersFromQueues(const QList<CupsQueue> &queues);
