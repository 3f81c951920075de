#pragma once

#include "core/command_target.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QPoint>
#include <QPointer>

#include <memory>

#include "editor/caret_moves.h"

class CEditorInputMethod;
class CWrapTracker;

// The text view of one document: a QsciScintilla driven through raw Scintilla
// messages, holding the document's text as UTF-8 (or as the file's raw bytes
// when they are not UTF-8). Positions are byte offsets into that buffer; a
// multi-byte character occupies several positions. Lines are displayed lines:
// a paragraph wrapped at the window's width counts as several lines.
//
// The view keeps its own modified flag (set on every text change, settable
// both ways), loads and saves the text byte for byte, and carries the
// standard edit commands. Find and replace, colouring and the HTML commands
// are added by the modules that extend it.
class CMyRichEditView : public QsciScintilla, public CCommandTarget, public CDocumentText
{
    Q_OBJECT

public:
    // The three character formats.
    enum Style { StyleDefault = 0, StyleTag = 1, StyleQuote = 2 };

    explicit CMyRichEditView(QWidget* parent = nullptr);
    ~CMyRichEditView() override;

    // The view commands every view has: the edit commands, find and replace.
    static CCommandMapOf<CMyRichEditView>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    CMyRichEditDoc* document() const { return m_document; }
    void setDocument(CMyRichEditDoc* document) override;
    QWidget* textWidget() override { return this; }

    // --- Whole text -------------------------------------------------------
    // Replaces the whole text without undo, empties the undo buffer, puts the
    // caret at 0 and clears the modified flag. The end-of-line mode of new
    // lines follows the text's first line end (CR LF when it has none).
    // When the control cannot hold the text (memory runs out) it is left
    // empty and false is returned.
    bool loadBytes(const QByteArray& bytes) override;
    // Loading in pieces: the first call's size is reserved at once, so the
    // control's buffer never grows by copying.
    bool beginText(qint64 size) override;
    bool appendText(QByteArrayView piece) override;
    void finishText() override;
    bool insertLoaded(qint64 position, QByteArrayView bytes) override;
    void removeLoaded(qint64 position, qint64 length) override;
    void setEditObserver(CTextEditObserver* observer) override;
    void reportEdits() override;
    // The whole text, exactly as held (NUL bytes included).
    QByteArray textBytes() const override;
    QByteArray textInPlace() const override;
    qint64 textLength() const override;
    // A copy of [start, end), both clamped to the text.
    QByteArray textRange(qint64 start, qint64 end) const override;
    void replaceBytes(qint64 start, qint64 end, const QByteArray& text) override;
    quint64 changeCount() const override { return m_changeCount; }
    // Line end the program's own insertions should use: "\r\n" unless the
    // text's first line end is a lone LF ("\n") or a lone CR ("\r").
    QByteArray lineEnd() const;
    QByteArray typedLineEnd() const override;
    void setTypedLineEnd(const QByteArray& lineEnd) override;

    // --- Selection ---------------------------------------------------------
    void getSel(qint64& start, qint64& end) const;
    // (0, -1) selects all; a negative start removes the selection, leaving
    // the caret at the selection's start.
    void setSel(qint64 start, qint64 end);
    QByteArray selectedBytes() const override;
    bool hasSelection() const;
    // Whether the selection is one range (not rectangular, not multiple).
    bool hasSimpleSelection() const;
    // Reduces a rectangular or multiple selection to its main range, the one
    // range the insertions and the tag tools work on.
    void useMainRangeOnly();
    // Replaces the selection (or inserts at the caret), a rectangular or
    // multiple one reduced to its main range first; the caret ends after
    // the new text. A change made with canUndo false is not recorded, and
    // since the undo history would no longer match the text it is emptied.
    void replaceSel(const QByteArray& text, bool canUndo);
    void hideSelection(bool hide);

    // --- Displayed lines ---------------------------------------------------
    int lineCount() const;
    int firstVisibleLine() const;
    // Position of the first character of a displayed line; -1: the caret's.
    qint64 lineIndex(int line = -1) const;
    // Displayed line holding a position; -1: the caret's.
    int lineFromChar(qint64 pos = -1) const;
    // Length of the displayed line holding a position, line end excluded.
    qint64 lineLength(qint64 pos) const;
    // Start of the displayed line holding pos, and of the one before it
    // (equal to the first when pos lies on the first displayed line).
    qint64 displayLineStartAt(qint64 pos) const;
    qint64 previousDisplayLineStart(qint64 pos) const;
    // Client coordinates of the character at pos.
    QPoint charPos(qint64 pos) const;

    // --- Wrapping -------------------------------------------------------------
    // Lines are wrapped in the background after the text or the width
    // changes; until then the displayed lines below the lines wrapped so far
    // count as one line each, and the queries above answer accordingly.
    // Whether lines still wait to be wrapped.
    bool wrapPending() const;
    // Wraps every waiting line (down to document line `docLine` when it is
    // not -1), showing a progress dialog that can cancel it once it takes a
    // moment. Returns whether those lines are wrapped.
    bool finishWrapping(qint64 docLine = -1);
    // Scrolls the caret into view, laying out the lines around it first
    // where they still wait to be wrapped.
    void revealCaret();

    // --- Formats -----------------------------------------------------------
    // Gives [start, start + length) one of the formats (Style); the text is
    // stored in the style numbers of its layout pieces (LayoutRuns).
    void applyStyle(qint64 start, qint64 length, int style);
    // The format at pos.
    int styleAt(qint64 pos) const;

    // --- Modified flag, undo, redraw --------------------------------------
    bool modifyFlag() const override { return m_modified; }
    void setModifyFlag(bool modified) override { m_modified = modified; }
    bool canUndoEdit() const;
    void emptyUndoBuffer();
    // Switches painting off (during bulk changes) and back on; switching it
    // on repaints the whole view once.
    void setRedraw(bool on);

    // --- Standard edit commands -------------------------------------------
    void editCut();
    void editCopy();
    void editPaste();
    void editClear();
    virtual void editUndo();
    void editSelectAll();

    long sci(unsigned int msg, unsigned long wParam = 0, long lParam = 0) const;

    // The update of the commands that need some text: enabled while there is.
    static void textNotEmpty(CMyRichEditView& view, CCmdUI& ui);

Q_SIGNALS:
    // A command chosen in the view (its right-click menu), to be routed like
    // a menu command.
    void commandRequested(int id);
    // The text is about to change by the user or the program (not by loading).
    void textEdited();

protected:
    // Called before text is inserted or deleted (positions in bytes).
    virtual void beforeInsert(qint64 pos, qint64 length);
    virtual void beforeDelete(qint64 pos, qint64 length);
    // Whether the paste command is enabled.
    virtual bool canPasteNow() const;

    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Every line waits to be wrapped again (the formats' widths changed).
    void restartWrapping();
    // Caret keys that would make the control wrap every waiting line first
    // move the caret here instead (CaretMoves).
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class CEditorInputMethod;
    // Hands an input-method event to the control as it is.
    void composeInControl(QInputMethodEvent* event);
    void configureControl();
    void onModified(int position, int type, const char* text, int length, int linesAdded, int line,
                    int foldNow, int foldPrev, int token, int annotationLines);

    QPointer<CMyRichEditDoc> m_document;
    bool m_modified = false;
    quint64 m_changeCount = 0;
    bool m_loading = false;
    bool m_loadFailed = false;
    bool m_inPreedit = false;
    CTextEditObserver* m_editObserver = nullptr;
    // An insertion the observer has not been told of: the control's change
    // notifications come before a change, without the bytes inserted.
    qint64 m_insertedAt = -1;
    qint64 m_insertedLength = 0;
    int m_redrawOffDepth = 0;
    std::unique_ptr<CEditorInputMethod> m_inputMethod;
    CWrapTracker* m_wrap = nullptr;
    CaretMoves::KeptX m_keptX;
};
