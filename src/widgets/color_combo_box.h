#pragma once

#include <QComboBox>

class QPainter;

// A drop-down list of the colour table's colours, each drawn as a small
// swatch followed by its name; the first item, "not selected", stands for no
// colour. The list holds every table entry in table order, so an item's index
// is its table index; each item's data is its colour value.
class CColorComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit CColorComboBox(QWidget* parent = nullptr);

    // Refills the list with the whole table and selects "not selected".
    void FillColors();
    // Selects the entry named exactly name, or "not selected" when none is.
    void SelectColorName(const QString& name);
    // The selected colour's name; empty for "not selected" or no selection.
    QString GetColorName() const;
    // The selected colour as six lower-case hexadecimal digits (RRGGBB).
    QString GetColorHex() const;
    // The selected colour value, -1 for none.
    int colorValue() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Draws one item (swatch and name) into rect; highlighted items are drawn
    // in the selection colours. Shared by the list and the closed box.
    static void paintColorItem(QPainter& painter, const QRect& rect, int value, bool highlighted,
                               const QPalette& palette);

    // Items are 16 pixels high, or as high as a line of their font needs,
    // so that the name is never cut.
    static constexpr int kItemHeight = 16;
    static int itemHeight(const QFontMetrics& metrics);

protected:
    void paintEvent(QPaintEvent* event) override;
};
