#pragma once

#include <QLoggingCategory>
#include <QString>

#include <functional>

// Link diagnostics; off by default, enabled with QT_LOGGING_RULES="orvane.link.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Where the link's status texts go: never to the operator, only to the diagnostic log.
void TraceMessage(QString text);

using TraceSink = std::function<void(const QString &)>;
