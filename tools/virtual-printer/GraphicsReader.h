#pragma once

#include "KeyListExchange.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class NvPrinter;

// Reads one GS ( L or GS 8 L function after its three introducing bytes, in whatever pieces
// it arrives, and carries it out on the printer's NV graphics: define (fn 67 raster, fn 68
// column), delete (fn 65 all, fn 66 one), print (fn 69) and the questions about the store
// (fn 48 capacity, fn 51 free bytes, fn 64 keys).
class GraphicsReader
{
public:
    using LogLine = std::function<void(const QString &)>;
    // Where answers go; none on a one-way line.
    using Reply = std::function<void(QByteArrayView)>;

    GraphicsReader(NvPrinter &printer, LogLine log, Reply reply);

    // After GS ( L (a 2-byte count follows) or GS 8 L (a 4-byte count).
    void start(bool longFrame);
    // Takes the bytes that belong to the function; returns how many it took.
    qsizetype feed(QByteArrayView bytes);
    bool reading() const { return m_phase != Phase::Idle; }
    // The stream ended inside the function: nothing is done.
    void abandon();

    // A key-list block waits for the host's ACK, NAK or CAN: the next byte is that answer.
    bool awaitingKeyAnswer() const { return m_keyList.waiting(); }
    void answerKeyList(char byte);

private:
    enum class Phase { Idle, Count, Body };

    void run();
    void define(char function);
    void print();
    // Sends the answer; returns what was asked and what the printer said, for the log.
    QString answer(const QByteArray &bytes, const QString &question, const QString &said);
    bool expectParameters(QByteArrayView parameters);
    bool expectSize(qsizetype size);
    QString frameName() const;
    void log(const QString &text);

    NvPrinter &m_printer;
    LogLine m_log;
    Reply m_reply;
    Phase m_phase = Phase::Idle;
    bool m_longFrame = false;
    QByteArray m_count;
    qint64 m_size = 0;     // of the body, from the count
    qint64 m_received = 0; // of the body
    QByteArray m_body;     // kept only when the size is one a function can have
    KeyListExchange m_keyList;
};
