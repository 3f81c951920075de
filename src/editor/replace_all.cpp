#include "editor/replace_all.h"

#include <algorithm>

namespace ReplaceAll {

Plan plan(const FindMatch& first, qint64 initial, qint64 textLength, const Finder& find,
          bool wholeWord, const std::function<bool(qint64 pos)>& occurs)
{
    Plan result;
    result.matches.append(first);
    auto collect = [&](qint64 from, qint64 to) {
        for (FindMatch m; (m = find(from, to)).found(); from = m.end)
            result.matches.append(m);
    };
    if (initial > 0) {
        collect(first.end, textLength);
        collect(0, initial);
    } else {
        collect(first.end, textLength + initial);
    }

    if (wholeWord) {
        // The character before a search's range is the end of the previous
        // replacement, and a search that ends where the series began meets
        // the first replacement there.
        for (const FindMatch& m : std::as_const(result.matches)) {
            if (occurs(m.end))
                result.exact = false;
        }
        const qint64 whatLength = first.end - first.start;
        const bool replacedAtInitial =
            initial > 0 && std::any_of(result.matches.cbegin(), result.matches.cend(),
                                       [&](const FindMatch& m) { return m.start == initial; });
        if (replacedAtInitial && initial >= whatLength && occurs(initial - whatLength))
            result.exact = false;
    }
    return result;
}

Result build(QByteArrayView text, const QList<FindMatch>& matches, QByteArrayView replacement)
{
    Result result;
    if (matches.isEmpty())
        return result;
    QList<FindMatch> sorted = matches;
    std::sort(sorted.begin(), sorted.end(),
              [](const FindMatch& a, const FindMatch& b) { return a.start < b.start; });
    result.spanStart = sorted.first().start;
    result.spanEnd = sorted.last().end;

    qint64 removed = 0;
    for (const FindMatch& m : std::as_const(sorted))
        removed += m.end - m.start;
    result.replaced.reserve(result.spanEnd - result.spanStart - removed +
                            replacement.size() * sorted.size());

    const FindMatch last = matches.last();
    qint64 pos = result.spanStart;
    for (const FindMatch& m : std::as_const(sorted)) {
        result.replaced.append(text.sliced(pos, m.start - pos));
        result.replaced.append(replacement);
        if (m.start == last.start)
            result.caret = result.spanStart + result.replaced.size();
        pos = m.end;
    }
    return result;
}

} // namespace ReplaceAll
