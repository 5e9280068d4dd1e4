#pragma once

#include <QString>

// What the link tells the operator in its own words. Its status texts go to the trace only.
namespace LinkTexts {

QString nameWithoutColon(const QString &name);
QString badPortNumber(const QString &name);
QString badRate(const QString &rateText);

} // namespace LinkTexts
