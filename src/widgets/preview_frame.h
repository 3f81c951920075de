#pragma once

#include <QFrame>
#include <functional>

// The framed area in which a dialog draws a live preview of its element.
// The owner supplies the painting; it receives the frame's inner rectangle
// (the frame's rectangle shrunk by one pixel on every side).
class CPreviewFrame : public QFrame
{
    Q_OBJECT

public:
    using Painter = std::function<void(QPainter& painter, const QRect& rect)>;

    explicit CPreviewFrame(QWidget* parent = nullptr);
    void setPainter(Painter painter) { m_painter = std::move(painter); }

    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter m_painter;
};
