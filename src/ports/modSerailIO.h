#pragma once

#include "PortCatalogue.h"

#include <QString>
#include <QStringList>

class ComboBoxTarget;

// An optional sign, decimal digits and at most one decimal point, with at least one digit.
bool IsNumber(const QString &text);
// Leading and trailing spaces removed; other white space stays.
QString trimSpaces(const QString &text);

bool IsComPort(const QString &name);
bool IsLptPort(const QString &name);
// True when an installed printer's port text equals name exactly.
bool IsPortUsed(const QString &name, const QList<InstalledPrinter> &printers);

// The catalogue's link ports, last to first, each marked " (Used)" when a printer sits on it.
void FillPortList(ComboBoxTarget &box, const PortCatalogue &catalogue);
void FillComboList(ComboBoxTarget &box, const QStringList &values);
