#include "dialogs/rule_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/element_html.h"
#include "widgets/alignment_combo.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"
#include "widgets/preview_frame.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr StringSetting kSize{HistorySection::HorizonBar, "Size", "2"};
constexpr StringSetting kWidth{HistorySection::HorizonBar, "Width", "100"};
constexpr IntSetting k3D{HistorySection::HorizonBar, "3D", 1};
constexpr IntSetting kPercent{HistorySection::HorizonBar, "Percent", 1};
constexpr IntSetting kAlign{HistorySection::HorizonBar, "Align", 0};

constexpr int kPercentUnit = 1;

// A horizontal or vertical line from (x1, y1) up to, not including, (x2, y2),
// as the preview's geometry counts its segments.
void drawSegment(QPainter& painter, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2)
        return;
    const int endX = x2 - (x2 > x1) + (x2 < x1);
    const int endY = y2 - (y2 > y1) + (y2 < y1);
    painter.drawLine(x1, y1, endX, endY);
}

void selectIndex(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}
} // namespace

CRuleDlg::CRuleDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("水平線-属性あり"));

    m_height = new CSpinEdit(this);
    m_height->setObjectName(QStringLiteral("heightEdit"));
    m_width = new CSpinEdit(this);
    m_width->setObjectName(QStringLiteral("widthEdit"));
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("unitCombo"));
    m_unit->addItems({QStringLiteral("ピクセル"), QStringLiteral("% (ウィンドウに対して)")});
    m_align = createAlignmentCombo(this);
    m_3d = new QCheckBox(QStringLiteral("3D 表示(&D)"), this);
    m_3d->setObjectName(QStringLiteral("shadeCheck"));

    auto* grid = new QGridLayout;
    const auto addRow = [this, grid](int row, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(0, QStringLiteral("高さ(&H) :"), m_height);
    addRow(1, QStringLiteral("幅(&W) :"), m_width);
    grid->addWidget(m_unit, 1, 2);
    addRow(2, QStringLiteral("配置(&A) :"), m_align);
    grid->addWidget(m_3d, 3, 1, 1, 2);
    grid->setColumnStretch(3, 1);

    m_preview = new CPreviewFrame(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(340, 70);
    m_preview->setPainter([this](QPainter& p, const QRect& r) { paintPreview(p, r); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(DialogLayout::previewGroup(m_preview, this));
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_height->setText(kSize.read());
    m_width->setText(kWidth.read());
    m_3d->setChecked(k3D.read() != 0);
    selectIndex(m_unit, kPercent.read());
    selectIndex(m_align, kAlign.read());
    // The width range follows the unit the dialog opens with, as the
    // remembered width was typed for it.
    m_height->setRange(1, 999);
    m_width->setRange(1, m_unit->currentIndex() == kPercentUnit ? 100 : 9999);

    const auto refresh = [this] { m_preview->update(); };
    connect(m_3d, &QCheckBox::clicked, m_preview, refresh);
    connect(m_height, &CSpinEdit::textChanged, m_preview, refresh);
    connect(m_width, &CSpinEdit::textChanged, m_preview, refresh);
    connect(m_align, &QComboBox::currentIndexChanged, m_preview, refresh);
    connect(m_unit, &QComboBox::currentIndexChanged, m_preview, refresh);
}

RuleChoice CRuleDlg::choice() const
{
    RuleChoice c;
    c.height = m_height->text();
    c.width = m_width->text();
    c.percent = m_unit->currentIndex() == kPercentUnit;
    c.align = m_align->currentIndex();
    c.shaded = m_3d->isChecked();
    return c;
}

void CRuleDlg::paintPreview(QPainter& painter, const QRect& rect)
{
    painter.fillRect(rect, QColor(0xC0, 0xC0, 0xC0));
    const RulePreviewBar bar =
        rulePreviewBar(rect.left(), rect.top(), DialogLayout::rightEdge(rect),
                       DialogLayout::bottomEdge(rect), choice());
    if (bar.tooLarge) {
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPointSize(9);
        const QString notice = QStringLiteral("Too Large to Preview.");
        const QFontMetrics metrics(font, painter.device());
        const int w = metrics.horizontalAdvance(notice);
        const int x = rect.left() + rect.width() / 2 - w / 2;
        const int y = rect.top() + rect.height() / 2 - metrics.height() / 2;
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x, y + metrics.ascent()), notice);
        return;
    }
    const int x = bar.x;
    const int y = bar.y;
    const int w = bar.width;
    const int h = bar.height;
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor grey(0x90, 0x90, 0x90);
    if (m_3d->isChecked()) {
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        drawSegment(painter, x, y + h, x + w, y + h);
        drawSegment(painter, x + w, y + h, x + w, y);
        painter.setPen(grey);
        drawSegment(painter, x, y + h, x, y);
        drawSegment(painter, x, y, x + w, y);
    } else {
        painter.setPen(grey);
        for (int i = 0; i < h; ++i)
            drawSegment(painter, x, y + i, x + w, y + i);
    }
}

void CRuleDlg::accept()
{
    const RuleChoice c = choice();
    writeProfileValues({kSize.with(c.height), kWidth.with(c.width),
                        kPercent.with(m_unit->currentIndex()), k3D.with(m_3d->isChecked() ? 1 : 0),
                        kAlign.with(c.align)});
    m_text = ruleText(c);
    QDialog::accept();
}
