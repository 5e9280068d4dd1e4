#include "StatusScanner.h"

#include "PrinterStatus.h"

StatusScanner::StatusScanner(qsizetype expected)
    : m_expected(expected)
{}

void StatusScanner::feed(QByteArrayView bytes)
{
    // Linear, and nothing kept but the answers: a flood is counted, not stored.
    for (const char byte : bytes) {
        if (!isStatusAnswer(byte))
            continue;
        if (done())
            ++m_unasked;
        else
            m_answers.append(byte);
    }
    m_received += bytes.size();
}
