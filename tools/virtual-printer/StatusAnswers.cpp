#include "StatusAnswers.h"

#include <array>

namespace {

struct NamedState
{
    const char *name;
    PrinterState state;
};

constexpr std::array<NamedState, 5> States{{
    {"ready", PrinterState::Ready},
    {"cover-open", PrinterState::CoverOpen},
    {"paper-end", PrinterState::PaperEnd},
    {"paper-near-end", PrinterState::PaperNearEnd},
    {"offline", PrinterState::Offline},
}};

// Every answer has bits 1 and 4 set and bits 0 and 7 clear; the rest report conditions.
constexpr char Fixed = 0x12;
constexpr char Offline = 0x08;      // DLE EOT 1, bit 3
constexpr char CoverOpen = 0x04;    // DLE EOT 2, bit 2
constexpr char StoppedByEnd = 0x20; // DLE EOT 2, bit 5
constexpr char NearEnd = 0x0C;      // DLE EOT 4, bits 2 and 3
constexpr char PaperGone = 0x60;    // DLE EOT 4, bits 5 and 6

} // namespace

std::optional<PrinterState> printerStateNamed(const QString &name)
{
    for (const NamedState &entry : States) {
        if (name == QLatin1String(entry.name))
            return entry.state;
    }
    return std::nullopt;
}

QString stateNames()
{
    QStringList names;
    for (const NamedState &entry : States)
        names << QLatin1String(entry.name);
    return names.join(QLatin1Char('|'));
}

std::optional<char> statusAnswer(PrinterState state, int n)
{
    const bool offline = state == PrinterState::CoverOpen || state == PrinterState::PaperEnd ||
                         state == PrinterState::Offline;
    switch (n) {
    case 1:
        return char(Fixed | (offline ? Offline : 0));
    case 2:
        return char(Fixed | (state == PrinterState::CoverOpen ? CoverOpen : 0) |
                    (state == PrinterState::PaperEnd ? StoppedByEnd : 0));
    case 3:
        return Fixed;
    case 4:
        return char(Fixed | (state == PrinterState::PaperEnd ? NearEnd | PaperGone : 0) |
                    (state == PrinterState::PaperNearEnd ? NearEnd : 0));
    default:
        return std::nullopt;
    }
}
