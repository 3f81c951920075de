#include "widgets/own_edit_keys.h"

#include <QKeyEvent>

bool keepOwnEditKeys(QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::SelectAll))
        return false;
    event->accept();
    return true;
}
