#include "widgets/clipboard_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>

namespace ClipboardText {
namespace {

bool holdsText(const QClipboard* clipboard)
{
    const QMimeData* data = clipboard->mimeData();
    return data && data->hasText();
}

} // namespace

bool available()
{
    static bool text = [] {
        QClipboard* clipboard = QGuiApplication::clipboard();
        QObject::connect(clipboard, &QClipboard::dataChanged, clipboard,
                         [clipboard] { text = holdsText(clipboard); });
        return holdsText(clipboard);
    }();
    return text;
}

} // namespace ClipboardText
