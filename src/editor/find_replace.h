#pragma once

#include "core/command_target.h"
#include "editor/rules/search_series.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class CMyFindReplaceDialog;
class CMyRichEditView;

// The find state shared by every view: the open find or replace dialog (at
// most one), and the last texts and options used. It outlives the dialog and
// every view.
struct FindState
{
    QPointer<CMyFindReplaceDialog> dialog;
    bool findOnly = true; // kind of the open dialog
    QString findText;
    QString replaceText;
    bool matchCase = false;
    bool wholeWord = false;
    bool searchDown = true;
};
FindState& sharedFindState();

// Find and replace on one view: the commands Find (Ctrl+F), Replace (Ctrl+H)
// and Find next (F3), the view's search series, and the requests of the
// dialog the view opened. Owned by the view (a child object).
class CFindReplace : public QObject
{
    Q_OBJECT

public:
    // Attaches find and replace to a view.
    static CFindReplace* install(CMyRichEditView* view);
    // Registers Find, Replace and Find next, carried out by a view's own
    // find and replace.
    static void registerCommands(CCommandMapOf<CMyRichEditView>& map);
    // The find and replace of a view, or null before install.
    static CFindReplace* of(const CMyRichEditView* view);

    // Opens the find dialog (findOnly) or the replace dialog, or activates it
    // when that kind is open already; another kind open is closed first.
    void openDialog(bool findOnly);

    // One search of the series for text; selects the match. A search for an
    // empty text finds nothing.
    bool search(const QString& text, bool matchCase, bool wholeWord);
    // Search, then move the dialog off the caret, or the not-found reaction.
    bool findNext(const QString& text, bool matchCase, bool wholeWord);
    // Replaces the selection when it is the find text, then finds the next.
    bool replaceCurrent(const QString& text, const QString& replacement, bool matchCase,
                        bool wholeWord);
    // Replaces every occurrence from the selection onwards and then from the
    // beginning up to where it started; returns the number of replacements.
    // Not recorded for undo. Ends with the not-found reaction.
    int replaceAll(const QString& text, const QString& replacement, bool matchCase, bool wholeWord);

    CSearchSeries& series() { return m_series; }

private:
    explicit CFindReplace(CMyRichEditView* view);
    void connectDialog(CMyFindReplaceDialog* dialog);
    void takeDialogState(const CMyFindReplaceDialog* dialog);

    unsigned char byteAt(qint64 pos) const;
    FindMatch findInRange(const QByteArray& what, int flags, qint64 from, qint64 to) const;
    static bool mayBeWord(const std::function<unsigned char(qint64)>& byteAt, qint64 start,
                          qint64 end, qint64 length);
    FindMatch controlFind(const QByteArray& what, int flags, qint64 from, qint64 to) const;
    FindMatch searchBytes(const QByteArray& what, int flags, bool fromSelectionStart = false);
    bool selectionIs(const QByteArray& what, bool matchCase) const;
    void notFound();
    void moveDialogClearOfCaret();
    int replaceEach(const QByteArray& what, const QByteArray& replacement, int flags);

    CMyRichEditView* m_view;
    CSearchSeries m_series;
};
