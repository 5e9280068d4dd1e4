#pragma once

#include <QComboBox>

// A combo box whose drop-down list is as wide as its longest entry, so entries that differ
// only at their ends can be told apart; the box itself keeps its size.
class WholeEntryComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

    void showPopup() override;
};
