#pragma once

#include "GraphicsAnswers.h"
#include "Transmitter.h"

#include <QByteArray>
#include <QList>

#include <chrono>
#include <optional>

// What the printer said about its NV graphics store; nothing where it gave no answer in time.
struct GraphicsStoreReply
{
    StepResult step; // Failed or Stopped when the link failed or the host stopped the wait
    std::optional<qint64> figure;
    std::optional<QList<QByteArray>> keys;
};

// Asks for the store's capacity or free bytes, and waits up to `wait` for the answer when the
// link carries answers; on a one-way link the question goes out as any other bytes.
GraphicsStoreReply askStoreFigure(Transmitter &transmitter, StoreFigure figure,
                                  std::chrono::milliseconds wait);
// Asks for the keys stored and gathers every block of the list, waiting up to firstWait for
// the first (the printer answers once it has carried out what came before) and up to nextWait
// for each further block.
GraphicsStoreReply askStoredKeys(Transmitter &transmitter, std::chrono::milliseconds firstWait,
                                 std::chrono::milliseconds nextWait);
