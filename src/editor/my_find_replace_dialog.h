#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>

class CHistoryComboBox;
class QCheckBox;
class QPushButton;

// The modeless find dialog and replace dialog (one class, two kinds). The
// find-what box and the replace-with box carry input histories ("History\Find"
// for the find dialog, "History\Replace1" and "History\Replace2" for the
// replace dialog), start with the most recent entry, and save their lists
// when the dialog closes. The search always runs forward, so there is no
// direction choice.
//
// The dialog only reports the user's requests; the view that opened it runs
// them. Closing the dialog (キャンセル, Escape or the window's close button)
// destroys it.
class CMyFindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    CMyFindReplaceDialog(bool findOnly, bool matchCase, bool wholeWord, bool regex, QWidget* owner);
    ~CMyFindReplaceDialog() override;

    bool isFindOnly() const { return m_findOnly; }
    QString findText() const;
    QString replaceText() const; // empty for the find dialog
    bool matchCase() const;
    bool wholeWord() const;
    // The find text is a regular expression (and the replacement may name
    // its groups).
    bool regex() const;

    // Moves the dialog off a point of the screen (the caret) that it covers.
    void moveClearOf(const QPoint& globalPoint);

Q_SIGNALS:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    CHistoryComboBox* makeHistoryBox(const char* objectName, const char* section);
    void updateButtons(const QString& findText);

    bool m_findOnly;
    CHistoryComboBox* m_findWhat = nullptr;
    CHistoryComboBox* m_replaceWith = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_regex = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
};

// Where a dialog with the window rectangle dialog goes so that it does not
// cover point (screen coordinates, on the given screen): unchanged when it
// does not contain the point; else moved up until its bottom is 20 pixels
// above the point when the point lies lower than the dialog is high, or else
// moved down until its top is 40 pixels below the point when the point's
// height plus the dialog's stays within the screen.
QRect findDialogRectClearOf(const QRect& dialog, const QPoint& point, const QRect& screen);
