#pragma once

#include <QProxyStyle>

// The drawing of the toolbars, their buttons and separators. While the
// options Flatbar and OwnerDraw are both on (read at every paint and
// layout), a docked toolbar gets a gripper of two raised ridges with 4 more
// pixels for it, every separator is drawn as a shadow line beside a
// highlight line, and a checked button gets a sunken frame. Otherwise the
// application's style draws everything.
class CFlatToolBarStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // The one instance, shared by every toolbar, owned by the application.
    static CFlatToolBarStyle* instance();

    // Whether the toolbars draw their own gripper, separators and check marks.
    static bool ownDrawing();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;

    // Extra room of the own gripper, in pixels.
    static constexpr int kGripperExtra = 4;

private:
    explicit CFlatToolBarStyle(QStyle* base);
};
