#include "dialogs/find_in_files_dlg.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/rules/regex_pattern.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kTextSection = HistorySection::FindInFiles;
constexpr const char* kTypesSection = HistorySection::FileTypes;
constexpr StringSetting kFolder{kTextSection, "Folder", ""};
constexpr IntSetting kSubfolders{kTextSection, "SubFolder", 1};
constexpr IntSetting kMatchCase{kTextSection, "MatchCase", 0};
constexpr IntSetting kRegex{kTextSection, "Regex", 0};

CHistoryComboBox* historyBox(const char* objectName, const char* section, QWidget* parent)
{
    auto* box = new CHistoryComboBox(parent);
    box->setObjectName(QLatin1String(objectName));
    box->setMinimumContentsLength(36);
    box->LoadHistory(QString::fromLatin1(section));
    return box;
}

QCheckBox* checkBox(const QString& text, const char* objectName, bool checked, QWidget* parent)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(objectName));
    box->setChecked(checked);
    return box;
}

} // namespace

CFindInFilesDlg::CFindInFilesDlg(const QString& documentFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CFindInFilesDlg"));
    setWindowTitle(QStringLiteral("ファイルから検索"));

    m_findText = historyBox("findText", kTextSection, this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("folderEdit"));
    QString folder = documentFolder.isEmpty() ? kFolder.read() : documentFolder;
    if (folder.isEmpty())
        folder = QDir::homePath();
    m_folder->setText(QDir::toNativeSeparators(QDir::cleanPath(folder)));
    auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
    browse->setObjectName(QStringLiteral("folderBrowseButton"));
    browse->setAutoDefault(false);
    m_fileTypes = historyBox("fileTypes", kTypesSection, this);
    if (m_fileTypes->currentText().isEmpty())
        m_fileTypes->setEditText(QString::fromLatin1(kDefaultFileTypes));

    m_subfolders = checkBox(QStringLiteral("サブフォルダーも検索する(&S)"), "subfolders",
                            kSubfolders.read() != 0, this);
    m_matchCase = checkBox(QStringLiteral("大文字と小文字を区別する(&C)"), "matchCase",
                           kMatchCase.read() != 0, this);
    m_regex = checkBox(QStringLiteral("正規表現(&X)"), "regex", kRegex.read() != 0, this);

    auto* grid = new QGridLayout;
    grid->addWidget(
        DialogLayout::buddyLabel(QStringLiteral("検索する文字列(&N):"), m_findText, this), 0, 0);
    grid->addWidget(m_findText, 0, 1, 1, 2);
    grid->addWidget(DialogLayout::buddyLabel(QStringLiteral("フォルダー(&D):"), m_folder, this), 1,
                    0);
    grid->addWidget(m_folder, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(
        DialogLayout::buddyLabel(QStringLiteral("ファイルの種類(&T):"), m_fileTypes, this), 2, 0);
    grid->addWidget(m_fileTypes, 2, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    QDialogButtonBox* buttons = DialogLayout::okCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("検索"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_subfolders);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_regex);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(browse, &QPushButton::clicked, this, &CFindInFilesDlg::browseFolder);
    m_findText->setFocus();
    m_findText->lineEdit()->selectAll();
}

QString CFindInFilesDlg::findText() const
{
    return m_findText->currentText();
}

QString CFindInFilesDlg::folder() const
{
    return QDir::cleanPath(QDir::fromNativeSeparators(m_folder->text().trimmed()));
}

QString CFindInFilesDlg::fileTypes() const
{
    return m_fileTypes->currentText();
}

bool CFindInFilesDlg::subfolders() const
{
    return m_subfolders->isChecked();
}

bool CFindInFilesDlg::matchCase() const
{
    return m_matchCase->isChecked();
}

bool CFindInFilesDlg::regex() const
{
    return m_regex->isChecked();
}

QString CFindInFilesDlg::problem(QWidget*& focus) const
{
    focus = m_findText;
    if (findText().isEmpty())
        return QStringLiteral("検索する文字列を入力してください。");
    if (regex()) {
        const CRegexPattern pattern(findText(), {matchCase(), false});
        if (!pattern.isValid())
            return pattern.errorMessage();
    }
    focus = m_folder;
    if (m_folder->text().trimmed().isEmpty() || !QFileInfo(folder()).isDir())
        return QStringLiteral("フォルダー「%1」が見つかりません。").arg(m_folder->text().trimmed());
    focus = m_fileTypes;
    if (fileTypes().trimmed().remove(QLatin1Char(';')).trimmed().isEmpty())
        return QStringLiteral("ファイルの種類を入力してください (例: %1)。")
            .arg(QString::fromLatin1(kDefaultFileTypes));
    return QString();
}

void CFindInFilesDlg::accept()
{
    QWidget* focus = nullptr;
    const QString message = problem(focus);
    if (!message.isEmpty()) {
        UiSeam::messageBox(this, message, QMessageBox::Warning);
        focus->setFocus();
        return;
    }
    kFolder.write(folder());
    kSubfolders.write(subfolders() ? 1 : 0);
    kMatchCase.write(matchCase() ? 1 : 0);
    kRegex.write(regex() ? 1 : 0);
    QDialog::accept();
}

void CFindInFilesDlg::browseFolder()
{
    UiSeam::FileDialogRequest request;
    request.folder = true;
    request.title = QStringLiteral("検索するフォルダーを選んでください。");
    request.directory = folder();
    const QString chosen = UiSeam::fileDialog(this, request);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}
