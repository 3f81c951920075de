// Renders the program's images for committing and for review:
//   render_icons app SVG OUTDIR   the program icon as OUTDIR/marquill-<size>.png
//   render_icons sheet OUT.png    every toolbar icon at 16 px, 32 px (2x) and
//                                 16 px disabled, one cell per button row
// Built on demand (target render_icons) by scripts/render-icons.sh.

#include "resources/command_table.h"
#include "resources/icons.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int renderProgramIcon(const QString& svgPath, const QString& outDir)
{
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(svgPath));
        return 1;
    }
    QDir().mkpath(outDir);
    for (int size : Resources::programIconSizes()) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        renderer.render(&p);
        p.end();
        const QString out = QDir(outDir).filePath(QStringLiteral("marquill-%1.png").arg(size));
        if (!image.save(out)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}

// The pixmap an icon gives at 16 logical pixels and the ratio, drawn 1:1.
QImage iconImage(const QIcon& icon, qreal ratio, QIcon::Mode mode)
{
    QImage image = icon.pixmap(QSize(16, 16), ratio, mode).toImage();
    image.setDevicePixelRatio(1);
    return image;
}

int renderSheet(const QString& out)
{
    const auto& buttons = Resources::toolbarButtons();
    const int columns = 6, cellW = 112, cellH = 44;
    const int rows = int((buttons.size() + columns - 1) / columns);
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    for (const auto& button : buttons) {
        const int x = (button.row % columns) * cellW, y = (button.row / columns) * cellH;
        const QIcon icon = Resources::toolbarIcon(button.commandId);
        p.setPen(QColor(0x70, 0x70, 0x70));
        p.drawText(QRect(x + 2, y + 2, 30, 12), Qt::AlignLeft, QString::number(button.row));
        p.drawText(QRect(x + 2, y + 16, 30, 12), Qt::AlignLeft, QString::number(button.commandId));
        p.drawImage(x + 34, y + 14, iconImage(icon, 1, QIcon::Normal));
        p.drawImage(x + 56, y + 6, iconImage(icon, 2, QIcon::Normal));
        p.drawImage(x + 92, y + 14, iconImage(icon, 1, QIcon::Disabled));
        p.setPen(QColor(0xd8, 0xd8, 0xd8));
        p.drawRect(x, y, cellW - 1, cellH - 1);
    }
    p.end();
    return sheet.save(out) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // its style draws the disabled images
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("app"))
        return renderProgramIcon(args[2], args[3]);
    if (args.size() == 3 && args[1] == QLatin1String("sheet"))
        return renderSheet(args[2]);
    std::fprintf(stderr, "usage: render_icons app SVG OUTDIR | sheet OUT.png\n");
    return 2;
}
