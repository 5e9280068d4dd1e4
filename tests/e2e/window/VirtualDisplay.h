#pragma once

#include "TiedProcess.h"

#include <QProcessEnvironment>
#include <QString>

// An Xvfb server on the first free display, with no window manager.
class VirtualDisplay
{
public:
    // Empty on success, else why the server did not come up.
    QString start(const QString &xvfb, int timeoutMs);
    QString name() const { return m_name; }
    // The test's environment aimed at this display.
    QProcessEnvironment environment() const;

private:
    TiedProcess m_server;
    QString m_name;
};
