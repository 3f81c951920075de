#pragma once

#include "document/document_check.h"

#include <QPointer>
#include <QWidget>

class CMarquillView;
class CResultsList;
class QLabel;

// The pane of 文書のチェック: what the check found in a document, one line
// per finding ("LINE:COLUMN  KIND: MESSAGE") under the document's path (its
// title while it has no file). The check runs on a worker thread over a copy
// of the text, so the window goes on answering and the document, its
// modified state and its undo history are left as they were. Enter or a
// double click puts the caret at a finding's place; Ctrl+A, Ctrl+C copy the
// list as "PATH:LINE:COLUMN: KIND: MESSAGE" lines.
class CCheckPane : public QWidget
{
    Q_OBJECT

public:
    explicit CCheckPane(QWidget* parent = nullptr);

    // Checks the view's text with the options in the settings; a check
    // still running for an earlier request is left to finish unheard.
    void check(CMarquillView* view);

    bool isChecking() const { return m_running > 0; }
    // The line above the list: what is being checked, or what was found.
    QString summary() const;
    CResultsList* list() const { return m_list; }

Q_SIGNALS:
    // The findings of the last check are listed.
    void checked();

private:
    void showReport(const DocumentCheck::Report& report, const QString& label);
    void goTo(int line, int column);

    QLabel* m_summary;
    CResultsList* m_list;
    QPointer<CMarquillView> m_view; // the view last checked
    int m_generation = 0;           // of the last check asked for
    int m_running = 0;
};
