#include "PrinterStatus.h"

#include "PrinterCommands.h"

#include <iterator>

namespace {

// Each n the questions ask, in the order the answers come.
constexpr int Asked[] = {1, 2, 4};

bool bit(char byte, int n)
{
    return (uchar(byte) >> n) & 1;
}

// DLE EOT n
QByteArray question(int n)
{
    return *ToByteArray({0x10, 0x04, n});
}

} // namespace

QByteArray statusQuestions()
{
    QByteArray questions;
    for (int n : Asked)
        questions += question(n);
    return questions;
}

QByteArray errorQuestion()
{
    return question(3);
}

QByteArray printerStatusQuestion()
{
    return question(1);
}

bool isStatusAnswer(char byte)
{
    return (uchar(byte) & 0x93) == 0x12;
}

std::optional<PrinterStatus> decodeStatus(QByteArrayView answers)
{
    if (answers.isEmpty() || answers.size() > qsizetype(std::size(Asked)))
        return std::nullopt;
    PrinterStatus status;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const char byte = answers[i];
        if (!isStatusAnswer(byte))
            return std::nullopt;
        switch (Asked[i]) {
        case 1:
            status.offline = bit(byte, 3);
            status.feedButton = bit(byte, 6);
            break;
        case 2:
            status.coverOpen = bit(byte, 2);
            status.feedButton = status.feedButton || bit(byte, 3);
            status.paperEnd = bit(byte, 5);
            status.error = bit(byte, 6);
            break;
        case 4:
            // Each condition has two bits; printers set both.
            status.paperNearEnd = bit(byte, 2) || bit(byte, 3);
            status.paperEnd = status.paperEnd || bit(byte, 5) || bit(byte, 6);
            break;
        }
    }
    return status;
}

void addErrorCause(PrinterStatus &status, char answer)
{
    if (!isStatusAnswer(answer))
        return;
    status.mechanicalError = bit(answer, 2);
    status.autoCutterError = bit(answer, 3);
    status.unrecoverableError = bit(answer, 5);
    status.autoRecoverableError = bit(answer, 6);
}
