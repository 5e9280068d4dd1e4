#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// What a printer reports through the real-time status requests DLE EOT n, which every ESC/POS
// printer answers at once, one byte each, even while it cannot print.
struct PrinterStatus
{
    bool offline = false;
    bool feedButton = false; // the feed button is held, or feeding paper
    bool coverOpen = false;
    bool paperEnd = false;
    bool paperNearEnd = false;
    bool error = false;
    // The kind of error, known once DLE EOT 3 has been answered.
    bool mechanicalError = false; // bit 2, on the printers that report it
    bool autoCutterError = false;
    bool unrecoverableError = false;
    bool autoRecoverableError = false; // clears itself, as after the head overheated

    // Whether the printer can take a job; paper near its end is a warning only.
    bool ready() const { return !offline && !coverOpen && !paperEnd && !error; }
};

// DLE EOT n: printer (1), offline cause (2), error cause (3) or paper sensor (4) status.
QByteArray statusQuestion(int n);
// The questions asked, one at a time and in this order; DLE EOT 3 follows when an error is
// reported.
inline constexpr int AskedStatus[] = {1, 2, 4};
inline constexpr int ErrorCauseQuestion = 3;

// True for a byte shaped as a status answer (bits 1 and 4 set, bits 0 and 7 clear).
bool isStatusAnswer(char byte);
// The answers to the AskedStatus questions so far, in order; nothing until the first is there or
// when a byte is no status answer. Questions not answered yet report nothing.
std::optional<PrinterStatus> decodeStatus(QByteArrayView answers);
// Adds the answer to DLE EOT 3.
void addErrorCause(PrinterStatus &status, char answer);
