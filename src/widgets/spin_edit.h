#pragma once

#include <QAbstractSpinBox>

// An edit box with up and down arrows that keeps whatever text is typed: the
// arrows step the leading number of the text within a range (from the nearest
// end of it when the number lies outside), but the text is never validated or
// corrected, so callers read it exactly as the user left it.
class CSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit CSpinEdit(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    QString text() const;
    void setText(const QString& text);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;

private:
    long long stepBase() const;
    bool outOfRange() const;

    int m_minimum = 0;
    int m_maximum = 100;
};
