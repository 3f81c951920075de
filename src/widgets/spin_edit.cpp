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

// A number outside the range is first brought to the nearest end of it, so
// both arrows lead back into the range; a text without a number counts as 0.
long long CSpinEdit::stepBase() const
{
    const QString current = text();
    const long long n = leadingNumber(current);
    return startsWithNumber(current) ? std::clamp<long long>(n, m_minimum, m_maximum) : n;
}

bool CSpinEdit::outOfRange() const
{
    const int n = leadingNumber(text());
    return startsWithNumber(text()) && (n < m_minimum || n > m_maximum);
}

void CSpinEdit::stepBy(int steps)
{
    const long long next = std::clamp<long long>(stepBase() + steps, m_minimum, m_maximum);
    lineEdit()->setText(QString::number(next));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CSpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    if (outOfRange())
        return StepUpEnabled | StepDownEnabled;
    const long long n = stepBase();
    StepEnabled flags = StepNone;
    if (n < m_maximum)
        flags |= StepUpEnabled;
    if (n > m_minimum)
        flags |= StepDownEnabled;
    return flags;
}
