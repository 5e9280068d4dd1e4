#include "PrinterStatus.h"

#include "PrinterCommands.h"

#include <iterator>

namespace {

bool bit(char byte, int n)
{
    return (uchar(byte) >> n) & 1;
}

} // namespace

QByteArray statusQuestion(int n)
{
    return *ToByteArray({0x10, 0x04, n});
}

bool isStatusAnswer(char byte)
{
    return (uchar(byte) & 0x93) == 0x12;
}

std::optional<PrinterStatus> decodeStatus(QByteArrayView answers)
{
    if (answers.isEmpty() || answers.size() > qsizetype(std::size(AskedStatus)))
        return std::nullopt;
    PrinterStatus status;
    for (qsizetype i = 0; i < answers.size(); ++i) {
        const char byte = answers[i];
        if (!isStatusAnswer(byte))
            return std::nullopt;
        switch (AskedStatus[i]) {
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
