#pragma once

#include <QComboBox>

// A criteria combo box that announces each drop-down before its list opens, so that a screen
// can fill the list on first use (and then mark it "Loaded" in its "Tag" property).
class DropDownComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

    // The list is filled once: true the first time, after which the tag reads "Loaded".
    bool takeFirstDropDown();

signals:
    void dropDown();
};
