#include "StatusScanner.h"

#include "PrinterStatus.h"

StatusScanner::StatusScanner(qsizetype expected)
    : m_expected(expected)
{}

void StatusScanner::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (done())
            return;
        ++m_received;
        if (isStatusAnswer(byte))
            m_answers.append(byte);
    }
}
