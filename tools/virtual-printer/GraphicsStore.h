#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

#include <chrono>
#include <functional>
#include <map>

// How the NV graphics store behaves.
struct GraphicsOptions
{
    qint64 capacity = 256 * 1024; // bytes of graphics data the store holds
    // How long storing one define keeps the printer from reading; pause() spends it.
    std::chrono::nanoseconds storeTime{0};
    std::function<void(std::chrono::nanoseconds)> pause;
    // A define under this key fails to be written, as in a worn flash; empty: none fails.
    QByteArray failingKey;
};

// One stored graphic: its dots (Format_Mono, index 1 black) and the bytes it takes.
struct NvGraphic
{
    QImage dots;
    qint64 bytes = 0;
};

// The printer's NV graphics, kept by two-character key, and its answers about them.
class GraphicsStore
{
public:
    // What the store counts for each graphic besides its dots.
    static constexpr qint64 ControlBytes = 24;

    explicit GraphicsStore(GraphicsOptions options = {});

    enum class DefineResult {
        Stored, // replacing a graphic stored under the same key
        NoRoom, // the graphic does not fit in what is free besides the one it replaces
        Failed, // the key is the failing one: nothing stored, an earlier graphic is gone too
    };
    DefineResult define(const QByteArray &key, NvGraphic graphic);
    bool remove(const QByteArray &key);
    void clear();
    const NvGraphic *find(const QByteArray &key) const;

    qint64 capacity() const { return m_options.capacity; }
    // Free bytes: each graphic takes its data and ControlBytes.
    qint64 remaining() const;

    // The answer with a figure: 37 id, the figure in decimal digits, 00.
    static QByteArray figureAnswer(char identifier, qint64 figure);
    // Every key stored, in order.
    QList<QByteArray> keys() const;

private:
    GraphicsOptions m_options;
    std::map<QByteArray, NvGraphic> m_graphics;
};
