// Tag capture: the tags it finds are pieces of the selection from `<` to `>`
// with no `>` inside, a single tag only when first and last are the same.

#include "editor/rules/tag_capture.h"
#include "fuzz_support.h"

namespace {
void checkTag(const QByteArray& tag, const QByteArray& selection)
{
    FUZZ_CHECK(tag.size() >= 2 && tag.startsWith('<') && tag.endsWith('>'), selection);
    FUZZ_CHECK(tag.indexOf('>') == tag.size() - 1, selection);
    FUZZ_CHECK(selection.contains(tag), selection);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray selection(reinterpret_cast<const char*>(data), qsizetype(size));
    const TagCapture capture = captureTags(selection);
    switch (capture.kind) {
    case TagCapture::None:
        FUZZ_CHECK(capture.start.isEmpty() && capture.end.isEmpty(), selection);
        break;
    case TagCapture::Single:
        checkTag(capture.start, selection);
        break;
    case TagCapture::Pair:
        checkTag(capture.start, selection);
        checkTag(capture.end, selection);
        FUZZ_CHECK(capture.start != capture.end, selection);
        break;
    }
    return 0;
}
