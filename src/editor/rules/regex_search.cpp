#include "editor/rules/regex_search.h"

#include "document/regex_give_up.h"
#include "document/utf16_text.h"
#include "editor/rules/regex_pattern.h"
#include "editor/rules/regex_replacement.h"

#include <QRegularExpression>

namespace RegexSearch {
namespace {

// The match in bytes, with groups 0 to lastGroup.
RegexMatch toBytes(const CUtf16Text& text, const QRegularExpressionMatch& m, int lastGroup)
{
    RegexMatch match;
    match.start = text.byteOfIndex(m.capturedStart(0));
    match.end = text.byteOfIndex(m.capturedEnd(0));
    match.groups.reserve(2 * (lastGroup + 1));
    for (int g = 0; g <= lastGroup; ++g) {
        const qsizetype start = m.capturedStart(g);
        if (start < 0) {
            match.groups << -1 << -1;
            continue;
        }
        match.groups << text.byteOfIndex(start) << text.byteOfIndex(m.capturedEnd(g));
    }
    return match;
}

} // namespace

RegexMatch findNext(const CUtf16Text& text, const CRegexPattern& pattern, qint64 from, qint64 to,
                    bool skipEmptyAtFrom)
{
    if (!pattern.isValid() || from > to || from > text.byteSize())
        return {};
    const qsizetype first = text.indexOfByte(from);
    const qsizetype last = to >= text.byteSize() ? text.text().size() : text.indexOfByte(to);
    const bool emptyAtEnd = to >= text.byteSize();
    // The iterator retries after an empty match at the same place only for
    // a non-empty match, then moves on by a character (CR LF as one).
    QRegularExpressionMatchIterator it = pattern.expression().globalMatch(text.text(), first);
    qsizetype start = -1;
    qsizetype end = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        start = m.capturedStart(0);
        end = m.capturedEnd(0);
        if (start > last || (start == last && !(emptyAtEnd && end == start)))
            return {};
        if (skipEmptyAtFrom && start == first && end == start)
            continue;
        if (end > last)
            continue;
        return toBytes(text, m, pattern.captureCount());
    }
    RegexMatch none;
    none.failed = regexGaveUp(it, start, end, text.text().size());
    return none;
}

RegexMatch matchAt(const CUtf16Text& text, const CRegexPattern& pattern, qint64 start, qint64 end)
{
    if (!pattern.isValid() || start < 0 || end < start || end > text.byteSize())
        return {};
    const qsizetype first = text.indexOfByte(start);
    if (text.byteOfIndex(first) != start)
        return {};
    const QRegularExpressionMatch m =
        pattern.expression().match(text.text(), first, QRegularExpression::NormalMatch,
                                   QRegularExpression::AnchorAtOffsetMatchOption);
    if (!m.hasMatch() || text.byteOfIndex(m.capturedEnd(0)) != end)
        return {};
    return toBytes(text, m, pattern.captureCount());
}

QByteArray expand(QByteArrayView bytes, const RegexMatch& match,
                  const CRegexReplacement& replacement)
{
    QByteArray out;
    QList<qint64> bounds = match.groups;
    // Groups the match does not carry add nothing.
    while (bounds.size() < 2 * (replacement.highestGroup() + 1))
        bounds << -1 << -1;
    replacement.appendTo(out, bytes, bounds.constData());
    return out;
}

Edits replaceAll(QByteArrayView bytes, const CUtf16Text& text, const CRegexPattern& pattern,
                 const CRegexReplacement& replacement)
{
    Edits result;
    if (!pattern.isValid())
        return result;
    const int lastGroup = qMin(replacement.highestGroup(), pattern.captureCount());
    QList<qint64> bounds(2 * (qMax(replacement.highestGroup(), 0) + 1), -1);
    QRegularExpressionMatchIterator it = pattern.expression().globalMatch(text.text());
    qsizetype lastStart = -1;
    qsizetype lastEnd = -1;
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        lastStart = m.capturedStart(0);
        lastEnd = m.capturedEnd(0);
        const qint64 start = text.byteOfIndex(m.capturedStart(0));
        const qint64 end = text.byteOfIndex(m.capturedEnd(0));
        for (int g = 0; g <= lastGroup; ++g) {
            const qsizetype groupStart = g == 0 ? 0 : m.capturedStart(g);
            if (groupStart < 0) {
                bounds[2 * g] = bounds[2 * g + 1] = -1;
            } else if (g == 0) {
                bounds[0] = start;
                bounds[1] = end;
            } else {
                bounds[2 * g] = text.byteOfIndex(groupStart);
                bounds[2 * g + 1] = text.byteOfIndex(m.capturedEnd(g));
            }
        }
        const qsizetype before = result.replacements.size();
        replacement.appendTo(result.replacements, bytes, bounds.constData());
        result.edits.append({start, end, before, result.replacements.size() - before});
    }
    result.failed = regexGaveUp(it, lastStart, lastEnd, text.text().size());
    return result;
}

QByteArray applied(QByteArrayView bytes, const Edits& edits)
{
    QByteArray out;
    out.reserve(bytes.size() + edits.replacements.size());
    qint64 at = 0;
    for (const Edit& edit : edits.edits) {
        out.append(bytes.data() + at, edit.start - at);
        out.append(edits.replacements.constData() + edit.replacementStart, edit.replacementLength);
        at = edit.end;
    }
    out.append(bytes.data() + at, bytes.size() - at);
    return out;
}

} // namespace RegexSearch
