#pragma once

#include "TransferHost.h"

#include <QString>

#include <mutex>

// How one printer of a fleet is getting on, written by its job and read by the lines that
// show it.
class PrinterProgress
{
public:
    void set(const QString &state);
    QString state() const;

private:
    mutable std::mutex m_mutex;
    QString m_state;
};

// The host of one printer's job in a fleet: no box waits for anyone, progress goes to the
// printer's line, a stop signal ends every wait.
class FleetHost : public TransferHost
{
public:
    // expectedBytes: the whole stream, for the share sent; 0 tells none. assumeYes: --yes
    // confirms what cannot be undone.
    FleetHost(PrinterProgress &progress, qint64 expectedBytes, bool assumeYes = false);

    void setProgressMin(int value) override;
    void setProgressMax(int value) override;
    void setProgressValue(int value) override;
    // The job's result tells errors and the outcome; a warning stays on the printer's line.
    // The reset prompt was answered before any printer started.
    void showMessage(const QString &text, const QString &title, MessageKind kind) override;
    // Nobody is asked one printer at a time: --yes is the answer, or No.
    bool confirm(const QString &, const QString &) override { return m_assumeYes; }
    void setStatus(const QString &text) override;
    void selectImageRow(int) override {}
    void yield() override;
    bool stopRequested() const override;

private:
    PrinterProgress &m_progress;
    qint64 m_expectedBytes;
    bool m_assumeYes;
    qint64 m_doneBefore = 0;
    qint64 m_arraySize = 0;
    int m_percent = -1;
    QString m_warning;
};
