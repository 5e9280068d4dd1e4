#pragma once

#include "TransferHost.h"

#include <QList>
#include <QStringList>

#include <functional>

// A host with no window: it answers every message at once and records what a window would
// have shown.
class RecordingTransferHost : public TransferHost
{
public:
    struct Message
    {
        QString text;
        QString title;
        MessageKind kind;
    };

    void setProgressMin(int value) override;
    void setProgressMax(int value) override;
    void setProgressValue(int value) override;
    void showMessage(const QString &text, const QString &title, MessageKind kind) override;
    // Noted as "question:<text>"; answered as setConfirm() says, Yes at first.
    bool confirm(const QString &question, const QString &title) override;
    void setConfirm(bool yes) { m_confirm = yes; }
    void setStatus(const QString &text) override;
    void selectImageRow(int row) override;
    void showConversionProgress(int current, int total) override;
    void conversionEnded() override;
    void yield() override;
    bool stopRequested() const override { return m_stop; }

    // "Min=0", "Max=2", "Value=0", ... in the order written.
    const QStringList &progress() const { return m_progress; }
    const QList<Message> &messages() const { return m_messages; }
    const QStringList &statuses() const { return m_statuses; }
    const QList<int> &rows() const { return m_rows; }
    int yields() const { return m_yields; }
    // "1/3", "2/3", ... as the conversion before an upload showed them; how often it ended.
    const QStringList &conversionProgress() const { return m_conversionProgress; }
    int conversionEnds() const { return m_conversionEnds; }
    // Everything but progress, in order: "message:<text>", "status:<text>", "row:<n>" and
    // whatever a test notes itself.
    const QStringList &events() const { return m_events; }
    void note(const QString &event) { m_events << event; }

    // Runs when a message is shown, before it is answered.
    void setOnMessage(std::function<void(const Message &)> hook) { m_onMessage = std::move(hook); }
    // Runs at every yield, after it is counted: the printer's side of a wait.
    void setOnYield(std::function<void(int yields)> hook) { m_onYield = std::move(hook); }
    void requestStop() { m_stop = true; }

private:
    QStringList m_progress;
    QList<Message> m_messages;
    QStringList m_statuses;
    QList<int> m_rows;
    QStringList m_conversionProgress;
    int m_conversionEnds = 0;
    QStringList m_events;
    int m_yields = 0;
    bool m_stop = false;
    bool m_confirm = true;
    std::function<void(int)> m_onYield;
    std::function<void(const Message &)> m_onMessage;
};
