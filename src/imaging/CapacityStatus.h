#pragma once

#include <QColor>
#include <QString>

// The printer's NV image store: 2 x 1024 x 1024 bytes, the "2M" of the status text.
constexpr qint64 CapacityLimit = 2 * 1024 * 1024;

// Red marks a state that blocks the upload.
enum class Tone { Red, Blue };

// The Windows colour value (red in the low byte) and the same colour for Qt.
quint32 windowsColour(Tone tone);
QColor toneColour(Tone tone);

struct StatusText
{
    QString text;
    Tone tone = Tone::Red;
};

struct CapacityStatus
{
    StatusText sizeNotify;
    StatusText numberNotify;
    QString toolTip; // the total as decimal digits
    bool uploadEnabled = false;
};

// The read-outs for a list of count pictures whose raster data totals total bytes, tooTall of
// them taller than a printer stores.
CapacityStatus capacityStatus(qint64 total, int count, qsizetype tooTall = 0);

// An NV graphics upload defines one graphic per key, "01" to "FF".
constexpr int MaxGraphicsCount = 255;

// The read-outs for count pictures to be stored as NV graphics of total bytes of dots: the
// printer's own capacity, asked at upload, decides whether they fit.
CapacityStatus graphicsCapacityStatus(qint64 total, int count, qsizetype tooTall = 0);
