#include "FleetLines.h"

#include "FleetTexts.h"
#include "Terminal.h"

#include <cstdio>

namespace {

// A redrawn line must not wrap, or moving up by one line per printer would miss.
constexpr qsizetype RedrawnWidth = 79;

QString clipped(const QString &line)
{
    return line.size() <= RedrawnWidth ? line : line.left(RedrawnWidth - 3) + QStringLiteral("...");
}

QString stage(const QString &state)
{
    return state.section(QLatin1Char(' '), 0, 0);
}

} // namespace

FleetLines::FleetLines(const QStringList &ports, const std::vector<PrinterProgress> &progress)
    : m_ports(ports)
    , m_progress(progress)
    , m_shown(ports.size())
    , m_redraw(isTerminal(stderr))
    , m_err(stderr)
{}

void FleetLines::update()
{
    QStringList states;
    for (const PrinterProgress &printer : m_progress)
        states << printer.state();
    if (states == m_shown)
        return;
    if (m_redraw) {
        if (m_drawn)
            m_err << QStringLiteral("\x1b[%1A").arg(m_ports.size());
        for (qsizetype row = 0; row < m_ports.size(); ++row)
            m_err << "\x1b[2K" << clipped(m_ports[row] + QStringLiteral("  ") + states[row])
                  << '\n';
        m_drawn = true;
    } else {
        for (qsizetype row = 0; row < m_ports.size(); ++row) {
            if (states[row] != FleetTexts::Waiting && stage(states[row]) != stage(m_shown[row]))
                m_err << m_ports[row] << ": " << states[row] << '\n';
        }
    }
    m_err.flush();
    m_shown = states;
}
