#pragma once

#include "StatusAnswers.h"

#include <QByteArray>

// Automatic status back (ASB): the 4-byte blocks a printer with ASB enabled sends unasked, at
// any time. Here one goes out before every second answer, so a host meets them between its
// answers.
class AutomaticStatusBack
{
public:
    // The block to send before the next answer; empty when none goes now.
    QByteArray beforeAnswer(PrinterState state);

private:
    int m_answers = 0;
};

// The block for that state: 0xx1xx00 (offline, cover open), 0xx0xxxx (errors), 0xx0xxxx (paper
// near end, paper end), 0xx0xxxx.
QByteArray asbBlock(PrinterState state);
