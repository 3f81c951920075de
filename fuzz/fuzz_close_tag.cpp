// The close-tag search: whatever the text and caret, the name it returns is
// an upper-cased name without blanks that the search does not ignore, and it
// stands in the text before the caret.

#include "editor/rules/close_tag.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const int caretFromEnd = input.number(64) - 8;
    const QByteArray text = input.rest();
    const qint64 caret = text.size() - caretFromEnd;
    const QByteArray name = lastUnclosedTag(text, caret);
    if (name.isEmpty())
        return 0;
    FUZZ_CHECK(!name.contains(' ') && !isUnclosedTagIgnored(name), text);
    for (const char c : name)
        FUZZ_CHECK(c < 'a' || c > 'z', text);
    FUZZ_CHECK(text.left(qMax<qint64>(caret, 0)).toUpper().contains("<" + name), text);
    return 0;
}
