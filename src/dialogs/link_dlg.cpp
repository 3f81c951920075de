#include "dialogs/link_dlg.h"

#include "dialogs/html/element_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

CLinkDlg::CLinkDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("他のURLへリンク"));

    m_url = new CHistoryComboBox(this);
    m_url->setObjectName(QStringLiteral("urlCombo"));
    m_url->setMinimumContentsLength(32);
    m_target = CTargetHistory::createComboBox(this);

    auto* urlLabel = new QLabel(QStringLiteral("リンク先URL(&U):"), this);
    urlLabel->setBuddy(m_url);
    auto* targetLabel = new QLabel(QStringLiteral("表示先(&T) :"), this);
    targetLabel->setBuddy(m_target);
    auto* grid = new QGridLayout;
    grid->addWidget(urlLabel, 0, 0);
    grid->addWidget(m_url, 0, 1);
    grid->addWidget(targetLabel, 1, 0);
    grid->addWidget(m_target, 1, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_url->LoadHistory(QString::fromLatin1(HistorySection::URL));
    m_targets.load();
    m_targets.fillComboBox(m_target);
}

void CLinkDlg::accept()
{
    const QString target = m_targets.accept(m_target->currentText());
    const WrapTexts texts = linkTexts(m_url->currentText(), target);
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
