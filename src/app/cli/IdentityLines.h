#pragma once

#include "PrinterIdentity.h"

#include <QList>
#include <QString>

#include <utility>

// The label and text of each item the printer told, in the order status prints them.
QList<std::pair<QString, QString>> identityLines(const PrinterIdentity &identity);
