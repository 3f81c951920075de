#include "dialogs/doc_info_dlg.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/html/element_html.h"
#include "document/relative_reference.h"
#include "widgets/color_combo_box.h"
#include "widgets/color_table.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"
#include "widgets/preview_frame.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ColorBox
{
    const char* label;
    const char* objectName;
    StringSetting setting;
    QRgb previewDefault; // shown for "not selected": what a browser shows without the attribute
};

const ColorBox kColorBoxes[CDocInfoDlg::kColorCount] = {
    {"背景(&B) :", "bgColorCombo", {HistorySection::Body, "BackGroundColor", "silver"}, 0xFFFFFF},
    {"テキスト(&T) :", "textColorCombo", {HistorySection::Body, "TextColor", "black"}, 0x000000},
    {"リンク(&L) :", "linkColorCombo", {HistorySection::Body, "LinkTextColor", "blue"}, 0x0000FF},
    {"キャッシュ済みリンク(&A) :",
     "vlinkColorCombo",
     {HistorySection::Body, "ReadLinkTextColor", "purple"},
     0x800080},
    {"読み込み中リンク(&R) :",
     "alinkColorCombo",
     {HistorySection::Body, "ReadingLinkTextColor", "red"},
     0xFF0000},
};

} // namespace

CDocInfoDlg::CDocInfoDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("文書情報の設定"));

    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("titleEdit"));
    m_background = new CHistoryComboBox(this);
    m_background->setObjectName(QStringLiteral("backgroundCombo"));
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(browse, &QPushButton::clicked, this, &CDocInfoDlg::browseBackground);

    auto* fields = new QGridLayout;
    auto* titleLabel = new QLabel(QStringLiteral("タイトル(&H) :"), this);
    titleLabel->setBuddy(m_title);
    auto* backgroundLabel = new QLabel(QStringLiteral("背景画像(&I) :"), this);
    backgroundLabel->setBuddy(m_background);
    fields->addWidget(titleLabel, 0, 0);
    fields->addWidget(m_title, 0, 1, 1, 2);
    fields->addWidget(backgroundLabel, 1, 0);
    fields->addWidget(m_background, 1, 1);
    fields->addWidget(browse, 1, 2);
    fields->setColumnStretch(1, 1);

    m_preview = new CPreviewFrame(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(180, 100);
    m_preview->setPainter([this](QPainter& p, const QRect& r) { paintPreview(p, r); });

    auto* middle = new QHBoxLayout;
    middle->addWidget(createColorGroup());
    middle->addWidget(DialogLayout::previewGroup(m_preview, this), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(middle);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_background->LoadHistory(QString::fromLatin1(HistorySection::Body));
    for (int i = 0; i < kColorCount; ++i) {
        m_colors[i]->SelectColorName(kColorBoxes[i].setting.read());
        connect(m_colors[i], &QComboBox::currentIndexChanged, m_preview,
                [this] { m_preview->update(); });
    }
    m_title->setFocus();
}

QWidget* CDocInfoDlg::createColorGroup()
{
    auto* group = new QGroupBox(QStringLiteral("色の設定"), this);
    auto* form = new QFormLayout(group);
    for (int i = 0; i < kColorCount; ++i) {
        m_colors[i] = new CColorComboBox(group);
        m_colors[i]->setObjectName(QLatin1String(kColorBoxes[i].objectName));
        auto* label = new QLabel(QString::fromUtf8(kColorBoxes[i].label), group);
        label->setBuddy(m_colors[i]);
        form->addRow(label, m_colors[i]);
    }
    return group;
}

void CDocInfoDlg::browseBackground()
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("画像ファイルを選択");
    request.filter = QStringLiteral("画像ファイル (*.jpg *.gif);;すべてのファイル (*)");
    request.directory = m_folder;
    const QString path = UiSeam::fileDialog(this, request);
    if (path.isEmpty())
        return;
    // Without a document folder (a document never saved) nothing can be
    // relative to it: the bare file name is the most useful reference then.
    QString reference = relativeReference(m_folder, path);
    if (reference.isEmpty())
        reference = QFileInfo(path).fileName();
    m_background->setEditText(reference);
}

void CDocInfoDlg::paintPreview(QPainter& painter, const QRect& rect)
{
    QColor colors[kColorCount];
    for (int i = 0; i < kColorCount; ++i) {
        const int value = ColorFromName(m_colors[i]->GetColorName());
        colors[i] =
            value == kNoColor ? QColor(kColorBoxes[i].previewDefault) : colorFromValue(value);
    }
    painter.fillRect(rect, colors[0]);

    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    static const char* const kTexts[] = {"テキスト", "リンク", "キャッシュ済みリンク",
                                         "読み込み中リンク"};
    const int x = rect.left() + 5;
    for (int i = 0; i < 4; ++i) {
        const QString text = QString::fromUtf8(kTexts[i]);
        const int y = rect.top() + 5 + 20 * i;
        painter.setPen(colors[i + 1]);
        painter.drawText(QPoint(x, y + metrics.ascent()), text);
        if (i > 0) {
            const int w = metrics.horizontalAdvance(text);
            const int lineY = y + metrics.height() - 1;
            if (w > 0)
                painter.drawLine(x, lineY, x + w - 1, lineY);
        }
    }
}

void CDocInfoDlg::accept()
{
    QString names[kColorCount];
    ProfileValues values;
    for (int i = 0; i < kColorCount; ++i) {
        names[i] = m_colors[i]->GetColorName();
        values.append(kColorBoxes[i].setting.with(names[i]));
    }
    writeProfileValues(values);
    const DocInfoChoice choice{
        m_title->text(), m_background->currentText(), names[0], names[1], names[2], names[3],
        names[4]};
    const WrapTexts texts = docInfoTexts(choice, hexColorOption());
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
