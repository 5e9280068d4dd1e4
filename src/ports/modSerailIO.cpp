#include "modSerailIO.h"

#include "ComboBoxTarget.h"
#include "PortNames.h"

namespace {

const QString usedSuffix = QStringLiteral(" (Used)");

bool isPortName(const QString &name, const QString &prefix)
{
    if (name.left(prefix.size()).toUpper() != prefix)
        return false;
    QString rest = name;
    rest.remove(prefix, Qt::CaseInsensitive);
    rest.remove(QLatin1Char(':'));
    return IsNumber(trimSpaces(rest));
}

} // namespace

bool IsNumber(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

bool IsComPort(const QString &name)
{
    return isPortName(name, QStringLiteral("COM"));
}

bool IsLptPort(const QString &name)
{
    return isPortName(name, QStringLiteral("LPT"));
}

bool IsPortUsed(const QString &name, const QList<InstalledPrinter> &printers)
{
    for (const InstalledPrinter &printer : printers) {
        if (printer.port == name)
            return true;
    }
    return false;
}

void FillPortList(ComboBoxTarget &box, const PortCatalogue &catalogue)
{
    const QStringList ports = catalogue.ports();
    const QList<InstalledPrinter> printers = catalogue.printers();
    box.clear();
    for (auto it = ports.crbegin(); it != ports.crend(); ++it) {
        if (linkKindOf(*it) == LinkKind::None)
            continue;
        box.addItem(IsPortUsed(*it, printers) ? *it + usedSuffix : *it);
    }
    if (box.count() > 0)
        box.setCurrentIndex(0);
}

void FillComboList(ComboBoxTarget &box, const QStringList &values)
{
    box.clear();
    for (const QString &value : values)
        box.addItem(value);
    if (box.count() > 0)
        box.setCurrentIndex(0);
}
