// The tag colouring scan: scanning a text in pieces gives the same styles as
// scanning it whole, and every tag run starts at `<` and ends at `>`.

#include "editor/rules/tag_scan.h"
#include "fuzz_support.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const int pieces = 1 + input.number(8);
    const QByteArray text = input.rest();
    const qint64 n = text.size();

    std::vector<char> whole(size_t(n), '?');
    TagScan::styleRange(text.constData(), n, [&](qint64 start, const char* styles, qint64 length) {
        std::copy(styles, styles + length, whole.begin() + start);
    });
    for (qint64 i = 0; i < n; ++i)
        FUZZ_CHECK(whole[size_t(i)] >= TagScan::Default && whole[size_t(i)] <= TagScan::Quote,
                   text);

    // The same text in pieces: every run reported is a finished one and lies
    // where the whole scan put it.
    TagScan::Scanner scanner;
    qint64 previousEnd = 0;
    for (int k = 1; k <= pieces; ++k) {
        const qint64 from = n * (k - 1) / pieces;
        const qint64 to = n * k / pieces;
        scanner.scan(text.constData(), from, to, [&](qint64 s, qint64 e, char style) {
            FUZZ_CHECK(s >= previousEnd && e > s && e <= to, text);
            for (qint64 i = s; i < e; ++i)
                FUZZ_CHECK(whole[size_t(i)] == style, text);
            if (style == TagScan::Quote)
                FUZZ_CHECK(text[s] == '"' && text[e - 1] == '"', text);
            previousEnd = e;
        });
        FUZZ_CHECK(scanner.settledUpTo(to) <= to, text);
    }
    return 0;
}
