#include "widgets/color_combo_box.h"

#include "widgets/color_table.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kTextIndent = 20;

// Draws the list's items as swatch and name, 16 pixels high.
class ColorItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool highlighted = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        CColorComboBox::paintColorItem(*painter, option.rect, index.data(Qt::UserRole).toInt(),
                                       highlighted, option.palette);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int textWidth =
            option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return QSize(kTextIndent + textWidth + 4, CColorComboBox::itemHeight(option.fontMetrics));
    }
};

} // namespace

CColorComboBox::CColorComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setItemDelegate(new ColorItemDelegate(this));
    // A plain drop-down list of limited height rather than a popup that
    // covers the screen with all 139 colours.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(16);
    FillColors();
}

void CColorComboBox::FillColors()
{
    QSignalBlocker blocker(this);
    clear();
    for (int i = 0; i < kColorTableSize; ++i) {
        const ColorEntry& entry = colorEntry(i);
        addItem(QLatin1String(entry.name), entry.value);
    }
    blocker.unblock();
    setCurrentIndex(0);
}

void CColorComboBox::SelectColorName(const QString& name)
{
    for (int i = 0; i < kColorTableSize && i < count(); ++i) {
        if (name == QLatin1String(colorEntry(i).name)) {
            setCurrentIndex(i);
            return;
        }
    }
    setCurrentIndex(0);
}

int CColorComboBox::colorValue() const
{
    return currentIndex() < 0 ? kNoColor : currentData().toInt();
}

QString CColorComboBox::GetColorName() const
{
    const int value = colorValue();
    return value == kNoColor ? QString() : colorNameFromValue(value);
}

QString CColorComboBox::GetColorHex() const
{
    return colorHexFromValue(colorValue());
}

QSize CColorComboBox::sizeHint() const
{
    QSize size = QComboBox::sizeHint();
    size.rwidth() += kTextIndent;
    return size;
}

QSize CColorComboBox::minimumSizeHint() const
{
    QSize size = QComboBox::minimumSizeHint();
    size.rwidth() += kTextIndent;
    return size;
}

int CColorComboBox::itemHeight(const QFontMetrics& metrics)
{
    return qMax(kItemHeight, metrics.height() + 2);
}

void CColorComboBox::paintColorItem(QPainter& painter, const QRect& rect, int value,
                                    bool highlighted, const QPalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (highlighted) {
        painter.fillRect(rect, palette.color(QPalette::Highlight));
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    } else {
        painter.fillRect(rect, palette.color(QPalette::Base));
    }

    // A 14 x 14 square with a black frame, filled with the colour or, for no
    // colour, hatched with lines running down from left to right; in a row
    // taller than 16 pixels it stands in the middle.
    const int left = rect.left();
    const int top = rect.top() + qMax(0, rect.height() - kItemHeight) / 2;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(left + 1, top + 1, 13, 13));
    const QRect inner(left + 2, top + 2, 12, 12);
    if (value == kNoColor) {
        painter.fillRect(inner, Qt::white);
        painter.setBrushOrigin(inner.topLeft());
        painter.fillRect(inner, QBrush(Qt::black, Qt::FDiagPattern));
    } else {
        painter.fillRect(inner, colorFromValue(value));
    }

    // The name's line in the middle of the row: whole, and level with the
    // swatch.
    painter.setPen(highlighted ? Qt::white : Qt::black);
    const QRect textRect(left + kTextIndent, rect.top(), qMax(0, rect.right() - left - kTextIndent),
                         rect.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     colorNameFromValue(value));
    painter.restore();
}

void CColorComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    // The item fills the edit field, swatch and name centred in its height.
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setClipRect(field);
    paintColorItem(painter, field, colorValue(), hasFocus(), palette());
}
