#include "widgets/label_edit.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace {
// More than any edit or sample control can show.
constexpr qsizetype kShownLength = 1000;
} // namespace

CLabelEdit::CLabelEdit(QWidget* parent) : QLineEdit(parent) {}

void CLabelEdit::setHandedLabel(const QString& label)
{
    m_handed = label;
    // The edit shows a multi-line selection on one line; label() still
    // gives it back as it was.
    QString shown = label.left(kShownLength);
    shown.replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")), QStringLiteral(" "));
    setText(shown);
    setCursorPosition(0);
    setEnabled(label.isEmpty());
}

QString CLabelEdit::label() const
{
    return hasHandedLabel() ? m_handed : text();
}

QString CLabelEdit::sampleCaption(const QString& label, const QFontMetrics& metrics, int width)
{
    const qsizetype lineEnd = label.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    const QString firstLine = label.left(lineEnd < 0 ? kShownLength : qMin(lineEnd, kShownLength));
    QString caption = metrics.elidedText(firstLine, Qt::ElideRight, width);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption;
}
