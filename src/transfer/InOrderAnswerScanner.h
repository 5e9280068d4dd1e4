#pragma once

#include "AnswerScanner.h"

#include <QByteArray>

#include <functional>

// The one header-to-NUL answer a question asked after a job must bring: its header and a middle
// of printable ASCII that matches() accepts. Any other answer of that shape (a late one, one to
// an earlier question) is passed over and the scan goes on, so only the awaited answer is found.
class InOrderAnswerScanner : public HeaderAnswerScanner
{
public:
    using Match = std::function<bool(QByteArrayView middle)>;
    InOrderAnswerScanner(QByteArrayView header, Match matches);

private:
    bool fits(char byte) const override;
    bool take(char byte) override;
    bool finish() override;
    void restart();

    Match m_matches;
    QByteArray m_middle;
};
