#include "GraphicsStore.h"

GraphicsStore::GraphicsStore(GraphicsOptions options)
    : m_options(std::move(options))
{}

GraphicsStore::DefineResult GraphicsStore::define(const QByteArray &key, NvGraphic graphic)
{
    const NvGraphic *replaced = find(key);
    if (graphic.bytes + ControlBytes >
        remaining() + (replaced ? replaced->bytes + ControlBytes : 0))
        return DefineResult::NoRoom;
    if (m_options.pause && m_options.storeTime.count() > 0)
        m_options.pause(m_options.storeTime);
    if (key == m_options.failingKey) {
        m_graphics.erase(key);
        return DefineResult::Failed;
    }
    m_graphics[key] = std::move(graphic);
    return DefineResult::Stored;
}

bool GraphicsStore::remove(const QByteArray &key)
{
    return m_graphics.erase(key) > 0;
}

void GraphicsStore::clear()
{
    m_graphics.clear();
}

const NvGraphic *GraphicsStore::find(const QByteArray &key) const
{
    const auto found = m_graphics.find(key);
    return found == m_graphics.end() ? nullptr : &found->second;
}

qint64 GraphicsStore::remaining() const
{
    qint64 used = 0;
    for (const auto &[key, graphic] : m_graphics)
        used += graphic.bytes + ControlBytes;
    return m_options.capacity - used;
}

QByteArray GraphicsStore::figureAnswer(char identifier, qint64 figure)
{
    return QByteArray("\x37") + identifier + QByteArray::number(figure) + '\0';
}

QList<QByteArray> GraphicsStore::keys() const
{
    QList<QByteArray> keys;
    for (const auto &[key, graphic] : m_graphics)
        keys.append(key);
    return keys;
}
