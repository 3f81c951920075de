#include "dialogs/form_dlg.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/html/form_html.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr StringSetting kMethod{HistorySection::Form, "Method", "POST"};

using DialogLayout::buddyLabel;
} // namespace

CFormDlg::CFormDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォーム領域の作成"));

    // Created in the order the focus travels.
    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("methodCombo"));
    m_method->addItems({QStringLiteral("GET"), QStringLiteral("POST")});
    m_action = new CHistoryComboBox(this, true);
    m_action->setObjectName(QStringLiteral("actionCombo"));
    m_action->setMinimumContentsLength(28);
    auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &CFormDlg::browse);
    m_target = CTargetHistory::createComboBox(this);

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel(QStringLiteral("メソッド(&M) :"), m_method, this), 0, 0);
    grid->addWidget(m_method, 0, 1, Qt::AlignLeft);
    grid->addWidget(buddyLabel(QStringLiteral("アクション(&A) :"), m_action, this), 1, 0);
    grid->addWidget(m_action, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(buddyLabel(QStringLiteral("表示先(&T) :"), m_target, this), 2, 0);
    grid->addWidget(m_target, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A stored method that is neither item opens with the default.
    int method = m_method->findText(kMethod.read(), Qt::MatchFixedString);
    if (method < 0)
        method = m_method->findText(QString::fromLatin1(kMethod.defaultValue));
    m_method->setCurrentIndex(method);
    m_action->LoadHistory(QString::fromLatin1(HistorySection::Form));
    m_targets.load();
    m_targets.fillComboBox(m_target);
}

void CFormDlg::browse()
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("ファイルを開く");
    const QString path = UiSeam::fileDialog(this, request);
    if (!path.isEmpty())
        m_action->setEditText(QFileInfo(path).fileName());
}

void CFormDlg::accept()
{
    const QString target = m_targets.accept(m_target->currentText());
    const QString method = m_method->currentText();
    kMethod.write(method);
    const WrapTexts texts = formTexts(method, m_action->currentText(), target);
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
