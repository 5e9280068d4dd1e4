#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the printer is, as its answers to the real-time status request DLE EOT n tell it.
enum class PrinterState { Ready, CoverOpen, PaperEnd, PaperNearEnd, Offline };

// "ready", "cover-open", "paper-end", "paper-near-end" or "offline".
std::optional<PrinterState> printerStateNamed(const QString &name);
QString stateNames();

// The one-byte answer to DLE EOT n (1 to 4); nothing for another n, which a printer ignores.
std::optional<char> statusAnswer(PrinterState state, int n);
