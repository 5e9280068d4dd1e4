#include "FittedFont.h"

#include <QFontMetricsF>

QFont fittedFont(const QFont &font, const QString &text, int room)
{
    constexpr qreal SmallestPoints = 6;
    constexpr qreal Step = 0.5;
    QFont fitted = font;
    while (QFontMetricsF(fitted).horizontalAdvance(text) > room &&
           fitted.pointSizeF() - Step >= SmallestPoints)
        fitted.setPointSizeF(fitted.pointSizeF() - Step);
    return fitted;
}
