#pragma once

#include <QLineEdit>

class QFontMetrics;

// The label edit of the dialogs that can take the selected text as the
// label of the element they build. A label handed in is kept whole, however
// long and with its line breaks, and the edit is then disabled, so the
// element gives back exactly the text it replaces; without one the user
// types the label.
class CLabelEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CLabelEdit(QWidget* parent = nullptr);

    // Hands in the selected text; a non-empty one disables the edit.
    void setHandedLabel(const QString& label);
    bool hasHandedLabel() const { return !m_handed.isEmpty(); }

    // The handed label, or what the user typed when there is none.
    QString label() const;

    // The label as the caption of a sample control: its first line, cut
    // short with an ellipsis to fit width, ampersands shown as themselves.
    static QString sampleCaption(const QString& label, const QFontMetrics& metrics, int width);

private:
    QString m_handed;
};
