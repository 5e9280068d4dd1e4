#pragma once

#include <QString>

#include <chrono>

// What the link tells the operator in its own words. Its status texts go to the trace only.
namespace LinkTexts {

QString nameWithoutColon(const QString &name);
QString badPortNumber(const QString &name);
QString badRate(const QString &rateText);

// address: HOST:PORT
QString refused(const QString &address, quint16 port);
QString hostNotFound(const QString &host);
QString noRoute(const QString &address, const QString &systemReason);
QString timedOut(const QString &address, std::chrono::milliseconds limit);
QString closed(const QString &address);
QString networkFailed(const QString &address, const QString &systemReason);
QString notHandedOn(qint64 count, const QString &address);
QString notAcknowledged(qint64 count, const QString &address);
QString reset(const QString &address);

} // namespace LinkTexts
