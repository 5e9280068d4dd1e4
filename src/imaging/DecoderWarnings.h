#pragma once

#include <QStringList>

// While it lives, takes the warnings that Qt's image decoders log on this thread instead of
// letting them reach the log: libjpeg tells of damaged or missing data in no other way.
// Threads that read pictures side by side each take their own.
class DecoderWarnings
{
public:
    DecoderWarnings();
    ~DecoderWarnings();
    DecoderWarnings(const DecoderWarnings &) = delete;
    DecoderWarnings &operator=(const DecoderWarnings &) = delete;

    const QStringList &messages() const { return m_messages; }

private:
    QStringList m_messages;
    QStringList *m_outer;
};
