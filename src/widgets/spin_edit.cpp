#include "widgets/spin_edit.h"

#include "widgets/leading_number.h"

#include <QLineEdit>

#include <algorithm>

CSpinEdit::CSpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, &CSpinEdit::textChanged);
}

void CSpinEdit::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    update();
}

QString CSpinEdit::text() const
{
    return lineEdit()->text();
}

void CSpinEdit::setText(const QString& text)
{
    lineEdit()->setText(text);
}

QValidator::State CSpinEdit::validate(QString&, int&) const
{
    return QValidator::Acceptable;
}

void CSpinEdit::fixup(QString&) const {}

void CSpinEdit::stepBy(int steps)
{
    const long long wanted = static_cast<long long>(leadingNumber(text())) + steps;
    const long long next = std::clamp<long long>(wanted, m_minimum, m_maximum);
    lineEdit()->setText(QString::number(next));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    const int n = leadingNumber(text());
    StepEnabled flags = StepNone;
    if (n < m_maximum)
        flags |= StepUpEnabled;
    if (n > m_minimum)
        flags |= StepDownEnabled;
    return flags;
}
