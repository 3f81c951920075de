#pragma once

#include <QColor>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRect>

class CPreviewFrame;
class CSpinEdit;
class QLabel;
class QDialog;
class QFont;
class QPainter;
class QWidget;

// Pieces shared by the element dialogs' layouts and previews.
namespace DialogLayout {

// A number box with spin arrows over [minimum, maximum], wide enough for
// five digits; it still accepts any text typed into it.
CSpinEdit* spinEdit(const QString& objectName, int minimum, int maximum, QWidget* parent);

// A label whose mnemonic moves the focus to buddy.
QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent);

// OK and "キャンセル", connected to the dialog's accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

// The group box "プレビュー" holding a preview frame.
QGroupBox* previewGroup(CPreviewFrame* preview, QWidget* parent);

// The sample text of the font and heading previews.
QString previewSample();

// Draws the sample text in font and color on a transparent background,
// centred vertically and placed horizontally by alignment (previewAlignedX).
void drawPreviewText(QPainter& painter, const QRect& rect, const QFont& font, const QColor& color,
                     int align);

// The left edge of a preview item of width w inside [left, right): 5 pixels
// from the left edge for alignment 1, from the right edge for alignment 3,
// centred otherwise (none, centre, or no alignment chosen).
int previewAlignedX(int left, int right, int w, int align);

// The exclusive right and bottom edges, as the preview arithmetic counts them.
inline int rightEdge(const QRect& r)
{
    return r.left() + r.width();
}
inline int bottomEdge(const QRect& r)
{
    return r.top() + r.height();
}

} // namespace DialogLayout
