#pragma once

#include "ComboBoxTarget.h"

#include <QComboBox>

// Lets the list fillers fill a real combo box.
class ComboBoxAdapter : public ComboBoxTarget
{
public:
    explicit ComboBoxAdapter(QComboBox &box)
        : m_box(box)
    {}
    void clear() override
    {
        m_box.clear();
        m_box.clearEditText();
    }
    void addItem(const QString &text) override { m_box.addItem(text); }
    int count() const override { return m_box.count(); }
    void setCurrentIndex(int index) override { m_box.setCurrentIndex(index); }

private:
    QComboBox &m_box;
};
