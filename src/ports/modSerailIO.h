#pragma once

#include "PortCatalogue.h"

#include <QString>
#include <QStringList>

class ComboBoxTarget;

// True when an installed printer's port text equals name exactly.
bool IsPortUsed(const QString &name, const QList<InstalledPrinter> &printers);

// The catalogue's link ports, last to first, each marked " (Used)" when a printer sits on it;
// then the print queues, as queue:NAME.
void FillPortList(ComboBoxTarget &box, const PortCatalogue &catalogue);
void FillComboList(ComboBoxTarget &box, const QStringList &values);
