#include "app/parameter_row.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

QString numberText(double value) { return QString::number(value, 'g', 10); }

} // namespace

ParameterRow::ParameterRow(int index, const EditableNumber& number, const char* const* choices, int choiceCount,
                           QWidget* parent)
    : QWidget(parent)
    , m_index(index)
    , m_number(number)
{
    const QString code = QString::fromLatin1(number.code);
    setObjectName(QStringLiteral("Edit_%1").arg(code).replace(u' ', u'_'));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("%1 (%2)").arg(QString::fromLatin1(number.words), code), this);
    label->setWordWrap(true);
    label->setMinimumWidth(260);
    layout->addWidget(label, 3);
    if (choices) {
        m_list = new QComboBox(this);
        for (int k = 0; k < choiceCount; ++k)
            m_list->addItem(QString::fromLatin1(choices[k]));
        m_list->setAccessibleName(code);
        connect(m_list, &QComboBox::activated, this, [this](int row) { emit edited(m_index, row + 1.0); });
        layout->addWidget(m_list, 2);
    } else {
        m_slider = new QSlider(Qt::Horizontal, this);
        m_slider->setRange(0, number.range.isWhole() ? number.range.count() - 1 : kSliderSteps);
        m_slider->setAccessibleName(code);
        connect(m_slider, &QSlider::valueChanged, this, [this](int position) {
            if (!m_isShowing)
                emit edited(m_index, valueAt(position));
        });
        layout->addWidget(m_slider, 2);
    }
    m_field = new QLineEdit(this);
    m_field->setMaximumWidth(90);
    m_field->setAccessibleName(QStringLiteral("%1 value").arg(code));
    connect(m_field, &QLineEdit::editingFinished, this, &ParameterRow::typed);
    layout->addWidget(m_field);
    m_lock = new QCheckBox(QStringLiteral("lock"), this);
    m_lock->setToolTip(QStringLiteral("Randomise leaves %1 as it is").arg(code));
    layout->addWidget(m_lock);
}

void ParameterRow::display(double value)
{
    m_isShowing = true;
    m_value = value;
    m_field->setText(numberText(value));
    if (m_list) {
        const int row = static_cast<int>(std::lround(value)) - 1;
        m_list->setCurrentIndex(row >= 0 && row < m_list->count() && value == row + 1.0 ? row : -1);
    } else {
        m_slider->setValue(sliderPosition(value));
    }
    m_isShowing = false;
}

bool ParameterRow::isLocked() const { return m_lock->isChecked(); }
void ParameterRow::setLocked(bool locked) { m_lock->setChecked(locked); }

int ParameterRow::sliderPosition(double value) const
{
    const ParameterRange& range = m_number.range;
    if (!std::isfinite(value))
        return 0;
    const double place = (std::clamp(value, range.min, range.max) - range.min) / (range.max - range.min);
    return static_cast<int>(std::lround(place * m_slider->maximum()));
}

double ParameterRow::valueAt(int position) const
{
    const ParameterRange& range = m_number.range;
    if (range.isWhole())
        return range.min + range.unit * position;
    return fitToRange(range.min + (range.max - range.min) * position / m_slider->maximum(), range);
}

void ParameterRow::typed()
{
    bool isNumber = false;
    const QString text = m_field->text().trimmed();
    const double value = text.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value)) {
        emit refused(QStringLiteral("%1: \"%2\" is not a number; it stays %3")
                         .arg(QString::fromLatin1(m_number.code), text.left(20), numberText(m_value)));
        m_field->setText(numberText(m_value));
        return;
    }
    if (value != m_value)
        emit edited(m_index, value);
}

} // namespace mandalix
