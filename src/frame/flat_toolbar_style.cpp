#include "frame/flat_toolbar_style.h"

#include "core/options.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>

namespace {

// A rectangle's top and left edges in one colour, its bottom and right edges
// in another, one pixel wide.
void draw3dRect(QPainter* painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    painter->fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    painter->fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    painter->fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
    painter->restore();
}

const QToolBar* dockedToolBar(const QWidget* widget)
{
    const auto* bar = qobject_cast<const QToolBar*>(widget);
    return bar && !bar->isFloating() ? bar : nullptr;
}

} // namespace

CFlatToolBarStyle::CFlatToolBarStyle(QStyle* base) : QProxyStyle(base) {}

CFlatToolBarStyle* CFlatToolBarStyle::instance()
{
    static QPointer<CFlatToolBarStyle> style;
    if (!style) {
        style = new CFlatToolBarStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

bool CFlatToolBarStyle::ownDrawing()
{
    return Options::kFlatbar.read() != 0 && Options::kOwnerDraw.read() != 0;
}

int CFlatToolBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ToolBarHandleExtent && dockedToolBar(widget) && ownDrawing())
        return qMax(base, 7) + kGripperExtra;
    return base;
}

void CFlatToolBarStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const
{
    if (element == PE_IndicatorToolBarHandle && dockedToolBar(widget) && ownDrawing()) {
        // Two ridges across the bar at its leading edge.
        const QColor light = option->palette.color(QPalette::Light);
        const QColor shadow = option->palette.color(QPalette::Dark);
        const QRect bar = widget->rect();
        const bool horizontal = option->state & State_Horizontal;
        for (int at : {3, 7}) {
            const QRect ridge =
                horizontal ? QRect(at, 3, 3, bar.height() - 6) : QRect(3, at, bar.width() - 6, 3);
            draw3dRect(painter, ridge, light, shadow);
        }
        return;
    }
    if (element == PE_IndicatorToolBarSeparator && ownDrawing()) {
        // A separator of a horizontal bar is a vertical line pair, and the
        // other way round.
        const QRect& r = option->rect;
        const QColor light = option->palette.color(QPalette::Light);
        const QColor shadow = option->palette.color(QPalette::Dark);
        if (option->state & State_Horizontal) {
            const int x = r.left() + r.width() / 2;
            painter->fillRect(x, r.top(), 1, r.height(), shadow);
            painter->fillRect(x + 1, r.top(), 1, r.height(), light);
        } else {
            const int y = r.top() + r.height() / 2;
            painter->fillRect(r.left(), y, r.width(), 1, shadow);
            painter->fillRect(r.left(), y + 1, r.width(), 1, light);
        }
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void CFlatToolBarStyle::drawComplexControl(ComplexControl control,
                                           const QStyleOptionComplex* option, QPainter* painter,
                                           const QWidget* widget) const
{
    const auto* toolButton = qstyleoption_cast<const QStyleOptionToolButton*>(option);
    if (control != CC_ToolButton || !toolButton) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // A button that opens a menu shows no arrow over its image.
    QStyleOptionToolButton button = *toolButton;
    if (!(button.features & QStyleOptionToolButton::MenuButtonPopup))
        button.features &= ~QStyleOptionToolButton::HasMenu;
    QProxyStyle::drawComplexControl(control, &button, painter, widget);
    if ((option->state & State_On) && ownDrawing())
        draw3dRect(painter, option->rect, option->palette.color(QPalette::Dark),
                   option->palette.color(QPalette::Light));
}
