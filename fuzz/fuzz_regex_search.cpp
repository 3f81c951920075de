// Regular-expression search and replace over any bytes. Positions map
// between the bytes and UTF-16 to character starts and back; replace-all
// edits lie in order, apart, on character starts and never inside a CR LF;
// on valid UTF-8 its result is what QString's own replace gives with the
// same expression; a find next lands at or after its start.

#include "document/utf16_text.h"
#include "editor/rules/regex_pattern.h"
#include "editor/rules/regex_replacement.h"
#include "editor/rules/regex_search.h"
#include "fuzz_support.h"

#include <QRegularExpression>

namespace {

bool insideCrLf(const QByteArray& text, qint64 pos)
{
    return pos > 0 && pos < text.size() && text[pos - 1] == '\r' && text[pos] == '\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const QByteArray detail(reinterpret_cast<const char*>(data), qsizetype(size));
    const RegexOptions options{input.flag(), input.flag()};
    const int from = input.number(64);
    const QString pattern = QString::fromUtf8(input.piece());
    // Without backslashes the replacement is literal for QString::replace too.
    const QString replacement = QString::fromUtf8(input.piece()).remove(QLatin1Char('\\'));
    const QByteArray text = input.rest();

    const CUtf16Text utf16(text);
    for (qint64 pos = 0; pos <= text.size(); ++pos) {
        const qint64 start = utf16.byteOfIndex(utf16.indexOfByte(pos));
        FUZZ_CHECK(start >= pos && start <= text.size(), detail);
        FUZZ_CHECK(utf16.indexOfByte(start) == utf16.indexOfByte(pos), detail);
    }

    const CRegexPattern compiled(pattern, options);
    if (!compiled.isValid()) {
        FUZZ_CHECK(!compiled.errorMessage().isEmpty(), detail);
        return 0;
    }
    const CRegexReplacement parsed(replacement);
    const RegexSearch::Edits edits = RegexSearch::replaceAll(text, utf16, compiled, parsed);
    qint64 previousEnd = 0;
    for (const RegexSearch::Edit& edit : edits.edits) {
        FUZZ_CHECK(edit.start >= previousEnd && edit.end >= edit.start, detail);
        FUZZ_CHECK(edit.end <= text.size(), detail);
        for (const qint64 pos : {edit.start, edit.end}) {
            FUZZ_CHECK(utf16.byteOfIndex(utf16.indexOfByte(pos)) == pos, detail);
            FUZZ_CHECK(!insideCrLf(text, pos), detail);
        }
        previousEnd = edit.end;
    }
    if (QByteArrayView(text).isValidUtf8()) {
        const QByteArray expected =
            QString::fromUtf8(text).replace(compiled.expression(), replacement).toUtf8();
        FUZZ_CHECK(RegexSearch::applied(text, edits) == expected, detail);
    }

    const RegexMatch match = RegexSearch::findNext(utf16, compiled, from, text.size());
    if (match.found())
        FUZZ_CHECK(match.start >= from && match.end >= match.start && match.end <= text.size(),
                   detail);
    return 0;
}
