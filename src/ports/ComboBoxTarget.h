#pragma once

#include <QString>

// The port and rate boxes as the list fillers see them, so nothing here needs a widget.
class ComboBoxTarget
{
public:
    virtual ~ComboBoxTarget() = default;
    // Empties the list and the text.
    virtual void clear() = 0;
    virtual void addItem(const QString &text) = 0;
    virtual int count() const = 0;
    // Selects an item, which also sets the box's text to it.
    virtual void setCurrentIndex(int index) = 0;
};
