#pragma once

#include <QMetaObject>
#include <QObject>

class CMyRichEditView;

// The line-number margin of a view, at its left edge. It numbers document
// lines; a line wrapped over several displayed lines shows its number on the
// first of them only. Its width follows the number of lines, and is set
// again only when that number gains or loses a digit: a new width makes the
// control wrap every line again, so typing never changes it otherwise. A
// zoom of the text sets it again for the digits' new size.
class CLineNumberMargin : public QObject
{
    Q_OBJECT

public:
    explicit CLineNumberMargin(CMyRichEditView& view);

    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    // The margin's font and colours again, after the view's styles were
    // reset to new fonts, and the width that font needs.
    void restyle();

Q_SIGNALS:
    // The margin took another width: every line waits to be wrapped again.
    void widthChanged();

private:
    void followLineCount();
    void setWidth(int digits);

    CMyRichEditView& m_view;
    bool m_shown = false;
    int m_digits = 0;
    QMetaObject::Connection m_connection;
    QMetaObject::Connection m_zoomConnection;
};
