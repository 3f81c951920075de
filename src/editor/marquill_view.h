#pragma once

#include "editor/my_rich_edit_view.h"

#include <QByteArray>

class CMarquillDoc;

// The HTML editor view: the text view with tag colouring, the insertion
// operations every HTML command goes through, the tag tools and the view's
// commands. Command modules register their handlers on it when it is built.
class CMarquillView : public CMyRichEditView
{
    Q_OBJECT

public:
    explicit CMarquillView(QWidget* parent = nullptr);
    ~CMarquillView() override;

    CMarquillDoc* marquillDocument() const;

    // Puts start before and end after the selection. With tag set and
    // "SmallLetter" on, the tags are lowered first. Colours the inserted range,
    // places the caret or keeps the selection ("StringSelect"), and remembers
    // the pair for re-insertion.
    void WrapSelection(const QByteArray& start, const QByteArray& end, bool tag);
    // Replaces the selection with text (lowered like WrapSelection when tag is
    // set), colours it and puts the caret after it.
    void InsertText(const QByteArray& text, bool tag);

    // Colours the tags of the whole text, with a cancellable progress dialog.
    void ColorWholeDocument();

    // The last insertion, for re-insertion.
    QByteArray lastStartText() const { return m_lastStart; }
    QByteArray lastEndText() const { return m_lastEnd; }
    int lastWasPair() const { return m_lastWasPair; }
    void setLastInsertion(const QByteArray& start, const QByteArray& end, int wasPair);

protected:
    QByteArray m_lastStart;
    QByteArray m_lastEnd;
    int m_lastWasPair = 0;
};
