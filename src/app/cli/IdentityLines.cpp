#include "IdentityLines.h"

#include "CliTexts.h"

QList<std::pair<QString, QString>> identityLines(const PrinterIdentity &identity)
{
    QList<std::pair<QString, QString>> lines;
    for (const auto &[label, text] : {std::pair{CliTexts::Model, identity.model},
                                      std::pair{CliTexts::SerialNumber, identity.serialNumber},
                                      std::pair{CliTexts::Maker, identity.maker},
                                      std::pair{CliTexts::Firmware, identity.firmware}}) {
        if (!text.isEmpty())
            lines.append({label, text});
    }
    return lines;
}
