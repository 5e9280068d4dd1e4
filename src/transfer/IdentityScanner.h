#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Finds the answer to one GS I question in whatever the printer sends, fed in any pieces:
// 5F, text, 00. Before the header, ASB blocks (4 bytes, the first shaped 0xx1xx00, the rest
// 0xx0xxxx) and anything else are passed over; XON and XOFF are passed over everywhere. A text
// holding any other control byte, or longer than the answer can be, is no answer, and the scan goes
// on at the next header. Time linear in the bytes fed, memory bounded whatever they are.
class IdentityScanner
{
public:
    void feed(QByteArrayView bytes);
    // The text once a whole answer was found; it never changes afterwards.
    std::optional<QString> text() const { return m_found; }

private:
    void take(char byte);

    enum class State { Seeking, InAsb, InText };
    State m_state = State::Seeking;
    int m_asbLeft = 0;
    int m_textLength = 0;
    QString m_text;
    std::optional<QString> m_found;
};
