// Relative references: a target below the base folder loses the base, every
// other result climbs with "../" only, and no character is ever cut in two.

#include "document/relative_reference.h"
#include "fuzz_support.h"

namespace {
bool wholeCharacters(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() &&
            (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate()))
            return false;
        if (text.at(i).isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate()))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const QByteArray detail(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString base = QString::fromUtf8(input.piece());
    const QString target = QString::fromUtf8(input.rest());
    const QString reference = relativeReference(base, target);
    if (base.isEmpty() || target.isEmpty()) {
        FUZZ_CHECK(reference.isEmpty(), detail);
        return 0;
    }
    if (base.endsWith(QLatin1Char('/')) && target.startsWith(base))
        FUZZ_CHECK(reference == target.mid(base.size()), detail);
    if (wholeCharacters(base) && wholeCharacters(target))
        FUZZ_CHECK(wholeCharacters(reference), detail);
    FUZZ_CHECK(target.endsWith(reference.mid(reference.lastIndexOf(QLatin1String("../")) + 3)),
               detail);
    return 0;
}
