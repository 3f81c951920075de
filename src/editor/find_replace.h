#pragma once

#include "core/command_target.h"
#include "editor/regex_finder.h"
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
    bool regex = false; // remembered from one run of the program to the next
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

    // With regex, text is a regular expression (CRegexPattern) and the
    // replacement may name its groups (CRegexReplacement); a pattern or a
    // replacement with an error is refused with a message saying what is
    // wrong, and nothing changes. Without it, everything is as it always was.

    // One search of the series for text; selects the match. A search for an
    // empty text (or a pattern with an error) finds nothing.
    bool search(const QString& text, bool matchCase, bool wholeWord, bool regex = false);
    // Search, then move the dialog off the caret, or the not-found reaction.
    bool findNext(const QString& text, bool matchCase, bool wholeWord, bool regex = false);
    // Replaces the selection when it is the find text (a match of the
    // pattern), then finds the next.
    bool replaceCurrent(const QString& text, const QString& replacement, bool matchCase,
                        bool wholeWord, bool regex = false);
    // Replaces every occurrence from the selection onwards and then from the
    // beginning up to where it started (a pattern: every match of the whole
    // text, in one pass); returns the number of replacements. Not recorded
    // for undo. Ends with the not-found reaction.
    int replaceAll(const QString& text, const QString& replacement, bool matchCase, bool wholeWord,
                   bool regex = false);

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
    // A replace all's replacements are made with painting and undo off.
    void beginBulkReplace();
    void replaceTarget(qint64 start, qint64 end, const char* text, qsizetype length);
    void endBulkReplace(qint64 caret);

    // The compiled pattern, or null after saying what is wrong with it.
    const CRegexPattern* usablePattern(const QString& text, bool matchCase, bool wholeWord);
    // False after saying which group the replacement names in vain.
    bool usableReplacement(const CRegexReplacement& replacement, const CRegexPattern& pattern);
    void complain(const QString& message) const;
    bool replaceCurrentRegex(const QString& text, const QString& replacement, bool matchCase,
                             bool wholeWord);
    int replaceAllRegex(const QString& text, const QString& replacement, bool matchCase,
                        bool wholeWord);

    CMyRichEditView* m_view;
    CSearchSeries m_series;
    CRegexFinder m_regex;
};
