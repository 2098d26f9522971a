// One number of the editor: its plain words with the code name beside them, a slider over
// its draw range, a field that also takes values beyond it, and a lock. A formula set or
// a palette-position formula is a list naming each formula instead. A change by the user
// goes out as `edited`; a typed value that is no number is refused with `refused`. GUI
// thread only.
#pragma once

#include "variations/record_editing.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSlider;

namespace mandalix {

class ParameterRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSliderSteps = 1000;

    // `choices`, when given, makes the row a list of them for the values 1, 2, ...
    ParameterRow(int index, const EditableNumber& number, const char* const* choices, int choiceCount,
                 QWidget* parent);

    int index() const { return m_index; }
    // Shows `value` without telling it as an edit.
    void display(double value);
    bool isLocked() const;
    void setLocked(bool locked);

    QSlider* slider() const { return m_slider; }
    QLineEdit* field() const { return m_field; }

signals:
    void edited(int index, double value);
    void refused(const QString& reason);

private:
    int sliderPosition(double value) const;
    double valueAt(int position) const;
    void typed();

    const int m_index;
    const EditableNumber m_number;
    QSlider* m_slider = nullptr;
    QComboBox* m_list = nullptr;
    QLineEdit* m_field = nullptr;
    QCheckBox* m_lock = nullptr;
    double m_value = 0;
    bool m_isShowing = false; // set while display() moves the controls
};

} // namespace mandalix
