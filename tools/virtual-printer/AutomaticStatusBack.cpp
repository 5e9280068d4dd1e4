#include "AutomaticStatusBack.h"

namespace {

bool bit(char byte, int n)
{
    return (uchar(byte) >> n) & 1;
}

} // namespace

QByteArray AutomaticStatusBack::beforeAnswer(PrinterState state)
{
    return m_answers++ % 2 == 0 ? asbBlock(state) : QByteArray();
}

QByteArray asbBlock(PrinterState state)
{
    const char printer = *statusAnswer(state, 1);
    const char offline = *statusAnswer(state, 2);
    const char paper = *statusAnswer(state, 4);
    const int first = 0x10 | bit(printer, 3) << 3 | bit(offline, 2) << 5 | bit(offline, 3) << 6;
    const int third =
        (bit(paper, 2) || bit(paper, 3) ? 0x03 : 0) | (bit(paper, 5) || bit(paper, 6) ? 0x0C : 0);
    const char block[] = {char(first), 0, char(third), 0};
    return QByteArray(block, sizeof block);
}
