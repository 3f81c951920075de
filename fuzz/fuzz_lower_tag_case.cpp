// The lower-case rule changes nothing but ASCII capitals, keeps the length,
// and lowering twice is lowering once.

#include "editor/rules/lower_tag_case.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray lowered = LowerTagCase(text);
    FUZZ_CHECK(lowered.size() == text.size(), text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (lowered[i] != text[i])
            FUZZ_CHECK(text[i] >= 'A' && text[i] <= 'Z' && lowered[i] == text[i] + 32, text);
    }
    FUZZ_CHECK(LowerTagCase(lowered) == lowered, text);
    return 0;
}
