#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Who the printer says it is when asked with GS I n.
struct IdentityAnswers
{
    QString maker = QStringLiteral("Orvane");
    QString model = QStringLiteral("Virtual Printer");
    QString firmware = QStringLiteral("1.00");
    QString serialNumber = QStringLiteral("VP000001");

    // 5F, the text, 00 for n = 65 (firmware), 66 (maker), 67 (model) or 68 (serial number);
    // nothing for another n, which this printer ignores.
    std::optional<QByteArray> answer(int n) const;
};

// An option's text is fit to answer with: printable ASCII, 1 to 80 characters.
bool isIdentityText(const QString &text);
