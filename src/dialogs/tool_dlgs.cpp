#include "dialogs/tool_dlgs.h"

#include "core/ui_seam.h"
#include "widgets/dialog_layout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(300);
    return edit;
}

QPushButton* browseButton(const QString& caption, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CToolListDlg::CToolListDlg(QWidget* parent)
    : CSlotListDlgOf(QStringLiteral("ツールの登録・変更・削除"), QStringLiteral("登録ツール(&I)"),
                     parent)
{
    setObjectName(QStringLiteral("CToolListDlg"));
    load(SlotRecords::readTools());
}

void CToolListDlg::accept()
{
    SlotRecords::writeTools(m_slots);
    QDialog::accept();
}

bool CToolListDlg::editRecord(ToolRecord& record)
{
    CToolEditDlg dialog(this);
    dialog.setRecord(record);
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return false;
    record = dialog.record();
    return true;
}

CToolEditDlg::CToolEditDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CToolEditDlg"));
    setWindowTitle(QStringLiteral("登録ツールの編集"));
    m_view = lineEdit(QStringLiteral("viewEdit"), this);
    m_path = lineEdit(QStringLiteral("pathEdit"), this);
    m_folder = lineEdit(QStringLiteral("folderEdit"), this);
    auto* browsePath =
        browseButton(QStringLiteral("参照(&B)..."), QStringLiteral("pathBrowseButton"), this);
    auto* browseFolderButton =
        browseButton(QStringLiteral("参照(&C)..."), QStringLiteral("folderBrowseButton"), this);

    auto* modes = new QGroupBox(QStringLiteral("引数"), this);
    auto* modeColumn = new QVBoxLayout(modes);
    m_mode = new QButtonGroup(this);
    const struct
    {
        const char* caption;
        const char* name;
    } kModes[] = {{"引数なし(&N)", "noArgumentButton"},
                  {"引数として編集中のファイル名を渡す(&E)", "fileArgumentButton"},
                  {"引数として選択中の文字列を渡す(&S)", "selectionArgumentButton"}};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(kModes[i].caption), modes);
        button->setObjectName(QLatin1String(kModes[i].name));
        m_mode->addButton(button, i);
        modeColumn->addWidget(button);
    }

    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("sizeCombo"));
    m_size->addItems(
        {QStringLiteral("通常のウィンドウ"), QStringLiteral("最小化"), QStringLiteral("最大化")});

    auto* grid = new QGridLayout;
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("メニュー表示(&V):"), m_view, this), 0,
                    0);
    grid->addWidget(m_view, 0, 1, 1, 2);
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("プログラムパス(&P):"), m_path, this),
                    1, 0);
    grid->addWidget(m_path, 1, 1);
    grid->addWidget(browsePath, 1, 2);
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("作業フォルダ(&F):"), m_folder, this),
                    2, 0);
    grid->addWidget(m_folder, 2, 1);
    grid->addWidget(browseFolderButton, 2, 2);
    grid->addWidget(modes, 3, 0, 1, 3);
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("実行時の大きさ(&C):"), m_size, this),
                    4, 0);
    grid->addWidget(m_size, 4, 1, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browsePath, &QPushButton::clicked, this, &CToolEditDlg::browseProgram);
    connect(browseFolderButton, &QPushButton::clicked, this, &CToolEditDlg::browseFolder);
}

void CToolEditDlg::setRecord(const ToolRecord& record)
{
    m_view->setText(record.view);
    m_path->setText(record.path);
    m_folder->setText(record.folder);
    const int mode = record.cmdType == 1 || record.cmdType == 2 ? record.cmdType : 0;
    m_mode->button(mode)->setChecked(true);
    m_size->setCurrentIndex(SlotRecords::sizeIndexFromShowCode(record.cmdShow));
}

ToolRecord CToolEditDlg::record() const
{
    ToolRecord tool;
    tool.view = m_view->text();
    tool.path = m_path->text();
    tool.folder = m_folder->text();
    tool.cmdType = qMax(0, m_mode->checkedId());
    tool.cmdShow = SlotRecords::showCodeFromSizeIndex(m_size->currentIndex());
    return tool;
}

void CToolEditDlg::accept()
{
    if (m_view->text().isEmpty()) {
        UiSeam::messageBox(this, QStringLiteral("メニュー表示を入力して下さい。"),
                           QMessageBox::Warning);
        m_view->setFocus();
        return;
    }
    QDialog::accept();
}

void CToolEditDlg::browseProgram()
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("実行ファイルを選択");
    request.filter = QStringLiteral("すべてのファイル (*)");
    const QFileInfo current(m_path->text());
    if (!m_path->text().isEmpty() && current.absoluteDir().exists())
        request.directory = current.absolutePath();
    const QString chosen = UiSeam::fileDialog(this, request);
    if (!chosen.isEmpty())
        m_path->setText(QDir::toNativeSeparators(chosen));
}

void CToolEditDlg::browseFolder()
{
    UiSeam::FileDialogRequest request;
    request.folder = true;
    request.title = QStringLiteral("作業フォルダを選んでください。");
    request.directory = m_folder->text().isEmpty() ? QDir::currentPath() : m_folder->text();
    const QString chosen = UiSeam::fileDialog(this, request);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}
