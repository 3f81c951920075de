#include "dialogs/heading_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/element_html.h"
#include "widgets/alignment_combo.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"
#include "widgets/preview_frame.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr StringSetting kSize{HistorySection::Header, "Size", "2"};
constexpr IntSetting kAlign{HistorySection::Header, "Align", 0};
} // namespace

CHeadingDlg::CHeadingDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("見出し"));

    m_sizes = new QButtonGroup(this);
    auto* sizeRow = new QHBoxLayout;
    for (int i = 0; i < 6; ++i) {
        auto* button = new QRadioButton(QStringLiteral("&%1").arg(i + 1), this);
        button->setObjectName(QStringLiteral("sizeButton%1").arg(i));
        m_sizes->addButton(button, i);
        sizeRow->addWidget(button);
    }
    sizeRow->addStretch();

    m_align = createAlignmentCombo(this);
    auto* alignLabel = new QLabel(QStringLiteral("配置(&A) :"), this);
    alignLabel->setBuddy(m_align);
    auto* alignRow = new QHBoxLayout;
    alignRow->addWidget(alignLabel);
    alignRow->addWidget(m_align);
    alignRow->addStretch();

    m_preview = new CPreviewFrame(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(340, 70);
    m_preview->setPainter([this](QPainter& p, const QRect& r) { paintPreview(p, r); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("サイズ (最大 1 ～ 6 最小)"), this));
    layout->addLayout(sizeRow);
    layout->addLayout(alignRow);
    layout->addWidget(DialogLayout::previewGroup(m_preview, this));
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A remembered alignment outside the list leaves it without a selection.
    const int align = kAlign.read();
    m_align->setCurrentIndex(align >= 0 && align < m_align->count() ? align : -1);
    m_sizes->button(headingIndexFromStored(kSize.read()))->setChecked(true);

    connect(m_sizes, &QButtonGroup::idToggled, m_preview, [this] { m_preview->update(); });
    connect(m_align, &QComboBox::currentIndexChanged, m_preview, [this] { m_preview->update(); });
}

void CHeadingDlg::paintPreview(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, QColor(0xC0, 0xC0, 0xC0));
    const int level = m_sizes->checkedId() + 1;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSize(headingPreviewPoints(level));
    font.setWeight(QFont::Bold);
    DialogLayout::drawPreviewText(painter, rect, font, Qt::black, m_align->currentIndex());
}

void CHeadingDlg::accept()
{
    const int index = m_sizes->checkedId();
    const int align = m_align->currentIndex();
    writeProfileValues({kSize.with(QString::number(index)), kAlign.with(align)});
    const WrapTexts texts = headingTexts(index + 1, align);
    m_start = texts.start;
    m_end = texts.end;
    QDialog::accept();
}
