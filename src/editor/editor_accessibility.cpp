#include "editor/editor_accessibility.h"

#include "editor/control_text.h"

#include <Qsci/qsciscintillabase.h>

#include <QAccessibleWidget>

namespace {

// The editor as an editable text to assistive technology: its role, and the
// text of the line with the caret as its value (computed on request only).
class EditorAccessible : public QAccessibleWidget
{
public:
    explicit EditorAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        auto* sb = static_cast<QsciScintillaBase*>(widget());
        const long pos = sb->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
        const long line = sb->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, pos);
        const long start = sb->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
        const long end = sb->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
        const QByteArrayView lineText = ControlText::range(*sb, start, end);
        return QString::fromUtf8(lineText.data(), lineText.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.multiLine = true;
        return s;
    }
};

QAccessibleInterface* editorFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QsciScintillaBase") && object && object->isWidgetType())
        return new EditorAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

namespace EditorAccessibility {

void install()
{
    // QScintilla installs its own factory when its first widget is created;
    // the factory installed last is asked first, so ours goes in afterwards.
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(editorFactory);
}

} // namespace EditorAccessibility
