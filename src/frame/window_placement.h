#pragma once

#include <QRect>
#include <QString>

class QWidget;

// The main window's placement as stored in "WindowPos": ten numbers
// "flags,showCmd,minX,minY,maxX,maxY,left,top,right,bottom". Flags 2 means
// "restore to maximised"; show commands are 1 normal, 2 minimised,
// 3 maximised; the rectangle is the window's normal (restored) rectangle.
struct WindowPlacement
{
    unsigned flags = 0;
    unsigned showCmd = 1;
    int minX = -1, minY = -1, maxX = -1, maxY = -1;
    QRect normal;

    // False (and nothing changed) unless text holds exactly ten numbers.
    static bool parse(const QString& text, WindowPlacement& out);
    QString toString() const;

    static WindowPlacement of(const QWidget* window);
    // Where a window with no stored placement opens: three quarters of the
    // screen's free area in each direction, centred in it.
    static QRect defaultRect(const QRect& available);
    // Sets the normal rectangle and shows the window by the show command.
    void applyTo(QWidget* window) const;
};
