#include "IdentityScanner.h"

#include "PrinterIdentity.h"

namespace {

constexpr char Header = 0x5F;
// Longer than any identity a printer keeps; a text that runs on is no answer.
constexpr int MaxAnswerText = 1024;

} // namespace

IdentityScanner::IdentityScanner()
    : HeaderAnswerScanner(QByteArrayView(&Header, 1))
{}

std::optional<QString> IdentityScanner::text() const
{
    if (!found())
        return std::nullopt;
    return m_text.trimmed();
}

bool IdentityScanner::fits(char byte) const
{
    return byte >= 0x20 && byte <= 0x7E;
}

bool IdentityScanner::take(char byte)
{
    if (++m_length > MaxAnswerText)
        return false;
    if (m_text.size() < MaxIdentityText)
        m_text.append(QLatin1Char(byte));
    return true;
}

bool IdentityScanner::finish()
{
    return true;
}
