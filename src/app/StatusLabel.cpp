#include "StatusLabel.h"

#include "FittedFont.h"

#include <QPainter>

QFont StatusLabel::shownFont() const
{
    return fittedFont(font(), text(), contentsRect().width());
}

void StatusLabel::paintEvent(QPaintEvent *event)
{
    const QFont shown = shownFont();
    if (shown == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(shown);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()), text());
}
