#include "widgets/dialog_layout.h"

#include "widgets/preview_frame.h"
#include "widgets/spin_edit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace DialogLayout {

CSpinEdit* spinEdit(const QString& objectName, int minimum, int maximum, QWidget* parent)
{
    auto* edit = new CSpinEdit(parent);
    edit->setObjectName(objectName);
    edit->setRange(minimum, maximum);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 28);
    return edit;
}

QLabel* buddyLabel(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QDialogButtonBox* okCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QGroupBox* previewGroup(CPreviewFrame* preview, QWidget* parent)
{
    auto* group = new QGroupBox(QStringLiteral("プレビュー"), parent);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(preview);
    return group;
}

int previewAlignedX(int left, int right, int w, int align)
{
    if (align == 1)
        return left + 5;
    if (align == 3)
        return right - w - 5;
    return left + (right - left) / 2 - w / 2;
}

QString previewSample()
{
    return QStringLiteral("Aaあぁアァ亜宇");
}

void drawPreviewText(QPainter& painter, const QRect& rect, const QFont& font, const QColor& color,
                     int align)
{
    const QString text = previewSample();
    const QFontMetrics metrics(font, painter.device());
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    const int x = previewAlignedX(rect.left(), rightEdge(rect), w, align);
    const int y = rect.top() + rect.height() / 2 - h / 2;
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

} // namespace DialogLayout
