#include "editor/my_rich_edit_view.h"

#include "editor/editor_accessibility.h"
#include "editor/editor_input_method.h"
#include "editor/find_replace.h"
#include "editor/key_bindings.h"
#include "editor/layout_runs.h"
#include "editor/tag_colorizer.h"
#include "editor/wrap_tracker.h"
#include "resources/command_ids.h"
#include "widgets/clipboard_text.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <vector>

namespace {

// Entries of the control's cache of piece widths (two-way associative).
constexpr int kPositionCacheEntries = 1 << 17;

} // namespace

CMyRichEditView::CMyRichEditView(QWidget* parent)
    : QsciScintilla(parent), m_inputMethod(std::make_unique<CEditorInputMethod>(*this))
{
    EditorAccessibility::install();
    m_wrap = new CWrapTracker(this);
    configureControl();
    KeyBindings::keepEditingKeysOnly(*this);
    CFindReplace::install(this);
    connect(this,
            qOverload<int, int, const char*, int, int, int, int, int, int, int>(
                &QsciScintillaBase::SCN_MODIFIED),
            this, &CMyRichEditView::onModified);
}

CMyRichEditView::~CMyRichEditView() = default;

void CMyRichEditView::setDocument(CMyRichEditDoc* document)
{
    if (m_document)
        disconnect(this, &CMyRichEditView::textEdited, m_document, nullptr);
    m_document = document;
    if (document)
        connect(this, &CMyRichEditView::textEdited, document, &CMyRichEditDoc::noteTextEdited);
}

long CMyRichEditView::sci(unsigned int msg, unsigned long wParam, long lParam) const
{
    return SendScintilla(msg, wParam, lParam);
}

void CMyRichEditView::configureControl()
{
    sci(SCI_SETCODEPAGE, SC_CP_UTF8);
    // Annotations make loading with word wrap hundreds of times slower.
    sci(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
    // Only the notifications the view needs: every other change notification
    // makes QScintilla count characters from the start of the document.
    sci(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE);
    // Lines break at blanks only, so the style pieces that speed up laying
    // out the text (LayoutRuns) never decide where a line wraps.
    sci(SCI_SETWRAPMODE, SC_WRAP_WHITESPACE);
    // Room for the widths of the pieces of a large document.
    sci(SCI_SETPOSITIONCACHE, kPositionCacheEntries);
    sci(SCI_SETHSCROLLBAR, 0);
    sci(SCI_SETSCROLLWIDTHTRACKING, 0);
    for (int margin = 0; margin < 5; ++margin)
        sci(SCI_SETMARGINWIDTHN, margin, 0);
    // A narrow selection bar at the left edge, as in the rich-edit control.
    sci(SCI_SETMARGINTYPEN, 1, SC_MARGIN_SYMBOL);
    sci(SCI_SETMARGINWIDTHN, 1, 8);
    sci(SCI_SETMARGINSENSITIVEN, 1, 0);
    sci(SCI_SETMARGINLEFT, 0, 2);
    sci(SCI_SETEOLMODE, SC_EOL_CRLF);
    sci(SCI_SETUNDOCOLLECTION, 1);
    sci(SCI_SETCARETLINEVISIBLE, 0);
    sci(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    setAutoIndent(false);
    setBraceMatching(QsciScintilla::NoBraceMatch);
    setFolding(QsciScintilla::NoFoldStyle);
    setFrameShape(QFrame::StyledPanel);
    // Default face until the HTML view sets the configured fonts.
    const QByteArray face = QByteArrayLiteral("Noto Sans Mono CJK JP");
    SendScintilla(SCI_STYLESETFONT, static_cast<uintptr_t>(STYLE_DEFAULT), face.constData());
    sci(SCI_STYLESETSIZE, STYLE_DEFAULT, 12);
    sci(SCI_STYLECLEARALL);
}

CCommandMapOf<CMyRichEditView>& CMyRichEditView::commands()
{
    static CCommandMapOf<CMyRichEditView> map = [] {
        CCommandMapOf<CMyRichEditView> m;
        const auto selectionNotEmpty = [](CMyRichEditView& v, CCmdUI& ui) {
            ui.enable(v.hasSelection());
        };
        m.on(Cmd::EditCut, &CMyRichEditView::editCut);
        m.onUpdate(Cmd::EditCut, selectionNotEmpty);
        m.on(Cmd::EditCopy, &CMyRichEditView::editCopy);
        m.onUpdate(Cmd::EditCopy, selectionNotEmpty);
        m.on(Cmd::EditClear, &CMyRichEditView::editClear);
        m.onUpdate(Cmd::EditClear, selectionNotEmpty);
        m.on(Cmd::EditPaste, &CMyRichEditView::editPaste);
        m.onUpdate(Cmd::EditPaste,
                   [](CMyRichEditView& v, CCmdUI& ui) { ui.enable(v.canPasteNow()); });
        m.on(Cmd::EditUndo, &CMyRichEditView::editUndo);
        m.onUpdate(Cmd::EditUndo,
                   [](CMyRichEditView& v, CCmdUI& ui) { ui.enable(v.canUndoEdit()); });
        m.on(Cmd::EditSelectAll, &CMyRichEditView::editSelectAll);
        m.onUpdate(Cmd::EditSelectAll, textNotEmpty);
        CFindReplace::registerCommands(m);
        return m;
    }();
    return map;
}

void CMyRichEditView::textNotEmpty(CMyRichEditView& view, CCmdUI& ui)
{
    ui.enable(view.textLength() > 0);
}

// --- Selection ---------------------------------------------------------------

void CMyRichEditView::getSel(qint64& start, qint64& end) const
{
    start = sci(SCI_GETSELECTIONSTART);
    end = sci(SCI_GETSELECTIONEND);
}

void CMyRichEditView::setSel(qint64 start, qint64 end)
{
    const qint64 length = textLength();
    if (start < 0) {
        const long caret = sci(SCI_GETSELECTIONSTART);
        sci(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
        return;
    }
    if (start == 0 && end == -1) {
        sci(SCI_SETSEL, 0, static_cast<long>(length));
        return;
    }
    start = qMin(start, length);
    end = end < 0 ? length : qMin(end, length);
    sci(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
}

QByteArray CMyRichEditView::selectedBytes() const
{
    qint64 start, end;
    getSel(start, end);
    return textRange(start, end);
}

bool CMyRichEditView::hasSelection() const
{
    return sci(SCI_GETSELECTIONSTART) != sci(SCI_GETSELECTIONEND);
}

bool CMyRichEditView::hasSimpleSelection() const
{
    return sci(SCI_GETSELECTIONS) == 1 && sci(SCI_SELECTIONISRECTANGLE) == 0;
}

void CMyRichEditView::useMainRangeOnly()
{
    if (hasSimpleSelection())
        return;
    const unsigned long main = static_cast<unsigned long>(sci(SCI_GETMAINSELECTION));
    const long caret = sci(SCI_GETSELECTIONNCARET, main);
    const long anchor = sci(SCI_GETSELECTIONNANCHOR, main);
    sci(SCI_SETSELECTION, static_cast<unsigned long>(caret), anchor);
}

void CMyRichEditView::replaceSel(const QByteArray& text, bool canUndo)
{
    // The text between the lines of a rectangle is never replaced.
    useMainRangeOnly();
    qint64 start, end;
    getSel(start, end);
    if (!canUndo)
        sci(SCI_SETUNDOCOLLECTION, 0);
    sci(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), static_cast<long>(end));
    // SCI_REPLACETARGET with a length keeps NUL bytes; SCI_REPLACESEL would not.
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(text.size()), text.constData());
    if (!canUndo) {
        sci(SCI_SETUNDOCOLLECTION, 1);
        sci(SCI_EMPTYUNDOBUFFER);
    }
    sci(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(start + text.size()));
}

void CMyRichEditView::hideSelection(bool hide)
{
    sci(SCI_HIDESELECTION, hide ? 1 : 0);
}

// --- Displayed lines -----------------------------------------------------------

int CMyRichEditView::lineCount() const
{
    return static_cast<int>(
        sci(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(sci(SCI_GETLINECOUNT))));
}

int CMyRichEditView::firstVisibleLine() const
{
    return static_cast<int>(sci(SCI_GETFIRSTVISIBLELINE));
}

qint64 CMyRichEditView::lineIndex(int line) const
{
    if (line < 0)
        return displayLineStartAt(sci(SCI_GETCURRENTPOS));
    if (line >= lineCount())
        return -1;
    const long docLine = sci(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(line));
    const long subLine = line - sci(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(docLine));
    const long lineStart = sci(SCI_POSITIONFROMLINE, static_cast<unsigned long>(docLine));
    if (subLine <= 0)
        return lineStart;
    const long y = sci(SCI_POINTYFROMPOSITION, 0, lineStart) +
                   subLine * sci(SCI_TEXTHEIGHT, static_cast<unsigned long>(docLine));
    return sci(SCI_POSITIONFROMPOINT, 0, y);
}

int CMyRichEditView::lineFromChar(qint64 pos) const
{
    if (pos < 0)
        pos = sci(SCI_GETCURRENTPOS);
    pos = qBound<qint64>(0, pos, textLength());
    const long docLine = sci(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const long lineStart = sci(SCI_POSITIONFROMLINE, static_cast<unsigned long>(docLine));
    const long height = qMax<long>(1, sci(SCI_TEXTHEIGHT, static_cast<unsigned long>(docLine)));
    const long sub = (sci(SCI_POINTYFROMPOSITION, 0, static_cast<long>(pos)) -
                      sci(SCI_POINTYFROMPOSITION, 0, lineStart)) /
                     height;
    return static_cast<int>(sci(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(docLine)) +
                            qMax<long>(0, sub));
}

qint64 CMyRichEditView::displayLineStartAt(qint64 pos) const
{
    pos = qBound<qint64>(0, pos, textLength());
    const long docLine = sci(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const long lineStart = sci(SCI_POSITIONFROMLINE, static_cast<unsigned long>(docLine));
    const long y = sci(SCI_POINTYFROMPOSITION, 0, static_cast<long>(pos));
    if (y == sci(SCI_POINTYFROMPOSITION, 0, lineStart))
        return lineStart;
    // x = 0 lies left of the text, which gives the start of the sub-line at y.
    return qBound<qint64>(qint64(lineStart), qint64(sci(SCI_POSITIONFROMPOINT, 0, y)), pos);
}

qint64 CMyRichEditView::previousDisplayLineStart(qint64 pos) const
{
    const qint64 start = displayLineStartAt(pos);
    if (start == 0)
        return 0;
    // The character before this line's start lies on the previous displayed
    // line (for a document line start, that is the previous line's line end).
    return displayLineStartAt(sci(SCI_POSITIONBEFORE, static_cast<unsigned long>(start)));
}

qint64 CMyRichEditView::lineLength(qint64 pos) const
{
    const qint64 start = displayLineStartAt(pos);
    const long docLine = sci(SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const long docLineEnd = sci(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(docLine));
    const long nextY = sci(SCI_POINTYFROMPOSITION, 0, static_cast<long>(start)) +
                       sci(SCI_TEXTHEIGHT, static_cast<unsigned long>(docLine));
    const long next = sci(SCI_POSITIONFROMPOINT, 0, nextY);
    const qint64 end = (next > start && next < docLineEnd) ? next : docLineEnd;
    return end - start;
}

QPoint CMyRichEditView::charPos(qint64 pos) const
{
    return QPoint(static_cast<int>(sci(SCI_POINTXFROMPOSITION, 0, static_cast<long>(pos))),
                  static_cast<int>(sci(SCI_POINTYFROMPOSITION, 0, static_cast<long>(pos))));
}

// --- Wrapping ------------------------------------------------------------------

bool CMyRichEditView::wrapPending() const
{
    return m_wrap->pending();
}

bool CMyRichEditView::finishWrapping(qint64 docLine)
{
    return m_wrap->finish(docLine);
}

void CMyRichEditView::restartWrapping()
{
    m_wrap->restartFrom(0);
}

void CMyRichEditView::revealCaret()
{
    if (m_wrap->pending())
        CaretMoves::reveal(*this);
    else
        sci(SCI_SCROLLCARET);
}

void CMyRichEditView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key() | ((mods & Qt::ShiftModifier) ? int(Qt::SHIFT) : 0) |
                    ((mods & Qt::ControlModifier) ? int(Qt::CTRL) : 0) |
                    ((mods & Qt::AltModifier) ? int(Qt::ALT) : 0) |
                    ((mods & Qt::MetaModifier) ? int(Qt::META) : 0);
    const QsciCommand* command = m_wrap->pending() ? standardCommands()->boundTo(key) : nullptr;
    const std::optional<qint64> reach =
        command ? CaretMoves::reach(*this, command->command()) : std::nullopt;
    const qint64 caretLine = sci(SCI_LINEFROMPOSITION, sci(SCI_GETCURRENTPOS));
    if (reach && qMax(caretLine, *reach) >= m_wrap->wrappedLines()) {
        const CaretMoves::Move move = *CaretMoves::plan(*this, command->command(), m_keptX);
        CaretMoves::apply(*this, move);
        m_keptX = move.vertical ? CaretMoves::KeptX{move.caret, move.x} : CaretMoves::KeptX{};
        event->accept();
        return;
    }
    m_keptX = {};
    // A key with Ctrl, Alt or Meta is a command or nothing: a combination
    // that no command takes must not type its letter (Alt+N gave "n").
    if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        !event->text().isEmpty()) {
        QKeyEvent silent(event->type(), event->key(), mods, event->nativeScanCode(),
                         event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                         event->isAutoRepeat(), ushort(event->count()));
        QsciScintilla::keyPressEvent(&silent);
        event->setAccepted(silent.isAccepted());
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

// --- Formats -------------------------------------------------------------------

void CMyRichEditView::applyStyle(qint64 start, qint64 length, int style)
{
    if (length <= 0)
        return;
    const std::vector<char> formats(static_cast<size_t>(length), static_cast<char>(style));
    TagColorizer::writeFormats(*this, start, formats.data(), length);
}

int CMyRichEditView::styleAt(qint64 pos) const
{
    return LayoutRuns::formatOf(
        static_cast<int>(sci(SCI_GETSTYLEAT, static_cast<unsigned long>(pos))));
}

// --- Modified flag, undo, redraw ---------------------------------------------

bool CMyRichEditView::canUndoEdit() const
{
    return sci(SCI_CANUNDO) != 0;
}

void CMyRichEditView::emptyUndoBuffer()
{
    sci(SCI_EMPTYUNDOBUFFER);
}

void CMyRichEditView::setRedraw(bool on)
{
    if (!on) {
        if (m_redrawOffDepth++ == 0)
            viewport()->setUpdatesEnabled(false);
        return;
    }
    if (m_redrawOffDepth > 0 && --m_redrawOffDepth == 0) {
        viewport()->setUpdatesEnabled(true);
        viewport()->update();
    }
}

// --- Edit commands -------------------------------------------------------------

void CMyRichEditView::editCut()
{
    sci(SCI_CUT);
}

void CMyRichEditView::editCopy()
{
    sci(SCI_COPY);
}

void CMyRichEditView::editPaste()
{
    const bool simple = sci(SCI_GETSELECTIONS) == 1 && sci(SCI_SELECTIONISRECTANGLE) == 0;
    const long start = sci(SCI_GETSELECTIONSTART);
    sci(SCI_PASTE);
    // The pasted text stays in the default format, cut into layout pieces.
    const long end = sci(SCI_GETCURRENTPOS);
    if (simple && end > start)
        applyStyle(start, end - start, StyleDefault);
}

void CMyRichEditView::editClear()
{
    sci(SCI_CLEAR);
}

void CMyRichEditView::editUndo()
{
    sci(SCI_UNDO);
}

void CMyRichEditView::editSelectAll()
{
    setSel(0, -1);
}

bool CMyRichEditView::canPasteNow() const
{
    return ClipboardText::available();
}

// --- Change tracking -----------------------------------------------------------

void CMyRichEditView::beforeInsert(qint64, qint64) {}

void CMyRichEditView::beforeDelete(qint64, qint64) {}

void CMyRichEditView::inputMethodEvent(QInputMethodEvent* event)
{
    m_inputMethod->handleEvent(event);
}

QVariant CMyRichEditView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const QVariant answer = m_inputMethod->query(query);
    return answer.isValid() ? answer : QsciScintilla::inputMethodQuery(query);
}

void CMyRichEditView::composeInControl(QInputMethodEvent* event)
{
    // Composition (preedit) text is shown inside the text but is not an edit
    // of the document until it is committed.
    m_inPreedit = event->commitString().isEmpty();
    QsciScintilla::inputMethodEvent(event);
    m_inPreedit = false;
}

void CMyRichEditView::onModified(int position, int type, const char*, int length, int, int, int,
                                 int, int, int)
{
    ++m_changeCount;
    if (m_loading)
        return;
    // Every change, composition text included, so that what the observer is
    // told leads from one text to the next.
    if (m_editObserver) {
        reportEdits();
        m_editObserver->textChanging();
        if (type & SC_MOD_BEFOREINSERT) {
            m_insertedAt = position;
            m_insertedLength = length;
        } else if (type & SC_MOD_BEFOREDELETE) {
            m_editObserver->textDeleting(position, length);
        }
    }
    // The control wraps again from the changed line down.
    m_wrap->restartFrom(sci(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
    // Composition text comes and goes (the old text is taken back as an
    // undo); only the selection a composition replaces is really deleted.
    if (m_inPreedit && !((type & SC_MOD_BEFOREDELETE) && (type & SC_PERFORMED_USER)))
        return;
    if (type & SC_MOD_BEFOREINSERT)
        beforeInsert(position, length);
    else if (type & SC_MOD_BEFOREDELETE)
        beforeDelete(position, length);
    else
        return;
    m_modified = true;
    Q_EMIT textEdited();
}
