#include "TakenProgress.h"

#include "TransferHost.h"

#include <algorithm>
#include <climits>

TakenProgress::TakenProgress(TransferHost &host)
    : m_host(host)
{}

void TakenProgress::startArray(qint64 size)
{
    // With nothing on its way the count starts afresh; a question still queued on the link
    // only holds the count back.
    if (m_arrays.empty())
        m_written = m_taken = 0;
    m_arrays.push_back({m_written + size, size});
    if (m_arrays.size() == 1)
        announceFront();
}

void TakenProgress::written(qint64 bytes)
{
    m_written += bytes;
}

void TakenProgress::update(qint64 backlog)
{
    m_taken = std::max(m_taken, m_written - backlog);
    while (!m_arrays.empty()) {
        const Array &front = m_arrays.front();
        const qint64 value = std::min(m_taken, front.end) - (front.end - front.size) - 1;
        if (value > m_shownValue) {
            m_shownValue = value;
            m_host.setProgressValue(int(std::min<qint64>(value, INT_MAX)));
        }
        if (m_taken < front.end)
            return;
        m_arrays.pop_front();
        if (!m_arrays.empty())
            announceFront();
    }
}

void TakenProgress::announceFront()
{
    m_host.setProgressMin(0);
    m_host.setProgressMax(int(std::min<qint64>(m_arrays.front().size - 1, INT_MAX)));
    m_shownValue = -1;
}
