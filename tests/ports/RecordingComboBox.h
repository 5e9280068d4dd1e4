#pragma once

#include "ComboBoxTarget.h"

#include <QStringList>

#include <gtest/gtest.h>

// Keeps the box's list, text and selection as a combo box would, and counts the clears.
class RecordingComboBox : public ComboBoxTarget
{
public:
    void clear() override
    {
        items.clear();
        text.clear();
        currentIndex = -1;
        ++clears;
    }
    void addItem(const QString &item) override { items.append(item); }
    int count() const override { return static_cast<int>(items.size()); }
    void setCurrentIndex(int index) override
    {
        if (index < 0 || index >= items.size()) {
            ADD_FAILURE() << "selected item " << index << " of " << items.size();
            return;
        }
        currentIndex = index;
        text = items.at(index);
    }

    QStringList items;
    QString text = QStringLiteral("UnSelected");
    int currentIndex = -1;
    int clears = 0;
};
