#pragma once

#include "FleetHost.h"

#include <QStringList>
#include <QTextStream>

#include <vector>

// One line per printer on stderr while a fleet runs: redrawn in place on a terminal, a plain
// line whenever a printer moves on to another stage otherwise.
class FleetLines
{
public:
    FleetLines(const QStringList &ports, const std::vector<PrinterProgress> &progress);

    // Shows what changed since the last call.
    void update();

private:
    const QStringList &m_ports;
    const std::vector<PrinterProgress> &m_progress;
    QStringList m_shown;
    bool m_redraw;
    bool m_drawn = false;
    QTextStream m_err;
};
