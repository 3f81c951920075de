#include "dialogs/option_pages.h"

#include "core/ui_seam.h"
#include "editor/rules/date_format.h"
#include "resources/resource_tables.h"
#include "widgets/dialog_layout.h"
#include "widgets/font_choice_dialog.h"
#include "widgets/preview_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kNextStartNote = "（※この設定は次回起動時から有効です。）";
// Fonts and colours show in every open window as soon as OK is pressed.
const char* const kAtOnceNote = "（※この設定はすぐに有効になります。）";

QCheckBox* checkBox(const char* text, const char* objectName, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QString::fromUtf8(objectName));
    return box;
}

QLabel* note(QWidget* parent, const char* text = kNextStartNote)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

// A group box holding the given widgets one below the other.
QGroupBox* group(const char* title, std::initializer_list<QWidget*> widgets, QWidget* parent)
{
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* w : widgets) {
        w->setParent(box);
        layout->addWidget(w);
    }
    return box;
}

// The widgets of a page one below the other, pushed to the top.
void stack(QWidget* page, std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QVBoxLayout(page);
    for (QWidget* w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
}

// A label and the control it names, side by side, in a widget of their own.
QWidget* labelled(const char* text, QWidget* field, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    field->setParent(row);
    layout->addWidget(DialogLayout::buddyLabel(QString::fromUtf8(text), field, row));
    layout->addWidget(field);
    layout->addStretch(1);
    return row;
}

} // namespace

// --- File page -------------------------------------------------------------------

COptionFilePage::COptionFilePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OptionFilePage"));
    m_fileNew = checkBox("起動時に文書を新規作成する(&N)", "fileNewCheck", this);
    m_dialog = checkBox("新規作成時に文書情報ダイアログを開く(&D)", "dialogCheck", this);
    m_browserShow = new QComboBox(this);
    m_browserShow->setObjectName(QStringLiteral("browserShowCombo"));
    m_browserShow->addItems(
        {QStringLiteral("通常のウィンドウ"), QStringLiteral("最小化"), QStringLiteral("最大化")});
    m_browserProgram = new QLineEdit(this);
    m_browserProgram->setObjectName(QStringLiteral("browserProgramEdit"));
    m_browserProgram->setPlaceholderText(QStringLiteral("空欄: デスクトップの既定のブラウザ"));
    m_browserProgram->setMinimumWidth(m_browserProgram->fontMetrics().averageCharWidth() * 44);
    auto* browse = new QPushButton(QStringLiteral("参照(&E)..."), this);
    browse->setObjectName(QStringLiteral("browserBrowseButton"));
    connect(browse, &QPushButton::clicked, this, &COptionFilePage::chooseBrowser);
    auto* program = new QWidget(this);
    auto* programLayout = new QHBoxLayout(program);
    programLayout->setContentsMargins(0, 0, 0, 0);
    m_browserProgram->setParent(program);
    browse->setParent(program);
    programLayout->addWidget(
        DialogLayout::buddyLabel(QStringLiteral("プログラム(&B) :"), m_browserProgram, program));
    programLayout->addWidget(m_browserProgram, 1);
    programLayout->addWidget(browse);
    m_defaultFolder =
        checkBox("最後に参照したフォルダを作業フォルダにする(&F)", "defaultFolderCheck", this);
    m_recovery = checkBox("保存していない変更を回復用に書き残す(&R)", "recoveryCheck", this);
    m_restoreSession =
        checkBox("終了時に開いていたファイルを次の起動時に開く(&O)", "restoreSessionCheck", this);
    stack(this, {group("新規作成", {m_fileNew, m_dialog}, this),
                 group("ブラウザ", {labelled("実行時の大きさ(&S) :", m_browserShow, this), program},
                       this),
                 m_defaultFolder, m_recovery, m_restoreSession});
}

void COptionFilePage::chooseBrowser()
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("ブラウザのプログラム");
    request.filter = QStringLiteral("すべてのファイル (*)");
    request.directory = QStringLiteral("/usr/bin");
    const QString path = UiSeam::fileDialog(this, request);
    if (!path.isEmpty())
        m_browserProgram->setText(path);
}

void COptionFilePage::load(const OptionValues& v)
{
    m_fileNew->setChecked(v.fileNew);
    m_dialog->setChecked(v.dialog);
    m_browserShow->setCurrentIndex(OptionRules::browserShowRow(v.browserShow));
    m_browserProgram->setText(v.browserProgram);
    m_defaultFolder->setChecked(v.defaultFolder);
    m_recovery->setChecked(v.recovery);
    m_restoreSession->setChecked(v.restoreSession);
}

void COptionFilePage::store(OptionValues& v) const
{
    v.fileNew = m_fileNew->isChecked();
    v.dialog = m_dialog->isChecked();
    if (m_browserShow->currentIndex() >= 0)
        v.browserShow = OptionRules::browserShowOfRow(m_browserShow->currentIndex());
    v.browserProgram = m_browserProgram->text().trimmed();
    v.defaultFolder = m_defaultFolder->isChecked();
    v.recovery = m_recovery->isChecked();
    v.restoreSession = m_restoreSession->isChecked();
}

// --- Tag page --------------------------------------------------------------------

COptionTagPage::COptionTagPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OptionTagPage"));
    m_smallLetter = checkBox("タグを小文字にする(&S)", "smallLetterCheck", this);
    m_stringSelect = checkBox("タグ挿入後も文字列選択を維持する(&A)", "stringSelectCheck", this);
    m_getTagMessageBox = checkBox("[タグの取り込み] 時に確認メッセージを表示する(&M)",
                                  "getTagMessageBoxCheck", this);
    m_autoColor = checkBox("自動的にタグの色分けをする(&C)", "autoColorCheck", this);
    m_hexColor = checkBox("色を１６進数表記にする(&H)", "hexColorCheck", this);
    m_matchTag =
        checkBox("カーソルのあるタグと対応するタグに印を付ける(&T)", "matchTagCheck", this);
    stack(this, {group("タグ", {m_smallLetter, m_stringSelect, m_getTagMessageBox}, this),
                 group("色分け", {m_autoColor, note(this)}, this), m_hexColor, m_matchTag});
}

void COptionTagPage::load(const OptionValues& v)
{
    m_smallLetter->setChecked(v.smallLetter);
    m_stringSelect->setChecked(v.stringSelect);
    m_getTagMessageBox->setChecked(v.getTagMessageBox);
    m_autoColor->setChecked(v.autoColor);
    m_hexColor->setChecked(v.hexColor);
    m_matchTag->setChecked(v.matchTag);
}

void COptionTagPage::store(OptionValues& v) const
{
    v.smallLetter = m_smallLetter->isChecked();
    v.stringSelect = m_stringSelect->isChecked();
    v.getTagMessageBox = m_getTagMessageBox->isChecked();
    v.autoColor = m_autoColor->isChecked();
    v.hexColor = m_hexColor->isChecked();
    v.matchTag = m_matchTag->isChecked();
}

// --- Editor page -----------------------------------------------------------------

COptionEditPage::COptionEditPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OptionEditPage"));
    m_flatbar = checkBox("ツールバーをフラットにする(&F)", "flatbarCheck", this);
    m_ownerDraw = checkBox("ツールバーを独自に描画する(&O)", "ownerDrawCheck", this);
    m_lineNumbers = checkBox("行番号を表示する(&L)", "lineNumbersCheck", this);
    m_date = new QComboBox(this);
    m_date->setObjectName(QStringLiteral("dateCombo"));
    for (const Resources::DateFormat& row : Resources::dateFormats())
        m_date->addItem(row.pattern);
    m_sample = new QLineEdit(this);
    m_sample->setObjectName(QStringLiteral("dateSample"));
    m_sample->setReadOnly(true);
    m_sample->setMinimumWidth(
        m_sample->fontMetrics().horizontalAdvance(QStringLiteral("Wednesday, September 30, 2026")) +
        12);

    auto* dates = new QGroupBox(QStringLiteral("日付"), this);
    auto* grid = new QGridLayout(dates);
    grid->addWidget(
        DialogLayout::buddyLabel(QStringLiteral("日付コマンドの形式(&D) :"), m_date, dates), 0, 0);
    grid->addWidget(m_date, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("日付のサンプル :"), dates), 1, 0);
    grid->addWidget(m_sample, 1, 1);
    grid->setColumnStretch(2, 1);

    stack(this,
          {group("エディタ", {m_flatbar, m_ownerDraw, note(this)}, this), m_lineNumbers, dates});

    connect(m_flatbar, &QCheckBox::toggled, m_ownerDraw, &QWidget::setEnabled);
    connect(m_date, &QComboBox::currentIndexChanged, this, &COptionEditPage::showSample);
}

void COptionEditPage::load(const OptionValues& v)
{
    m_flatbar->setChecked(v.flatbar);
    m_ownerDraw->setChecked(v.ownerDraw);
    m_ownerDraw->setEnabled(v.flatbar);
    m_lineNumbers->setChecked(v.lineNumbers);
    m_date->setCurrentIndex(v.date);
    showSample();
}

void COptionEditPage::store(OptionValues& v) const
{
    v.flatbar = m_flatbar->isChecked();
    v.ownerDraw = m_ownerDraw->isChecked();
    v.lineNumbers = m_lineNumbers->isChecked();
    if (m_date->currentIndex() >= 0)
        v.date = m_date->currentIndex();
}

void COptionEditPage::showSample()
{
    const int row = m_date->currentIndex();
    m_sample->setText(
        row < 0 ? QString()
                : QString::fromUtf8(DateFormat::dateText(row, QDateTime::currentDateTime())));
}

// --- Font page -------------------------------------------------------------------

COptionFontPage::COptionFontPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OptionFontPage"));
    struct Button
    {
        const char* text;
        const char* objectName;
    };
    const Button kButtons[OptionValues::FontKinds] = {
        {"ディフォルト(&D)...", "defaultFontButton"},
        {"タグ(&T)...", "tagFontButton"},
        {"二重引用符(&Q)...", "quoteFontButton"},
    };
    auto* buttons = new QHBoxLayout;
    for (int kind = 0; kind < OptionValues::FontKinds; ++kind) {
        auto* button = new QPushButton(QString::fromUtf8(kButtons[kind].text), this);
        button->setObjectName(QString::fromUtf8(kButtons[kind].objectName));
        connect(button, &QPushButton::clicked, this, [this, kind] { chooseFont(kind); });
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    m_preview = new CPreviewFrame(this);
    m_preview->setObjectName(QStringLiteral("fontPreview"));
    m_preview->setMinimumSize(380, 115);
    m_preview->setPainter([this](QPainter& p, const QRect& r) { paintPreview(p, r); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_preview, 1);
    layout->addWidget(note(this, kAtOnceNote));
}

void COptionFontPage::load(const OptionValues& v)
{
    for (int kind = 0; kind < OptionValues::FontKinds; ++kind)
        m_fonts[kind] = v.fonts[kind];
    m_preview->update();
}

void COptionFontPage::store(OptionValues& v) const
{
    for (int kind = 0; kind < OptionValues::FontKinds; ++kind)
        v.fonts[kind] = m_fonts[kind];
}

void COptionFontPage::chooseFont(int kind)
{
    CFontChoiceDialog dialog(this);
    dialog.setCurrentFont(OptionRules::screenFont(m_fonts[kind]));
    dialog.setColor(OptionRules::colorOf(m_fonts[kind].color));
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return;
    m_fonts[kind] = OptionRules::fromChosenFont(dialog.currentFont(), dialog.color());
    m_preview->update();
}

void COptionFontPage::paintPreview(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, Qt::white);
    painter.setClipRect(rect);
    const QString lines[OptionValues::FontKinds] = {
        QStringLiteral("ホームページ"),
        QStringLiteral("<FONT SIZE=3 COLOR=RED>"),
        QStringLiteral("\"http://www.example.com/\""),
    };
    for (int kind = 0; kind < OptionValues::FontKinds; ++kind) {
        const QFont font = OptionRules::screenFont(m_fonts[kind]);
        painter.setFont(font);
        painter.setPen(OptionRules::colorOf(m_fonts[kind].color));
        const QFontMetrics metrics(font, painter.device());
        const int top = rect.top() + 5 + 35 * kind;
        painter.drawText(QPoint(rect.left() + 5, top + metrics.ascent()), lines[kind]);
    }
}

// --- Check page --------------------------------------------------------------------

COptionCheckPage::COptionCheckPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("OptionCheckPage"));
    m_accessibility = new QComboBox(this);
    m_accessibility->setObjectName(QStringLiteral("accessibilityCombo"));
    m_accessibility->addItems({QStringLiteral("しない"), QStringLiteral("優先度 1"),
                               QStringLiteral("優先度 1 と 2"), QStringLiteral("優先度 1、2、3")});
    m_warnings = checkBox("警告も表示する(&W)", "warningsCheck", this);
    m_previewTrusted = checkBox("スクリプトの実行とネットワークからの読み込みを許す(&S)",
                                "previewTrustedCheck", this);
    auto* trustNote = new QLabel(
        QStringLiteral("（※信頼できるページを書いているときだけオンにしてください。）"), this);
    stack(
        this,
        {group("文書のチェック",
               {labelled("アクセシビリティの検査(&A) :", m_accessibility, this), m_warnings}, this),
         group("プレビュー", {m_previewTrusted, trustNote}, this)});
}

void COptionCheckPage::load(const OptionValues& v)
{
    m_accessibility->setCurrentIndex(qBound(0, v.checkAccessibility, 3));
    m_warnings->setChecked(v.checkWarnings);
    m_previewTrusted->setChecked(v.previewTrusted);
}

void COptionCheckPage::store(OptionValues& v) const
{
    v.checkAccessibility = m_accessibility->currentIndex();
    v.checkWarnings = m_warnings->isChecked();
    v.previewTrusted = m_previewTrusted->isChecked();
}
