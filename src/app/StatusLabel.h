#pragma once

#include <QLabel>

// The status line: a text wider than the label is drawn in a smaller font, whole, instead of
// losing both its ends. The label keeps its own font and rectangle.
class StatusLabel : public QLabel
{
public:
    using QLabel::QLabel;

    // The font the current text is drawn in.
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
