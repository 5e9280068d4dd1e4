#pragma once

#include <QtGlobal>

#include <deque>

class TransferHost;

// The progress bar counts what the printer has taken, not what was handed to the link: the
// bytes written less those the link still holds (its transmit queue, or on a network link
// those the printer has not acknowledged). Each array gets its range once every array before
// it is taken, so Min, Max and the rising Value always belong to the bytes on their way.
class TakenProgress
{
public:
    explicit TakenProgress(TransferHost &host);

    // An array of size bytes that is about to be written after those already written.
    void startArray(qint64 size);
    // Bytes handed to the link, of an array or not.
    void written(qint64 bytes);
    // The link holds backlog of the bytes written.
    void update(qint64 backlog);

private:
    void announceFront();

    struct Array
    {
        qint64 end;
        qint64 size;
    };
    TransferHost &m_host;
    std::deque<Array> m_arrays;
    qint64 m_written = 0;
    qint64 m_taken = 0;
    qint64 m_shownValue = -1;
};
