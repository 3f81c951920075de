#include "widgets/font_choice_dialog.h"

#include "core/ui_seam.h"
#include "widgets/dialog_layout.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct BasicColor
{
    QRgb rgb;
    const char* name;
};

// The sixteen basic colours of the system's font dialog.
const BasicColor kBasicColors[] = {
    {0x000000, "黒"},   {0x800000, "栗色"}, {0x008000, "緑"},     {0x808000, "オリーブ"},
    {0x000080, "紺"},   {0x800080, "紫"},   {0x008080, "青緑"},   {0x808080, "灰色"},
    {0xC0C0C0, "銀色"}, {0xFF0000, "赤"},   {0x00FF00, "ライム"}, {0xFFFF00, "黄"},
    {0x0000FF, "青"},   {0xFF00FF, "赤紫"}, {0x00FFFF, "水色"},   {0xFFFFFF, "白"},
};
constexpr int kBasicCount = int(std::size(kBasicColors));

QIcon swatch(const QColor& color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 11);
    return QIcon(pixmap);
}

} // namespace

CFontChoiceDialog::CFontChoiceDialog(QWidget* parent)
    : QDialog(parent), m_fonts(new QFontDialog(this)), m_colors(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("フォント"));
    m_fonts->setObjectName(QStringLiteral("fontChooser"));
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);

    m_colors->setObjectName(QStringLiteral("colorCombo"));
    for (const BasicColor& c : kBasicColors)
        m_colors->addItem(swatch(QColor(c.rgb)), QString::fromUtf8(c.name), QColor(c.rgb));
    auto* other = new QPushButton(QStringLiteral("その他の色(&O)..."), this);
    other->setObjectName(QStringLiteral("otherColorButton"));
    connect(other, &QPushButton::clicked, this, &CFontChoiceDialog::chooseOtherColor);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(DialogLayout::buddyLabel(QStringLiteral("色(&C):"), m_colors, this));
    colorRow->addWidget(m_colors);
    colorRow->addWidget(other);
    colorRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    QDialogButtonBox* buttons = DialogLayout::okCancelButtons(this);
    layout->addWidget(buttons);
    m_fonts->show();
    // Enter means OK, as in any dialog; the hidden buttons of the font part
    // would otherwise take the default.
    other->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
}

void CFontChoiceDialog::setCurrentFont(const QFont& font)
{
    // The font list names installed fonts only: it shows the one that
    // stands in for a face the system does not have, in the given style.
    QFont shown = font;
    const QString family = QFontInfo(font).family();
    shown.setFamily(family);
    // The dialog finds the style by its name, which the translations change
    // ("Bold" becomes "太字"): name the installed style of this weight.
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont candidate = QFontDatabase::font(family, style, 12);
        if (candidate.weight() == font.weight() && candidate.italic() == font.italic()) {
            shown.setStyleName(style);
            break;
        }
    }
    m_fonts->setCurrentFont(shown);
    m_givenFamily = font.family();
    m_shownFamily = m_fonts->currentFont().family();
}

QFont CFontChoiceDialog::currentFont() const
{
    QFont font = m_fonts->currentFont();
    if (font.family() == m_shownFamily && !m_givenFamily.isEmpty())
        font.setFamily(m_givenFamily);
    return font;
}

void CFontChoiceDialog::setColor(const QColor& color)
{
    const QColor opaque = color.rgb();
    for (int i = 0; i < kBasicCount; ++i) {
        if (QColor(kBasicColors[i].rgb) == opaque) {
            m_colors->setCurrentIndex(i);
            return;
        }
    }
    if (m_colors->count() == kBasicCount)
        m_colors->addItem(QString());
    m_colors->setItemText(kBasicCount, QStringLiteral("カスタム"));
    m_colors->setItemIcon(kBasicCount, swatch(opaque));
    m_colors->setItemData(kBasicCount, opaque);
    m_colors->setCurrentIndex(kBasicCount);
}

QColor CFontChoiceDialog::color() const
{
    return m_colors->currentData().value<QColor>();
}

void CFontChoiceDialog::chooseOtherColor()
{
    QColorDialog dialog(color(), this);
    dialog.setWindowTitle(QStringLiteral("色の設定"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (UiSeam::execDialog(dialog) == QDialog::Accepted)
        setColor(dialog.currentColor());
}
