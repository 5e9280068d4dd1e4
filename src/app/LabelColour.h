#pragma once

#include <QColor>
#include <QLabel>

// Colours the text alone: the role the label draws it in, which no read-out's border uses.
inline void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(label->foregroundRole(), colour);
    label->setPalette(palette);
}
