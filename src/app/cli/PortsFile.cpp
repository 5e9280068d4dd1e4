#include "PortsFile.h"

#include "CliTexts.h"
#include "PortNames.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Far more printers than anyone runs at once; a bigger file is no list of ports.
constexpr qint64 MaxFileBytes = 1024 * 1024;

struct Row
{
    QString port;
    QString failure; // set when the address did not answer as a printer: the row is skipped
};

// A row of discover --json: an address that took a connection but did not answer the status
// questions shows nothing of a printer. Nothing when the object names no port.
Row jsonRow(const QJsonObject &object)
{
    QString port = object.value(QLatin1String("port")).toString();
    if (port.isEmpty() && object.value(QLatin1String("address")).isString())
        port = QStringLiteral("tcp://") + object.value(QLatin1String("address")).toString();
    if (object.value(QLatin1String("result")).toString() != QLatin1String("failed"))
        return {port, {}};
    return {port, object.value(QLatin1String("error")).toString()};
}

} // namespace

PortsFile readPortsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {{}, CliTexts::CannotReadPorts.arg(path, file.errorString()), {}};
    if (file.size() > MaxFileBytes)
        return {{}, CliTexts::PortsFileTooLarge.arg(path), {}};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    PortsFile read;
    for (qsizetype number = 1; number <= lines.size(); ++number) {
        const QString line = lines[number - 1].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QJsonDocument json = QJsonDocument::fromJson(line.toUtf8());
        const Row row = json.isObject() ? jsonRow(json.object()) : Row{line, {}};
        if (row.port.isEmpty() || !row.failure.isEmpty()) {
            const QString where = CliTexts::FileLine.arg(path, QString::number(number));
            read.skipped << (row.port.isEmpty()
                                 ? CliTexts::RowNamesNoPort.arg(where)
                                 : CliTexts::RowSkipped.arg(where, row.port, row.failure));
            continue;
        }
        if (linkKindOf(row.port) == LinkKind::None)
            return {{}, CliTexts::NotAPortLine.arg(path).arg(number).arg(row.port.left(80)), {}};
        read.ports << row.port;
    }
    if (read.ports.isEmpty())
        return {{}, CliTexts::NoPortsInFile.arg(path), read.skipped};
    return read;
}
