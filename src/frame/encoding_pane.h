#pragma once

#include <QPointer>
#include <QToolButton>

class CMarquillDoc;
class QMenu;

// The status bar's encoding pane, at its right end: shows the active
// document's encoding ("UTF-8", "Shift_JIS", ..., or "変換なし" for a file
// open without conversion). Its menu reopens the file in another encoding or
// saves the text in another one. The main frame hands it the active document.
class CEncodingPane : public QToolButton
{
    Q_OBJECT

public:
    explicit CEncodingPane(QWidget* parent = nullptr);

    // The document whose encoding is shown; null: none (the pane is empty).
    void setDocument(CMarquillDoc* doc);
    CMarquillDoc* document() const { return m_doc; }

    // The pane's menu, filled for the current document.
    QMenu* paneMenu() const { return m_menu; }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateText();
    void fillMenu();
    // A submenu of the short list; chosen runs the action on the document.
    void addEncodingMenu(const QString& title, const QString& objectName, bool enabled,
                         void (CEncodingPane::*action)(const QString&));
    void reopen(const QString& encoding);
    void save(const QString& encoding);
    // The short-list entry the document's encoding belongs to.
    QString currentEntry() const;

    QPointer<CMarquillDoc> m_doc;
    QMenu* m_menu;
};
