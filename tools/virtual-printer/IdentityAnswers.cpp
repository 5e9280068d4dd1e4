#include "IdentityAnswers.h"

std::optional<QByteArray> IdentityAnswers::answer(int n) const
{
    const QString *text = n == 65   ? &firmware
                          : n == 66 ? &maker
                          : n == 67 ? &model
                          : n == 68 ? &serialNumber
                                    : nullptr;
    if (!text)
        return std::nullopt;
    return QByteArray(1, 0x5F) + text->toLatin1() + '\0';
}

bool isIdentityText(const QString &text)
{
    if (text.isEmpty() || text.size() > 80)
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}
