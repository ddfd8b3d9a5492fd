#pragma once

#include <QCheckBox>

// A check box holding 0 (unchecked), 1 (checked) or 2 (greyed). Greyed comes only from a
// restored settings file; a click always toggles between unchecked and checked.
class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    int value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};
