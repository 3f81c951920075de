// Auto-select: the range lies inside the text, holds the caret, and holds no
// `<` after its start nor `>` before its end.

#include "editor/rules/auto_select.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const int caretFromEnd = input.number(64) - 8;
    const QByteArray text = input.rest();
    const qint64 caret = text.size() - caretFromEnd;
    const AutoSelectRange range = autoSelectRange(text, caret);
    if (!range.found) {
        FUZZ_CHECK(text.isEmpty() || caret < 0 || caret >= text.size(), text);
        return 0;
    }
    FUZZ_CHECK(0 <= range.start && range.start <= range.end && range.end <= text.size(), text);
    FUZZ_CHECK(range.start <= caret && caret <= range.end, text);
    for (qint64 i = range.start + 1; i < range.end; ++i)
        FUZZ_CHECK(text[i] != '<', text);
    for (qint64 i = range.start; i + 1 < range.end; ++i)
        FUZZ_CHECK(text[i] != '>', text);
    return 0;
}
