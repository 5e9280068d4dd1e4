#include "PortsFile.h"

#include "CliTexts.h"
#include "PortNames.h"

#include <QFile>

namespace {

// Far more printers than anyone runs at once; a bigger file is no list of ports.
constexpr qint64 MaxFileBytes = 1024 * 1024;

} // namespace

PortsFile readPortsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {{}, CliTexts::CannotReadPorts.arg(path, file.errorString())};
    if (file.size() > MaxFileBytes)
        return {{}, CliTexts::PortsFileTooLarge.arg(path)};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    PortsFile read;
    for (qsizetype number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (linkKindOf(line) == LinkKind::None)
            return {{}, CliTexts::NotAPortLine.arg(path).arg(number).arg(line.left(80))};
        read.ports << line;
    }
    if (read.ports.isEmpty())
        return {{}, CliTexts::NoPortsInFile.arg(path)};
    return read;
}
