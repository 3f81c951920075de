#pragma once

#include "dialogs/html/element_html.h"

#include <QDialog>

class CHistoryComboBox;

// The one-field anchor dialogs: a combo box with an input history whose text
// goes into the anchor. After OK, startText() and endText() hold the anchor.
class CAnchorFieldDlg : public QDialog
{
    Q_OBJECT

public:
    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

    void accept() override;

protected:
    using Build = WrapTexts (*)(const QString& field);
    CAnchorFieldDlg(const QString& caption, const QString& label, const char* section, Build build,
                    QWidget* parent);

private:
    CHistoryComboBox* m_field = nullptr;
    Build m_build;
    QString m_start;
    QString m_end;
};

// "同一文書内へのリンク": a link to a bookmark of the same document. Shares
// its history "History\Bookmark" with the bookmark dialog.
class CSameDocLinkDlg : public CAnchorFieldDlg
{
    Q_OBJECT
public:
    explicit CSameDocLinkDlg(QWidget* parent = nullptr);
};

// "ブックマークの設定": a named anchor (history "History\Bookmark").
class CBookmarkDlg : public CAnchorFieldDlg
{
    Q_OBJECT
public:
    explicit CBookmarkDlg(QWidget* parent = nullptr);
};

// "メールの送信先": a mailto link (history "History\Mail").
class CMailLinkDlg : public CAnchorFieldDlg
{
    Q_OBJECT
public:
    explicit CMailLinkDlg(QWidget* parent = nullptr);
};
