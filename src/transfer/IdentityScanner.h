#pragma once

#include "AnswerScanner.h"

#include <QString>

#include <optional>

// The answer to one GS I question: 5F, text, 00. The text is printable ASCII; a control byte,
// or more text than any printer keeps, makes the answer malformed. What reaches a person is
// cut to MaxIdentityText characters.
class IdentityScanner : public HeaderAnswerScanner
{
public:
    IdentityScanner();
    // The text once found(); it never changes afterwards.
    std::optional<QString> text() const;

private:
    bool fits(char byte) const override;
    bool take(char byte) override;
    bool finish() override;

    int m_length = 0;
    QString m_text;
};
