#pragma once

#include "GraphicsAnswers.h"
#include "Transmitter.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <optional>

// How the printer answered a question about its NV graphics store.
enum class StoreAnswer {
    None,      // nothing came within the wait
    Answered,  // figure or keys hold what it said
    Malformed, // it began an answer and broke it
    TooLong,   // a key list of more keys than a printer stores
    BrokenOff, // the key list stopped coming after some blocks
};

struct GraphicsStoreReply
{
    StepResult step; // Failed or Stopped when the link failed or the host stopped the wait
    StoreAnswer answer = StoreAnswer::None;
    std::optional<qint64> figure;
    std::optional<QList<QByteArray>> keys;
    std::chrono::milliseconds waited{0}; // the wait that ran out, for None and BrokenOff
    int keysBefore = 0;                  // keys of the blocks before a list broke off
};

// Asks the printer that answers on this link for the store's capacity or free bytes, and
// waits up to `wait` for the answer; once more when the answer is ambiguous.
GraphicsStoreReply askStoreFigure(Transmitter &transmitter, StoreFigure figure,
                                  std::chrono::milliseconds wait);
// Asks the printer that answers on this link for the keys stored and gathers every block of
// the list: the first within firstWait (the printer answers once it has carried out what came
// before), each further one within firstWait too, and the whole list within wholeList. Each block is answered with ACK, the last one
// included; a list that breaks off, runs late or is refused is cancelled with CAN, so that
// the printer waits for nothing when the next bytes come.
GraphicsStoreReply askStoredKeys(Transmitter &transmitter, std::chrono::milliseconds firstWait,
                                 std::chrono::milliseconds wholeList);
