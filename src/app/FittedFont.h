#pragma once

#include <QFont>
#include <QString>

// The font made smaller, not below 6 points, until text fits into room pixels; the font itself
// when the text fits already.
QFont fittedFont(const QFont &font, const QString &text, int room);
