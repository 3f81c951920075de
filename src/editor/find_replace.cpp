#include "editor/find_replace.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/control_text.h"
#include "editor/my_find_replace_dialog.h"
#include "editor/my_rich_edit_view.h"
#include "editor/rules/code_page.h"
#include "editor/rules/regex_replacement.h"
#include "editor/rules/text_search.h"
#include "resources/command_ids.h"
#include "widgets/history_sections.h"

#include <QApplication>
#include <QGuiApplication>

namespace {

using Sci = QsciScintillaBase;

// Shows the wait cursor while it lives.
struct WaitCursor
{
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

int searchFlags(bool matchCase, bool wholeWord)
{
    return (matchCase ? Sci::SCFIND_MATCHCASE : 0) | (wholeWord ? Sci::SCFIND_WHOLEWORD : 0);
}

// Whether the find and replace dialogs take regular expressions.
constexpr IntSetting kRegex{HistorySection::Find, "Regex", 0};

// The pattern backtracks so much on this text that the engine gave up.
const QString kTooComplex =
    QStringLiteral("正規表現の照合が複雑になりすぎたため、文書の終わりまで検索できませんでした。\n"
                   "繰り返しの中の繰り返し (例: (\\w+\\s?)*) を減らしてください。");

} // namespace

FindState& sharedFindState()
{
    static FindState state = [] {
        FindState initial;
        initial.regex = kRegex.read() != 0;
        return initial;
    }();
    return state;
}

CFindReplace::CFindReplace(CMyRichEditView* view) : QObject(view), m_view(view), m_regex(view)
{
    setObjectName(QStringLiteral("findReplace"));
}

CFindReplace* CFindReplace::install(CMyRichEditView* view)
{
    if (CFindReplace* existing = of(view))
        return existing;
    return new CFindReplace(view);
}

CFindReplace* CFindReplace::of(const CMyRichEditView* view)
{
    return view->findChild<CFindReplace*>(QStringLiteral("findReplace"),
                                          Qt::FindDirectChildrenOnly);
}

void CFindReplace::registerCommands(CCommandMapOf<CMyRichEditView>& map)
{
    map.on(Cmd::EditFind, [](CMyRichEditView& view) { of(&view)->openDialog(true); });
    map.onUpdate(Cmd::EditFind, &CMyRichEditView::textNotEmpty);
    map.on(Cmd::EditReplace, [](CMyRichEditView& view) { of(&view)->openDialog(false); });
    map.onUpdate(Cmd::EditReplace, &CMyRichEditView::textNotEmpty);
    map.on(Cmd::EditFindNext, [](CMyRichEditView& view) {
        const FindState& state = sharedFindState();
        of(&view)->findNext(state.findText, state.matchCase, state.wholeWord, state.regex);
    });
    map.onUpdate(Cmd::EditFindNext, [](CMyRichEditView& view, CCmdUI& ui) {
        ui.enable(view.textLength() > 0 && !sharedFindState().findText.isEmpty());
    });
}

// --- The dialog --------------------------------------------------------------

void CFindReplace::openDialog(bool findOnly)
{
    FindState& state = sharedFindState();
    m_series.restart();
    if (CMyFindReplaceDialog* open = state.dialog) {
        if (open->isFindOnly() == findOnly) {
            open->show();
            open->raise();
            open->activateWindow();
            return;
        }
        state.dialog = nullptr;
        open->close();
    }
    auto* dialog =
        new CMyFindReplaceDialog(findOnly, state.matchCase, state.wholeWord, state.regex, m_view);
    state.dialog = dialog;
    state.findOnly = findOnly;
    connectDialog(dialog);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CFindReplace::connectDialog(CMyFindReplaceDialog* dialog)
{
    connect(dialog, &QDialog::finished, this, [dialog] {
        FindState& state = sharedFindState();
        if (state.dialog == dialog)
            state.dialog = nullptr;
        // The regular-expression choice is kept even when nothing was searched.
        if (state.regex != dialog->regex()) {
            state.regex = dialog->regex();
            kRegex.write(state.regex ? 1 : 0);
        }
    });
    connect(dialog, &CMyFindReplaceDialog::findNextRequested, this, [this, dialog] {
        takeDialogState(dialog);
        findNext(dialog->findText(), dialog->matchCase(), dialog->wholeWord(), dialog->regex());
    });
    connect(dialog, &CMyFindReplaceDialog::replaceRequested, this, [this, dialog] {
        takeDialogState(dialog);
        replaceCurrent(dialog->findText(), dialog->replaceText(), dialog->matchCase(),
                       dialog->wholeWord(), dialog->regex());
    });
    connect(dialog, &CMyFindReplaceDialog::replaceAllRequested, this, [this, dialog] {
        takeDialogState(dialog);
        sharedFindState().searchDown = true;
        replaceAll(dialog->findText(), dialog->replaceText(), dialog->matchCase(),
                   dialog->wholeWord(), dialog->regex());
    });
}

void CFindReplace::takeDialogState(const CMyFindReplaceDialog* dialog)
{
    FindState& state = sharedFindState();
    state.findText = dialog->findText();
    if (!dialog->isFindOnly())
        state.replaceText = dialog->replaceText();
    state.matchCase = dialog->matchCase();
    state.wholeWord = dialog->wholeWord();
    if (state.regex != dialog->regex()) {
        state.regex = dialog->regex();
        kRegex.write(state.regex ? 1 : 0);
    }
}

void CFindReplace::moveDialogClearOfCaret()
{
    CMyFindReplaceDialog* dialog = sharedFindState().dialog;
    if (!dialog || !dialog->isVisible())
        return;
    qint64 start, end;
    m_view->getSel(start, end);
    dialog->moveClearOf(m_view->viewport()->mapToGlobal(m_view->charPos(start)));
}

// --- Searching ---------------------------------------------------------------

unsigned char CFindReplace::byteAt(qint64 pos) const
{
    return static_cast<unsigned char>(
        m_view->sci(Sci::SCI_GETCHARAT, static_cast<unsigned long>(pos)));
}

// The first match in [from, to) as the control's search would find it. The
// control's search scans about 100 times slower than memchr, so candidates
// are found by scanning the bytes and only confirmed by the control where its
// word rule decides. It folds letter case for ASCII letters only, so a needle
// with other characters searched without match case goes to the control.
FindMatch CFindReplace::findInRange(const QByteArray& what, int flags, qint64 from, qint64 to) const
{
    const qint64 length = m_view->textLength();
    to = qMin(to, length);
    // A range may begin inside a multi-byte character (one position after a
    // selection's start); a match can only begin at the next character.
    for (int i = 0; i < 3 && from < to && CodePage::isTrailByte(byteAt(from)); ++i)
        ++from;
    if (what.isEmpty() || from < 0 || to - from < what.size())
        return {};
    const bool matchCase = flags & Sci::SCFIND_MATCHCASE;
    if (!matchCase && !TextSearch::isAscii(what))
        return controlFind(what, flags, from, to);

    const QByteArrayView range = ControlText::range(*m_view, from, to);
    for (qint64 at = 0;;) {
        const qint64 found = TextSearch::find(range, what, matchCase, at);
        if (found < 0)
            return {};
        const qint64 start = from + found;
        if (!(flags & Sci::SCFIND_WHOLEWORD))
            return {start, start + what.size()};
        auto byteAtPos = [&](qint64 pos) {
            return pos >= from && pos < to ? static_cast<unsigned char>(range[pos - from])
                                           : byteAt(pos);
        };
        if (!mayBeWord(byteAtPos, start, start + what.size(), length)) {
            at = found + 1;
            continue;
        }
        // Only the word rule is left to decide: ask the control with the
        // candidate's own bytes and match case, which spares it setting up
        // its case folding for every candidate.
        const QByteArray candidate = range.sliced(found, what.size()).toByteArray();
        const FindMatch match = controlFind(
            candidate, Sci::SCFIND_MATCHCASE | Sci::SCFIND_WHOLEWORD, start, start + what.size());
        if (match.found())
            return match;
        at = found + 1;
    }
}

// False where the control's word rule surely rejects [start, end): an ASCII
// word character (letter, digit, underscore) on both sides of either edge.
// Everything else is left to the control itself.
bool CFindReplace::mayBeWord(const std::function<unsigned char(qint64)>& byteAt, qint64 start,
                             qint64 end, qint64 length)
{
    auto isWordByte = [](unsigned char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    if (start > 0 && isWordByte(byteAt(start - 1)) && isWordByte(byteAt(start)))
        return false;
    if (end < length && isWordByte(byteAt(end - 1)) && isWordByte(byteAt(end)))
        return false;
    return true;
}

FindMatch CFindReplace::controlFind(const QByteArray& what, int flags, qint64 from, qint64 to) const
{
    m_view->sci(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), static_cast<long>(to));
    m_view->sci(Sci::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flags));
    const long pos = m_view->SendScintilla(
        Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(what.size()), what.constData());
    if (pos < 0)
        return {};
    return {pos, m_view->sci(Sci::SCI_GETTARGETEND)};
}

FindMatch CFindReplace::searchBytes(const QByteArray& what, int flags, bool fromSelectionStart)
{
    qint64 start, end;
    m_view->getSel(start, end);
    const FindMatch match = m_series.search(
        start, end, m_view->textLength(),
        [&](qint64 from, qint64 to) { return findInRange(what, flags, from, to); },
        fromSelectionStart);
    if (match.found()) {
        m_view->setSel(match.start, match.end);
        m_view->revealCaret();
    }
    return match;
}

bool CFindReplace::search(const QString& text, bool matchCase, bool wholeWord, bool regex)
{
    WaitCursor wait;
    if (!regex || text.isEmpty())
        return searchBytes(text.toUtf8(), searchFlags(matchCase, wholeWord)).found();
    const CRegexPattern& pattern = m_regex.pattern(text, {matchCase, wholeWord});
    return pattern.isValid() && m_regex.search(pattern, m_series);
}

void CFindReplace::notFound()
{
    m_series.restart();
    UiSeam::beep();
}

bool CFindReplace::findNext(const QString& text, bool matchCase, bool wholeWord, bool regex)
{
    if (regex && !text.isEmpty() && !usablePattern(text, matchCase, wholeWord))
        return false;
    if (!search(text, matchCase, wholeWord, regex)) {
        if (regex && m_regex.gaveUp()) {
            // Not "not found": part of the text was never searched.
            m_series.restart();
            complain(kTooComplex);
            return false;
        }
        notFound();
        return false;
    }
    moveDialogClearOfCaret();
    return true;
}

// Whether the selection is the text: as long, and equal to it as the search
// compares (Scintilla's own comparison, so both agree on letter case).
bool CFindReplace::selectionIs(const QByteArray& what, bool matchCase) const
{
    qint64 start, end;
    m_view->getSel(start, end);
    if (what.isEmpty() || end - start != what.size())
        return false;
    const FindMatch match = findInRange(what, searchFlags(matchCase, false), start, end);
    return match.start == start && match.end == end;
}

// --- Replacing ---------------------------------------------------------------

bool CFindReplace::replaceCurrent(const QString& text, const QString& replacement, bool matchCase,
                                  bool wholeWord, bool regex)
{
    if (regex && !text.isEmpty())
        return replaceCurrentRegex(text, replacement, matchCase, wholeWord);
    const QByteArray what = text.toUtf8();
    if (selectionIs(what, matchCase)) {
        qint64 start, end;
        m_view->getSel(start, end);
        // A series that begins here ends before the new text, which is
        // therefore never searched again.
        m_series.beginAt(start);
        m_view->replaceSel(replacement.toUtf8(), false);
    }
    return findNext(text, matchCase, wholeWord);
}

int CFindReplace::replaceAll(const QString& text, const QString& replacement, bool matchCase,
                             bool wholeWord, bool regex)
{
    if (regex && !text.isEmpty())
        return replaceAllRegex(text, replacement, matchCase, wholeWord);
    WaitCursor wait;
    const QByteArray what = text.toUtf8();
    const int flags = searchFlags(matchCase, wholeWord);
    // Replace all covers the whole text once: from the selection's start to
    // the end, then from the beginning up to that start.
    m_series.restart();
    qint64 start, end;
    m_view->getSel(start, end);
    if (selectionIs(what, matchCase))
        m_series.beginAt(start);
    else if (!searchBytes(what, flags, true).found()) {
        notFound();
        return 0;
    }
    m_view->hideSelection(true);
    const int count = replaceEach(what, replacement.toUtf8(), flags);
    notFound();
    m_view->hideSelection(false);
    return count;
}

// Replaces the selected match and every further match of the series one by
// one, each as a replacement in the control: the text around each match keeps
// its colours, and the new text takes the default format, as a single
// replacement does. Painting is off meanwhile, so the window is drawn once;
// the selection is tracked here and set once at the end.
int CFindReplace::replaceEach(const QByteArray& what, const QByteArray& replacement, int flags)
{
    qint64 start, end;
    m_view->getSel(start, end);
    int count = 0;
    beginBulkReplace();
    qint64 caret = start;
    for (;;) {
        replaceTarget(start, end, replacement.constData(), replacement.size());
        ++count;
        caret = start + replacement.size();
        const FindMatch match =
            m_series.search(caret, caret, m_view->textLength(), [&](qint64 from, qint64 to) {
                return findInRange(what, flags, from, to);
            });
        if (!match.found())
            break;
        start = match.start;
        end = match.end;
    }
    endBulkReplace(caret);
    return count;
}

void CFindReplace::beginBulkReplace()
{
    m_view->setRedraw(false);
    m_view->sci(Sci::SCI_SETUNDOCOLLECTION, 0);
}

void CFindReplace::replaceTarget(qint64 start, qint64 end, const char* text, qsizetype length)
{
    m_view->sci(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
    m_view->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(length), text);
}

void CFindReplace::endBulkReplace(qint64 caret)
{
    m_view->sci(Sci::SCI_SETUNDOCOLLECTION, 1);
    m_view->emptyUndoBuffer();
    m_view->setSel(caret, caret);
    m_view->setRedraw(true);
}

// --- Regular expressions -----------------------------------------------------

void CFindReplace::complain(const QString& message) const
{
    QWidget* dialog = sharedFindState().dialog;
    UiSeam::messageBox(dialog ? dialog : m_view, message, QMessageBox::Warning);
}

const CRegexPattern* CFindReplace::usablePattern(const QString& text, bool matchCase,
                                                 bool wholeWord)
{
    const CRegexPattern& pattern = m_regex.pattern(text, {matchCase, wholeWord});
    if (pattern.isValid())
        return &pattern;
    complain(pattern.errorMessage());
    return nullptr;
}

bool CFindReplace::usableReplacement(const CRegexReplacement& replacement,
                                     const CRegexPattern& pattern)
{
    const QString problem = replacement.check(pattern.captureCount());
    if (problem.isEmpty())
        return true;
    complain(problem);
    return false;
}

bool CFindReplace::replaceCurrentRegex(const QString& text, const QString& replacement,
                                       bool matchCase, bool wholeWord)
{
    const CRegexPattern* pattern = usablePattern(text, matchCase, wholeWord);
    const CRegexReplacement parsed(replacement);
    if (!pattern || !usableReplacement(parsed, *pattern))
        return false;
    m_regex.replaceSelection(*pattern, parsed, m_series);
    return findNext(text, matchCase, wholeWord, true);
}

// Every match of the whole text is found first, in one pass over it; the
// replacements are then made one by one as the plain replace all makes them,
// so the text around each keeps its colours.
int CFindReplace::replaceAllRegex(const QString& text, const QString& replacement, bool matchCase,
                                  bool wholeWord)
{
    const CRegexPattern* pattern = usablePattern(text, matchCase, wholeWord);
    const CRegexReplacement parsed(replacement);
    if (!pattern || !usableReplacement(parsed, *pattern))
        return 0;
    WaitCursor wait;
    m_series.restart();
    const RegexSearch::Edits edits = m_regex.replacements(*pattern, parsed);
    if (edits.failed) {
        // Replacing only the matches before the place would pass for done.
        complain(kTooComplex + QStringLiteral("\n何も置換しませんでした。"));
        return 0;
    }
    if (edits.edits.isEmpty()) {
        notFound();
        return 0;
    }
    m_view->hideSelection(true);
    beginBulkReplace();
    qint64 shift = 0;
    qint64 caret = 0;
    for (const RegexSearch::Edit& edit : edits.edits) {
        const qint64 start = edit.start + shift;
        replaceTarget(start, edit.end + shift,
                      edits.replacements.constData() + edit.replacementStart,
                      edit.replacementLength);
        shift += edit.replacementLength - (edit.end - edit.start);
        caret = start + edit.replacementLength;
    }
    endBulkReplace(caret);
    notFound();
    m_view->hideSelection(false);
    return static_cast<int>(edits.edits.size());
}
