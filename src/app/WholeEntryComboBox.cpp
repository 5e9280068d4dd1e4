#include "WholeEntryComboBox.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

void WholeEntryComboBox::showPopup()
{
    const QFontMetrics metrics(view()->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    // The list's frame, an item's margins and a scroll bar come on top of the text.
    const int extra = 2 * view()->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                      4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) +
                      metrics.averageCharWidth();
    view()->setMinimumWidth(std::max(width(), widest + extra));
    QComboBox::showPopup();
}
