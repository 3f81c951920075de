#include "dialogs/html/sample_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace SamplePictures {
namespace {

const QSize kImageCanvas(150, 96);
const QSize kListCanvas(150, 84);
const QSize kTableCanvas(150, 96);
const QColor kGreyText(0xB4, 0xB4, 0xB4);
const QColor kBlackText(0x20, 0x20, 0x20);
constexpr int kLineHeight = 3;
constexpr int kMargin = 8;

// A canvas at the screen's pixel ratio, painted white, with a painter on it.
struct Canvas
{
    explicit Canvas(QSize size) : pixmap(size * ratio())
    {
        pixmap.setDevicePixelRatio(ratio());
        pixmap.fill(Qt::white);
        painter.begin(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
    }
    static qreal ratio() { return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0; }
    QPixmap finish()
    {
        painter.end();
        return pixmap;
    }

    QPixmap pixmap;
    QPainter painter;
};

// A line of "words" from x to right at height y.
void textLine(QPainter& p, int x, int right, int y, const QColor& color, int seed = 0)
{
    static const int words[] = {14, 9, 18, 7, 12, 16, 10, 6, 13, 8};
    int i = seed;
    while (x < right) {
        const int w = qMin(words[i % 10], right - x);
        if (w >= 3)
            p.fillRect(QRect(x, y, w, kLineHeight), color);
        x += w + 3;
        ++i;
    }
}

// A small landscape picture: sky, sun, hills, framed.
void landscape(QPainter& p, const QRect& r)
{
    p.save();
    p.fillRect(r, QColor(0x9C, 0xD3, 0xF5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF5, 0xC5, 0x18));
    p.drawEllipse(QPointF(r.right() - r.width() * 0.28, r.top() + r.height() * 0.3),
                  r.height() * 0.14, r.height() * 0.14);
    QPainterPath hills;
    hills.moveTo(r.left(), r.bottom() + 1);
    hills.lineTo(r.left(), r.top() + r.height() * 0.7);
    hills.quadTo(r.left() + r.width() * 0.3, r.top() + r.height() * 0.35,
                 r.left() + r.width() * 0.6, r.top() + r.height() * 0.72);
    hills.quadTo(r.left() + r.width() * 0.8, r.top() + r.height() * 0.6, r.right() + 1,
                 r.top() + r.height() * 0.68);
    hills.lineTo(r.right() + 1, r.bottom() + 1);
    hills.closeSubpath();
    p.setBrush(QColor(0x4C, 0xA6, 0x4C));
    p.drawPath(hills);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

// A small table of 3 by 3 cells with a shaded first row.
void sampleTable(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int rows = 3;
    const int cols = 3;
    const int cw = r.width() / cols;
    const int ch = r.height() / rows;
    p.fillRect(QRect(r.left(), r.top(), cw * cols, ch), QColor(0xDD, 0xE6, 0xF4));
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    for (int row = 0; row <= rows; ++row)
        p.drawLine(r.left(), r.top() + row * ch, r.left() + cw * cols, r.top() + row * ch);
    for (int col = 0; col <= cols; ++col)
        p.drawLine(r.left() + col * cw, r.top(), r.left() + col * cw, r.top() + ch * rows);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const int x = r.left() + col * cw + 4;
            p.fillRect(QRect(x, r.top() + row * ch + ch / 2 - 1, cw - 9, 2),
                       row == 0 ? kBlackText : QColor(0x80, 0x80, 0x80));
        }
    }
    p.restore();
}

// Lines flowing beside a block at blockRect, the block on the left or right.
void flowingLines(QPainter& p, const QRect& block, int width, bool blockOnLeft, int firstY,
                  int lastY)
{
    const int gap = 6;
    int seed = 1;
    for (int y = firstY; y <= lastY; y += 7) {
        const bool beside = y + kLineHeight > block.top() && y < block.bottom() + 1;
        int left = kMargin;
        int right = width - kMargin;
        if (beside && blockOnLeft)
            left = block.right() + 1 + gap;
        else if (beside)
            right = block.left() - gap;
        textLine(p, left, right, y, kBlackText, seed++);
    }
}

QFont sampleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    return font;
}

QString romanNumber(int n, bool upper)
{
    static const char* const romans[] = {"i", "ii", "iii", "iv"};
    const QString s = QLatin1String(romans[n - 1]);
    return upper ? s.toUpper() : s;
}

// The number or marker of item n (1-4).
void drawMarker(QPainter& p, int kind, int marker, int numbering, int n, const QRect& slot)
{
    if (kind == 0) {
        const QPointF c(slot.right() - 4, slot.center().y() + 0.5);
        p.save();
        p.setPen(QPen(kBlackText, 1));
        if (marker == 0) {
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(c, 2.5, 2.5);
        } else if (marker == 1) {
            p.setBrush(kBlackText);
            p.drawRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5));
        } else {
            p.setBrush(kBlackText);
            p.drawEllipse(c, 2.5, 2.5);
        }
        p.restore();
        return;
    }
    QString label;
    switch (numbering) {
    case 1:
        label = romanNumber(n, true);
        break;
    case 2:
        label = romanNumber(n, false);
        break;
    case 3:
        label = QChar(QLatin1Char('A').unicode() + n - 1);
        break;
    case 4:
        label = QChar(QLatin1Char('a').unicode() + n - 1);
        break;
    default:
        label = QString::number(n);
        break;
    }
    p.drawText(slot, Qt::AlignRight | Qt::AlignVCenter, label + QLatin1Char('.'));
}

} // namespace

QPixmap imageAlignment(int alignment)
{
    Canvas canvas(kImageCanvas);
    QPainter& p = canvas.painter;
    const int w = kImageCanvas.width();
    const QSize picture(40, 32);

    if (alignment == 4 || alignment == 5) {
        const int top = 20;
        const int x = alignment == 4 ? kMargin : w - kMargin - picture.width();
        const QRect block(QPoint(x, top), picture);
        textLine(p, kMargin, w - kMargin, 8, kGreyText);
        flowingLines(p, block, w, alignment == 4, top, top + 7 * 7);
        landscape(p, block);
        return canvas.finish();
    }

    const int top = 24;
    const QRect block(QPoint(kMargin + 12, top), picture);
    textLine(p, kMargin, w - kMargin, 10, kGreyText);
    landscape(p, block);
    if (alignment >= 1 && alignment <= 3) {
        const int y = alignment == 1   ? block.top()
                      : alignment == 2 ? block.center().y() - 1
                                       : block.bottom() - kLineHeight + 1;
        textLine(p, block.right() + 5, w - kMargin, y, kBlackText, 2);
    }
    textLine(p, kMargin, w - kMargin, block.bottom() + 12, kGreyText, 4);
    textLine(p, kMargin, w - 40, block.bottom() + 19, kGreyText, 6);
    return canvas.finish();
}

QPixmap list(int kind, int marker, int numbering)
{
    Canvas canvas(kListCanvas);
    QPainter& p = canvas.painter;
    p.setFont(sampleFont());
    p.setPen(kBlackText);
    static const char* const lines[] = {"This is 1st line.", "This is 2nd line.",
                                        "This is 3rd line.", "This is 4th line."};
    const int lineHeight = 16;
    const int top = 10;
    for (int n = 1; n <= 4; ++n) {
        const QRect row(kMargin, top + (n - 1) * lineHeight, kListCanvas.width() - kMargin, 14);
        if (kind == 2) {
            const int indent = n % 2 == 0 ? 22 : 0;
            p.drawText(row.adjusted(indent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QLatin1String(lines[n - 1]));
            continue;
        }
        const QRect slot(row.left(), row.top(), 26, row.height());
        drawMarker(p, kind, marker, numbering, n, slot);
        p.drawText(row.adjusted(slot.width() + 5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   QLatin1String(lines[n - 1]));
    }
    return canvas.finish();
}

QPixmap tablePlacement(int placement)
{
    Canvas canvas(kTableCanvas);
    QPainter& p = canvas.painter;
    const int w = kTableCanvas.width();
    const QSize table(58, 33);

    if (placement == 1 || placement == 2) {
        const int top = 20;
        const int x = placement == 1 ? kMargin : w - kMargin - table.width();
        const QRect block(QPoint(x, top), table);
        textLine(p, kMargin, w - kMargin, 8, kGreyText);
        flowingLines(p, block, w, placement == 1, top, top + 7 * 7);
        sampleTable(p, block);
        return canvas.finish();
    }

    const QRect block(QPoint((w - table.width()) / 2, 24), table);
    textLine(p, kMargin, w - kMargin, 10, kGreyText);
    sampleTable(p, block);
    textLine(p, kMargin, w - kMargin, block.bottom() + 12, kGreyText, 4);
    textLine(p, kMargin, w - 40, block.bottom() + 19, kGreyText, 6);
    return canvas.finish();
}

} // namespace SamplePictures
