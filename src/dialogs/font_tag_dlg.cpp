#include "dialogs/font_tag_dlg.h"

#include "dialogs/html/element_html.h"
#include "widgets/color_combo_box.h"
#include "widgets/color_table.h"
#include "widgets/dialog_layout.h"
#include "widgets/preview_frame.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

CFontTagDlg::CFontTagDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォント"));

    // Built in the order the controls are laid out, which is their tab order.
    QWidget* sizeGroup = createSizeGroup();
    m_color = new CColorComboBox(this);
    m_color->setObjectName(QStringLiteral("colorCombo"));
    auto* colorLabel = new QLabel(QStringLiteral("色指定(&C):"), this);
    colorLabel->setBuddy(m_color);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_color, 1);

    m_preview = new CPreviewFrame(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    // Wide enough for the sample at the largest size.
    QFont largest(QStringLiteral("ＭＳ Ｐゴシック"));
    largest.setPointSize(fontPreviewPoints(0));
    const int sampleWidth = QFontMetrics(largest).horizontalAdvance(DialogLayout::previewSample());
    m_preview->setMinimumSize(qMax(340, sampleWidth + 20), 80);
    m_preview->setPainter([this](QPainter& p, const QRect& r) { paintPreview(p, r); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sizeGroup);
    layout->addLayout(colorRow);
    layout->addWidget(DialogLayout::previewGroup(m_preview, this));
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_sizes, &QButtonGroup::idToggled, m_preview, [this] { m_preview->update(); });
    connect(m_color, &QComboBox::currentIndexChanged, m_preview, [this] { m_preview->update(); });
}

QWidget* CFontTagDlg::createSizeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("サイズ指定"), this);
    auto* grid = new QGridLayout(group);
    m_sizes = new QButtonGroup(this);
    static const char* const kCaptions[kFontSizeButtons] = {
        "&7", "&6", "&5", "&4", "&3", "&2", "&1", "+3", "+2", "+1", "-1", "-2", "-3"};
    grid->addWidget(new QLabel(QStringLiteral("絶対サイズ (最大 7 ～ 1 最小)"), group), 0, 0, 1, 7);
    grid->addWidget(new QLabel(QStringLiteral("相対サイズ (最大 +3 ～ -3 最小)"), group), 2, 0, 1,
                    7);
    for (int i = 0; i < kFontSizeButtons; ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(kCaptions[i]), group);
        button->setObjectName(QStringLiteral("sizeButton%1").arg(i));
        m_sizes->addButton(button, i);
        if (i < 7)
            grid->addWidget(button, 1, i);
        else
            grid->addWidget(button, 3, i - 7);
    }
    return group;
}

void CFontTagDlg::paintPreview(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, QColor(0xC0, 0xC0, 0xC0));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(fontPreviewPoints(m_sizes->checkedId()));
    const int value = m_color->colorValue();
    const QColor color = value == kNoColor ? QColor(Qt::black) : colorFromValue(value);
    DialogLayout::drawPreviewText(painter, rect, font, color, 0);
}

void CFontTagDlg::accept()
{
    const WrapTexts texts =
        fontTexts(m_sizes->checkedId(), m_color->GetColorName(), hexColorOption());
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
