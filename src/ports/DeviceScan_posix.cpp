#include "PosixPortCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The digit run starting at pos without its leading zeros; pos moves past the run.
QStringView digitRun(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && text[pos] == QLatin1Char('0'))
        ++pos;
    const qsizetype start = pos;
    while (pos < text.size() && text[pos].isDigit())
        ++pos;
    return text.mid(start, pos - start);
}

// Runs of digits compare by value, so ttyS2 comes before ttyS10.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView runA = digitRun(a, i);
            const QStringView runB = digitRun(b, j);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (runA != runB)
                return runA < runB;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j;
    // Equal but for leading zeros (ttyS01, ttyS1): the plain order decides.
    return a < b;
}

// Last first: FillPortList adds the list from its end, as it walks the spooler's records.
QStringList pathsIn(const QString &folder, QStringList names)
{
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return naturalLess(b, a); });
    for (QString &name : names)
        name = folder + QLatin1Char('/') + name;
    return names;
}

// A serial_core port reports its UART type; 0 means no UART answered at that address.
bool uartPresent(const QString &ttyFolder)
{
    QFile type(ttyFolder + QStringLiteral("/type"));
    if (!type.exists())
        return true;
    if (!type.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int value = type.readAll().trimmed().toInt(&ok);
    return ok && value != 0;
}

QStringList serialDevices(const DeviceRoots &roots)
{
    const QString classFolder = roots.sysRoot + QStringLiteral("/class/tty");
    QStringList names = QDir(classFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.removeIf([&](const QString &name) {
        const QString ttyFolder = classFolder + QLatin1Char('/') + name;
        return !QFileInfo::exists(ttyFolder + QStringLiteral("/device")) ||
               !uartPresent(ttyFolder) ||
               !QFileInfo::exists(roots.devRoot + QLatin1Char('/') + name);
    });
    return pathsIn(roots.devRoot, names);
}

QStringList printerDevices(const QString &folder)
{
    static const QRegularExpression lpName(QRegularExpression::anchoredPattern("lp[0-9]+"));
    QStringList names = QDir(folder).entryList({QStringLiteral("lp*")}, QDir::Files | QDir::System);
    names.removeIf([](const QString &name) { return !lpName.match(name).hasMatch(); });
    return pathsIn(folder, names);
}

} // namespace

QStringList scanPortDevices(const DeviceRoots &roots)
{
    return printerDevices(roots.devRoot) + printerDevices(roots.devRoot + QStringLiteral("/usb")) +
           serialDevices(roots);
}
