// The matching tag: a partner is a name of the same bytes (ASCII case aside)
// elsewhere in the text, the caret lies in the name it starts from, and the
// partner's partner is that name again.

#include "editor/rules/matching_tag.h"
#include "fuzz_support.h"

namespace {
bool sameName(QByteArrayView a, QByteArrayView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const int high = input.number(256);
    const int low = input.number(256);
    const QByteArray text = input.rest();
    const qint64 caret = (high * 256 + low) % (text.size() + 1);
    const MatchingTag::Match match = MatchingTag::find(text, caret);
    if (!match.found)
        return 0;
    const MatchingTag::Range name = match.name;
    const MatchingTag::Range partner = match.partner;
    FUZZ_CHECK(name.start <= caret && caret <= name.end && name.end <= text.size(), text);
    FUZZ_CHECK(partner.start >= 0 && partner.end <= text.size(), text);
    FUZZ_CHECK(partner.end <= name.start || name.end <= partner.start, text);
    const QByteArrayView nameBytes = QByteArrayView(text).sliced(name.start, name.end - name.start);
    const QByteArrayView partnerBytes =
        QByteArrayView(text).sliced(partner.start, partner.end - partner.start);
    FUZZ_CHECK(!nameBytes.isEmpty() && sameName(nameBytes, partnerBytes), text);
    const MatchingTag::Match back = MatchingTag::find(text, partner.start);
    FUZZ_CHECK(back.found && back.partner.start == name.start && back.partner.end == name.end,
               text);
    return 0;
}
