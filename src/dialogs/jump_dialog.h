#pragma once

#include <QDialog>
#include <QMessageBox>

class CSpinEdit;

// "ジャンプ": asks for a line number between 1 and the number of lines. OK
// refuses a text that is not an integer, and a number out of range with a
// message naming the range, and keeps the dialog open; after OK, line()
// holds the number.
class CJumpDialog : public QDialog
{
    Q_OBJECT

public:
    CJumpDialog(int lineCount, int line, QWidget* parent = nullptr);

    int line() const { return m_line; }

    // What the text says as a line number for lineCount lines: the number,
    // or the message to show (a warning for a text that is no integer, an
    // information for a number out of range).
    struct LineCheck
    {
        int line = 0;
        QString message; // empty: line is from 1 to lineCount
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    static LineCheck checkLine(const QString& text, int lineCount);

    void accept() override;

private:
    int m_lineCount;
    int m_line;
    CSpinEdit* m_edit;
};
