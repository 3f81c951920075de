#include "editor/rules/close_tag.h"

#include "editor/rules/code_page.h"

#include <QList>

namespace {

// Pending end-tag names; popping or peeking an empty stack yields "".
class NameStack
{
public:
    static constexpr int kCapacity = 255;

    void push(const QByteArray& name)
    {
        if (m_items.size() < kCapacity)
            m_items.append(name);
    }
    QByteArray top() const { return m_items.isEmpty() ? QByteArray() : m_items.last(); }
    void pop()
    {
        if (!m_items.isEmpty())
            m_items.removeLast();
    }

private:
    QList<QByteArray> m_items;
};

QByteArray tagName(QByteArrayView inner)
{
    const qint64 space = inner.indexOf(' ');
    return CodePage::toUpperAscii(space >= 0 ? inner.first(space) : inner);
}

} // namespace

bool isUnclosedTagIgnored(QByteArrayView upperName)
{
    static const char* const kIgnored[] = {"!--",   "BR", "DT",     "DD", "HR",    "IMG",
                                           "INPUT", "LI", "OPTION", "P",  "SELECT"};
    for (const char* name : kIgnored) {
        if (upperName == QByteArrayView(name))
            return true;
    }
    return false;
}

QByteArray lastUnclosedTag(QByteArrayView text, qint64 caret)
{
    NameStack stack;
    bool haveEnd = false;
    qint64 endIndex = 0;
    for (qint64 i = qMin(caret, text.size()) - 1; i >= 0; --i) {
        if (text[i] == '>') {
            haveEnd = true;
            endIndex = i;
            continue;
        }
        if (text[i] != '<' || !haveEnd)
            continue;
        haveEnd = false;
        const QByteArrayView inner = text.sliced(i + 1, endIndex - i - 1);
        if (inner.startsWith('/')) {
            stack.push(tagName(inner.sliced(1)));
            continue;
        }
        const QByteArray name = tagName(inner);
        // An empty name ("<>", "< x>") pairs with an empty end name like any
        // other; left open it is skipped, since "</>" would close nothing.
        if (name == stack.top()) {
            stack.pop();
            continue;
        }
        if (name.isEmpty() || isUnclosedTagIgnored(name))
            continue;
        return name;
    }
    return {};
}
