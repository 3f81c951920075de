#include "dialogs/anchor_field_dlg.h"

#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CAnchorFieldDlg::CAnchorFieldDlg(const QString& caption, const QString& label, const char* section,
                                 Build build, QWidget* parent)
    : QDialog(parent), m_build(build)
{
    setWindowTitle(caption);

    m_field = new CHistoryComboBox(this);
    m_field->setObjectName(QStringLiteral("fieldCombo"));
    m_field->setMinimumContentsLength(28);
    auto* fieldLabel = new QLabel(label, this);
    fieldLabel->setBuddy(m_field);
    auto* row = new QHBoxLayout;
    row->addWidget(fieldLabel);
    row->addWidget(m_field, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_field->LoadHistory(QString::fromLatin1(section));
}

void CAnchorFieldDlg::accept()
{
    const WrapTexts texts = m_build(m_field->currentText());
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}

CSameDocLinkDlg::CSameDocLinkDlg(QWidget* parent)
    : CAnchorFieldDlg(QStringLiteral("同一文書内へのリンク"),
                      QStringLiteral("リンク先ブックマーク(&I):"), HistorySection::Bookmark,
                      sameDocLinkTexts, parent)
{
}

CBookmarkDlg::CBookmarkDlg(QWidget* parent)
    : CAnchorFieldDlg(QStringLiteral("ブックマークの設定"), QStringLiteral("ブックマーク(&I):"),
                      HistorySection::Bookmark, bookmarkTexts, parent)
{
}

CMailLinkDlg::CMailLinkDlg(QWidget* parent)
    : CAnchorFieldDlg(QStringLiteral("メールの送信先"), QStringLiteral("メールアドレス(&I):"),
                      HistorySection::Mail, mailLinkTexts, parent)
{
}
