#pragma once

#include "AnswerScanner.h"

#include <QByteArray>

// Gathers the answers to DLE EOT questions: each byte is taken by its fixed bits wherever it
// arrives, so noise before or between the answers hides nothing. ASB blocks, XON and XOFF never
// have those bits and are passed over with the rest.
class StatusScanner : public AnswerScanner
{
public:
    explicit StatusScanner(qsizetype expected);

    void feed(QByteArrayView bytes) override;
    bool done() const override { return m_answers.size() == m_expected; }

    // The answers so far, in the order they came.
    const QByteArray &answers() const { return m_answers; }
    // Every byte fed, answers included.
    qint64 received() const { return m_received; }
    // Bytes shaped as answers that came after the last one expected: nobody asked for them.
    qint64 unasked() const { return m_unasked; }

private:
    qsizetype m_expected;
    QByteArray m_answers;
    qint64 m_received = 0;
    qint64 m_unasked = 0;
};
