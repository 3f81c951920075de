#pragma once

#include "editor/my_rich_edit_view.h"

#include <QByteArray>
#include <QList>

#include <functional>

class CLineNumberMargin;
class CMarquillDoc;
class CTagMatchMarker;

// The HTML editor view: the text view with tag colouring, the insertion
// operations every HTML command goes through, the tag tools and the view's
// commands. The commands that run a dialog, which lie above the editor, add
// their handlers to the view's map once at start-up.
//
// Colouring uses three styles (default, tag, quote) whose fonts come from the
// "Font" settings read when the view is created, as is "AutoColor", which
// governs colouring while typing and after insertions. When its document has
// opened a file, the view colours the whole text if "AutoColor" is set then.
class CMarquillView : public CMyRichEditView
{
    Q_OBJECT

public:
    explicit CMarquillView(QWidget* parent = nullptr);
    ~CMarquillView() override;

    // The commands of every HTML view, the base view's after its own.
    static CCommandMapOf<CMarquillView>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    CMarquillDoc* marquillDocument() const;
    void setDocument(CMyRichEditDoc* document) override;

    // What is done with a file dropped on a view (a link or an image tag),
    // installed once at start-up by the commands above the editor.
    using FileDropStep = std::function<void(CMarquillView& view, const QString& path)>;
    static void setFileDropStep(FileDropStep step);

    // Puts start before and end after the selection. With tag set and
    // "SmallLetter" on, the tags are lowered first. Colours the inserted range,
    // places the caret or keeps the selection ("StringSelect"), and remembers
    // the pair for re-insertion. Not recorded for undo.
    void WrapSelection(const QByteArray& start, const QByteArray& end, bool tag);
    // Replaces the selection with text (lowered like WrapSelection when tag is
    // set), colours it and puts the caret after it. Not recorded for undo.
    void InsertText(const QByteArray& text, bool tag);

    // Gives the three styles the "Font" settings as they are stored now, so
    // the text already shown takes the new fonts and colours, and shows or
    // hides the line numbers and the matching-tag mark as stored.
    void reapplyFormats();
    // Shows or hides the line numbers ("LineNumbers") and the matching-tag
    // mark ("MatchTag") as stored now.
    void applyDisplayOptions();
    CLineNumberMargin* lineNumbers() const { return m_lineNumbers; }
    CTagMatchMarker* tagMatch() const { return m_tagMatch; }

    // The "AutoColor" option as it is stored now.
    static bool autoColorOption();

    // Colours the tags of the whole text, with a cancellable progress dialog.
    // Keeps the selection, the scroll position and the modified flag; empties
    // the undo buffer.
    void colorWholeDocument();

    // Styles [from, to) by the tag rule (the text inserted by the program).
    void colorRange(qint64 from, qint64 to);

    // Whether typing and insertions are coloured ("AutoColor" at creation).
    bool autoColor() const { return m_autoColor; }

    // The last insertion, for re-insertion.
    QByteArray lastStartText() const { return m_lastStart; }
    QByteArray lastEndText() const { return m_lastEnd; }
    int lastWasPair() const { return m_lastWasPair; }
    void setLastInsertion(const QByteArray& start, const QByteArray& end, int wasPair);

    // The tag tools.
    void autoSelect();
    void captureTags();
    void reinsertTags();
    void closeLastUnclosedTag();

    // Undoes like the base view, then colours the text the undo put back
    // (the control restores it in the default style) as an insertion is.
    void editUndo() override;

Q_SIGNALS:
    // Files were dropped on the view: the first of them, as a full path.
    void fileDropped(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void beforeInsert(qint64 pos, qint64 length) override;
    void beforeDelete(qint64 pos, qint64 length) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    QByteArray m_lastStart;
    QByteArray m_lastEnd;
    int m_lastWasPair = 0;

private:
    void setUpFormats();
    void setUpCompositionColors();
    static void registerTagCommands(CCommandMapOf<CMarquillView>& map);
    // Types text at the caret in the style the typed-character rule picks.
    void typeColored(const QByteArray& text);
    // The program's CR LF as the document's own line end.
    QByteArray withDocumentLineEnds(const QByteArray& text) const;

    bool m_autoColor = true;
    CLineNumberMargin* m_lineNumbers;
    CTagMatchMarker* m_tagMatch;
    // Ranges of text put back by the undo in progress, kept up to date while
    // it inserts and deletes.
    struct Range
    {
        qint64 start;
        qint64 end;
    };
    QList<Range> m_restored;
    bool m_undoing = false;
    // Whether the three styles lay text out alike (then restyling never
    // changes line wrapping).
    bool m_stylesShareMetrics = true;
};
