#include "editor/marquill_view.h"

#include "core/options.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/control_text.h"
#include "editor/editor_fonts.h"
#include "editor/layout_runs.h"
#include "editor/line_number_margin.h"
#include "editor/rules/auto_select.h"
#include "editor/rules/close_tag.h"
#include "editor/rules/date_format.h"
#include "editor/rules/lower_tag_case.h"
#include "editor/rules/tag_capture.h"
#include "editor/rules/typed_char_style.h"
#include "editor/tag_colorizer.h"
#include "editor/tag_match_marker.h"
#include "editor/view_context_menu.h"
#include "editor/wrap_tracker.h"
#include "resources/command_ids.h"
#include "resources/resource_tables.h"
#include "widgets/progress_dialog.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>
#include <memory>

namespace {

// The first local file a drag carries; empty for text and other data.
QString firstLocalFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

CMarquillView::FileDropStep& fileDropStep()
{
    static CMarquillView::FileDropStep step;
    return step;
}

} // namespace

CMarquillView::CMarquillView(QWidget* parent)
    : CMyRichEditView(parent), m_lineNumbers(new CLineNumberMargin(*this)),
      m_tagMatch(new CTagMatchMarker(*this))
{
    setUpCompositionColors();
    m_autoColor = autoColorOption();
    connect(m_lineNumbers, &CLineNumberMargin::widthChanged, this, [this] { restartWrapping(); });
    setUpFormats();
    applyDisplayOptions();
    connect(this, &CMarquillView::fileDropped, this, [this](const QString& path) {
        if (fileDropStep())
            fileDropStep()(*this, path);
    });
}

CMarquillView::~CMarquillView() = default;

CCommandMapOf<CMarquillView>& CMarquillView::commands()
{
    static CCommandMapOf<CMarquillView> map = [] {
        CCommandMapOf<CMarquillView> m(&CMyRichEditView::commands());
        registerTagCommands(m);
        return m;
    }();
    return map;
}

void CMarquillView::setFileDropStep(FileDropStep step)
{
    fileDropStep() = std::move(step);
}

CMarquillDoc* CMarquillView::marquillDocument() const
{
    return qobject_cast<CMarquillDoc*>(document());
}

void CMarquillView::setDocument(CMyRichEditDoc* document)
{
    if (CMyRichEditDoc* old = this->document())
        disconnect(old, &CMyRichEditDoc::opened, this, nullptr);
    CMyRichEditView::setDocument(document);
    if (!document)
        return;
    connect(document, &CMyRichEditDoc::opened, this, [this] {
        // "AutoColor" as it is now, not as it was when the view was created.
        if (autoColorOption())
            colorWholeDocument();
    });
}

void CMarquillView::reapplyFormats()
{
    setUpFormats();
    applyDisplayOptions();
}

void CMarquillView::applyDisplayOptions()
{
    m_lineNumbers->setShown(Options::kLineNumbers.read() != 0);
    m_tagMatch->setEnabled(Options::kMatchTag.read() != 0);
}

void CMarquillView::setUpFormats()
{
    EditorFonts::registerSubstitutions();
    const CharFormat def = EditorFonts::readFormat(EditorFonts::Default);
    const CharFormat tag = EditorFonts::readFormat(EditorFonts::Tag);
    const CharFormat quote = EditorFonts::readFormat(EditorFonts::Quote);
    EditorFonts::applyToStyle(*this, STYLE_DEFAULT, def);
    sci(SCI_STYLECLEARALL);
    // Every style number of a format looks alike (see LayoutRuns).
    for (int style = 0; style < LayoutRuns::kStyles; ++style) {
        if (LayoutRuns::formatOf(style) == StyleTag)
            EditorFonts::applyToStyle(*this, style, tag);
        else if (LayoutRuns::formatOf(style) == StyleQuote)
            EditorFonts::applyToStyle(*this, style, quote);
    }
    m_stylesShareMetrics =
        EditorFonts::sameAdvances(def, tag) && EditorFonts::sameAdvances(def, quote);
    // QScintilla gives style 0 the colour it was last told of whenever the
    // view is enabled again (the whole-text colouring disables the window):
    // it must be the ordinary text's colour.
    setColor(QColor(def.color & 0xFF, (def.color >> 8) & 0xFF, (def.color >> 16) & 0xFF));
    // The numbers took the default style with the rest.
    m_lineNumbers->restyle();
}

// Input-method composition is shown with indicators: unconverted input and
// converted clauses in blue text, the clause being converted on cyan, an
// unconverted target clause on blue.
void CMarquillView::setUpCompositionColors()
{
    struct Composition
    {
        int indicator;
        int style;
        int color;
    };
    const Composition kCompositions[] = {
        {INDIC_IME, INDIC_TEXTFORE, 0xFF0000},
        {INDIC_IME + 1, INDIC_FULLBOX, 0xFFFF00},
        {INDIC_IME + 2, INDIC_TEXTFORE, 0xFF0000},
        {INDIC_IME_MAX, INDIC_FULLBOX, 0xFF0000},
    };
    for (const Composition& c : kCompositions) {
        const unsigned long indicator = static_cast<unsigned long>(c.indicator);
        sci(SCI_INDICSETSTYLE, indicator, c.style);
        sci(SCI_INDICSETFORE, indicator, c.color);
        if (c.style == INDIC_FULLBOX) {
            sci(SCI_INDICSETALPHA, indicator, c.indicator == INDIC_IME_MAX ? 110 : 255);
            sci(SCI_INDICSETOUTLINEALPHA, indicator, 255);
            sci(SCI_INDICSETUNDER, indicator, 1);
        }
    }
}

void CMarquillView::setLastInsertion(const QByteArray& start, const QByteArray& end, int wasPair)
{
    m_lastStart = start;
    m_lastEnd = end;
    m_lastWasPair = wasPair;
}

QByteArray CMarquillView::withDocumentLineEnds(const QByteArray& text) const
{
    if (!text.contains("\r\n"))
        return text;
    const QByteArray eol = lineEnd();
    if (eol == "\r\n")
        return text;
    QByteArray out = text;
    return out.replace("\r\n", eol);
}

// --- Insertion ---------------------------------------------------------------

void CMarquillView::WrapSelection(const QByteArray& start, const QByteArray& end, bool tag)
{
    useMainRangeOnly();
    setRedraw(false);
    QByteArray startText = start;
    QByteArray endText = end;
    if (tag && Options::kSmallLetter.read() != 0) {
        startText = LowerTagCase(startText);
        endText = LowerTagCase(endText);
    }
    const QByteArray before = withDocumentLineEnds(startText);
    const QByteArray after = withDocumentLineEnds(endText);
    qint64 s, e;
    getSel(s, e);
    const QByteArray whole = before + selectedBytes() + after;
    replaceSel(whole, false);
    if (m_autoColor)
        colorRange(s, s + whole.size());
    if (s == e)
        setSel(s + before.size(), s + before.size());
    else if (Options::kStringSelect.read() != 0)
        setSel(s + before.size(), e + before.size());
    else
        setSel(s + whole.size(), s + whole.size());
    setLastInsertion(startText, endText, 1);
    setRedraw(true);
}

void CMarquillView::InsertText(const QByteArray& text, bool tag)
{
    useMainRangeOnly();
    setRedraw(false);
    QByteArray insertText = text;
    if (tag && Options::kSmallLetter.read() != 0)
        insertText = LowerTagCase(insertText);
    const QByteArray inserted = withDocumentLineEnds(insertText);
    qint64 s, e;
    getSel(s, e);
    replaceSel(inserted, false);
    if (m_autoColor)
        colorRange(s, s + inserted.size());
    setSel(s + inserted.size(), s + inserted.size());
    m_lastStart = insertText;
    m_lastWasPair = 0;
    setRedraw(true);
}

// --- Colouring -----------------------------------------------------------------

void CMarquillView::colorRange(qint64 from, qint64 to)
{
    TagColorizer::colorRange(*this, from, to);
    emptyUndoBuffer();
}

void CMarquillView::colorWholeDocument()
{
    // The control would otherwise wrap lines between the progress dialog's
    // pumps, in the styles about to be replaced.
    const CWrapTracker::Hold holdWrapping;
    const bool wasModified = modifyFlag();
    const long anchor = sci(SCI_GETANCHOR);
    const long caret = sci(SCI_GETCURRENTPOS);
    const long topDocLine =
        sci(SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(firstVisibleLine()));
    const long topSubLine =
        firstVisibleLine() - sci(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(topDocLine));
    setRedraw(false);

    QPointer<CMarquillView> self(this);
    {
        auto* owner = qobject_cast<QMainWindow*>(window());
        CProgressDialog progress(owner);
        progress.setStatus(QStringLiteral("タグを色分けしています。"));
        progress.setPos(0);
        if (!self)
            return;
        TagColorizer::colorWhole(*this, [&](int percent) {
            progress.setPos(percent);
            if (!self)
                return false;
            const bool cancel = progress.checkCancelButton();
            return self && !cancel;
        });
        if (!self)
            return;
        // Text laid out before may wrap differently in the new styles.
        if (!m_stylesShareMetrics) {
            sci(SCI_STYLESETBOLD, StyleTag, sci(SCI_STYLEGETBOLD, StyleTag));
            restartWrapping();
        }
        sci(SCI_SETFIRSTVISIBLELINE,
            static_cast<unsigned long>(
                sci(SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(topDocLine)) + topSubLine));
        sci(SCI_SETANCHOR, static_cast<unsigned long>(anchor));
        sci(SCI_SETCURRENTPOS, static_cast<unsigned long>(caret));
        setRedraw(true);
        emptyUndoBuffer();
        setModifyFlag(wasModified);
    }
}

// --- Undo ----------------------------------------------------------------------

void CMarquillView::editUndo()
{
    m_restored.clear();
    m_undoing = true;
    CMyRichEditView::editUndo();
    m_undoing = false;
    // A run of typing or deleting is undone one character at a time: colour
    // the pieces that meet as one text. Styled directly, so the undo history
    // stays as it is.
    if (m_autoColor) {
        std::sort(m_restored.begin(), m_restored.end(),
                  [](const Range& a, const Range& b) { return a.start < b.start; });
        for (qsizetype i = 0; i < m_restored.size();) {
            Range r = m_restored[i];
            for (++i; i < m_restored.size() && m_restored[i].start <= r.end; ++i)
                r.end = qMax(r.end, m_restored[i].end);
            TagColorizer::colorRange(*this, r.start, r.end);
        }
    }
    m_restored.clear();
}

void CMarquillView::beforeInsert(qint64 pos, qint64 length)
{
    if (!m_undoing)
        return;
    for (Range& r : m_restored) {
        if (r.start >= pos)
            r.start += length;
        if (r.end > pos)
            r.end += length;
    }
    m_restored.append({pos, pos + length});
}

void CMarquillView::beforeDelete(qint64 pos, qint64 length)
{
    if (!m_undoing)
        return;
    const auto map = [pos, length](qint64 x) {
        return x <= pos ? x : x >= pos + length ? x - length : pos;
    };
    for (Range& r : m_restored) {
        r.start = map(r.start);
        r.end = map(r.end);
    }
}

// --- Typing --------------------------------------------------------------------

void CMarquillView::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const auto commandModifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // A rectangular or multiple selection is left to the control (its start and
    // end span text that is not selected).
    if (m_autoColor && !isReadOnly() && !text.isEmpty() && text.at(0).isPrint() &&
        commandModifiers == 0 && hasSimpleSelection()) {
        typeColored(text.toUtf8());
        event->accept();
        return;
    }
    CMyRichEditView::keyPressEvent(event);
}

// Types like the control does (replacing the selection, or the next character
// in overtype mode, as one undo step) but styles the new text before the line
// is wrapped and the caret is shown, so layout and colour agree at once.
void CMarquillView::typeColored(const QByteArray& text)
{
    qint64 s, e;
    getSel(s, e);
    const qint64 contextStart = previousDisplayLineStart(s);
    const TagScan::Style style = typedCharStyle(textRange(contextStart, s), text.at(0));

    const bool overtype = sci(SCI_GETOVERTYPE) != 0;
    const bool grouped = s != e || overtype;
    if (grouped)
        sci(SCI_BEGINUNDOACTION);
    if (s != e) {
        sci(SCI_DELETERANGE, static_cast<unsigned long>(s), static_cast<long>(e - s));
    } else if (overtype && s < sci(SCI_GETLINEENDPOSITION, sci(SCI_LINEFROMPOSITION, s))) {
        const long next = sci(SCI_POSITIONAFTER, static_cast<unsigned long>(s));
        sci(SCI_DELETERANGE, static_cast<unsigned long>(s), next - s);
    }
    SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(s), text.constData());
    applyStyle(s, text.size(), style);
    if (grouped)
        sci(SCI_ENDUNDOACTION);
    sci(SCI_GOTOPOS, static_cast<unsigned long>(s + text.size()));
    sci(SCI_CHOOSECARETX);
}

bool CMarquillView::autoColorOption()
{
    return Options::kAutoColor.read() != 0;
}

void CMarquillView::contextMenuEvent(QContextMenuEvent* event)
{
    // The items are greyed by the same update handlers as in the main menu.
    auto enabled = [this](int id) {
        CCmdUI ui(id);
        return !updateCommand(ui) || ui.isEnabled();
    };
    ViewContextMenu::State state;
    state.hasSelection = hasSelection();
    state.canReinsert = enabled(Cmd::ReinsertTag);
    state.canUndo = enabled(Cmd::EditUndo);
    state.canPaste = enabled(Cmd::EditPaste);
    std::unique_ptr<QMenu> menu(ViewContextMenu::build(state, this));
    QAction* chosen = menu->exec(event->globalPos());
    if (chosen && chosen->data().toInt() != 0)
        Q_EMIT commandRequested(chosen->data().toInt());
    event->accept();
}

// --- Dropped files ---------------------------------------------------------------

void CMarquillView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!firstLocalFile(event->mimeData()).isEmpty() && !isReadOnly()) {
        event->acceptProposedAction();
        return;
    }
    CMyRichEditView::dragEnterEvent(event);
}

void CMarquillView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!firstLocalFile(event->mimeData()).isEmpty() && !isReadOnly()) {
        event->acceptProposedAction();
        return;
    }
    CMyRichEditView::dragMoveEvent(event);
}

// Files are put in at the selection, not where they were let go, so a
// selected word becomes the text of a link to the file.
void CMarquillView::dropEvent(QDropEvent* event)
{
    const QString path = firstLocalFile(event->mimeData());
    if (path.isEmpty() || isReadOnly()) {
        CMyRichEditView::dropEvent(event);
        return;
    }
    event->acceptProposedAction();
    Q_EMIT fileDropped(path);
}

// --- Tag commands and tag tools ----------------------------------------------------

void CMarquillView::registerTagCommands(CCommandMapOf<CMarquillView>& map)
{
    // The direct commands' texts are rows of their own table.
    for (const Resources::DirectCommand& command : Resources::directCommands()) {
        if (command.id == Cmd::Date)
            continue;
        if (command.wrap) {
            map.on(command.id, [command](CMarquillView& view) {
                view.WrapSelection(command.startOrText, command.end, true);
            });
        } else {
            map.on(command.id,
                   [command](CMarquillView& view) { view.InsertText(command.startOrText, true); });
        }
    }
    map.on(Cmd::Date, [](CMarquillView& view) {
        view.InsertText(DateFormat::dateText(Options::kDate.read(), QDateTime::currentDateTime()),
                        false);
    });
    map.on(Cmd::RefreshColors, &CMarquillView::colorWholeDocument);
    map.on(Cmd::AutoSelect, &CMarquillView::autoSelect);
    map.on(Cmd::CaptureTag, &CMarquillView::captureTags);
    map.on(Cmd::ReinsertTag, &CMarquillView::reinsertTags);
    map.onUpdate(Cmd::ReinsertTag, [](CMarquillView& view, CCmdUI& ui) {
        ui.enable(!view.m_lastStart.isEmpty() || !view.m_lastEnd.isEmpty());
    });
    map.on(Cmd::CloseLastTag, &CMarquillView::closeLastUnclosedTag);
}

void CMarquillView::autoSelect()
{
    qint64 s, e;
    getSel(s, e);
    const AutoSelectRange range = autoSelectRange(ControlText::whole(*this), s);
    if (range.found)
        setSel(range.start, range.end);
}

void CMarquillView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press before it has put the caret where the user clicked.
    if (event->button() == Qt::LeftButton) {
        autoSelect();
        event->accept();
        return;
    }
    CMyRichEditView::mouseDoubleClickEvent(event);
}

void CMarquillView::captureTags()
{
    useMainRangeOnly();
    const TagCapture capture = ::captureTags(selectedBytes());
    if (capture.kind == TagCapture::None) {
        UiSeam::messageBox(this,
                           QStringLiteral("タグの取り込みに失敗しました。\n"
                                          "タグを含むように範囲選択して下さい。"),
                           QMessageBox::Critical);
        return;
    }
    const bool confirm = Options::kGetTagMessageBox.read() != 0;
    if (capture.kind == TagCapture::Single) {
        m_lastStart = capture.start;
        m_lastWasPair = 0;
        if (confirm)
            UiSeam::messageBox(this,
                               QStringLiteral("単独タグ : ") + QString::fromUtf8(capture.start) +
                                   QStringLiteral("\n\nを取り込みました。"),
                               QMessageBox::Information);
    } else {
        setLastInsertion(capture.start, capture.end, 1);
        if (confirm)
            UiSeam::messageBox(this,
                               QStringLiteral("挟むタグ : ") + QString::fromUtf8(capture.start) +
                                   QStringLiteral(" ～ ") + QString::fromUtf8(capture.end) +
                                   QStringLiteral("\n\nを取り込みました。"),
                               QMessageBox::Information);
    }
    setSel(-1, 0);
}

void CMarquillView::reinsertTags()
{
    if (m_lastStart.isEmpty() && m_lastEnd.isEmpty())
        return;
    // Copies: the operations replace the fields they read.
    const QByteArray start = m_lastStart;
    const QByteArray end = m_lastEnd;
    if (m_lastWasPair == 1)
        WrapSelection(start, end, true);
    else
        InsertText(start, true);
}

void CMarquillView::closeLastUnclosedTag()
{
    qint64 s, e;
    getSel(s, e);
    const QByteArray name = lastUnclosedTag(ControlText::whole(*this), s);
    if (!name.isEmpty())
        InsertText("</" + name + ">", true);
}
