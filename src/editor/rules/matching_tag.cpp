#include "editor/rules/matching_tag.h"

#include "editor/rules/tag_scan.h"

#include <QList>

namespace MatchingTag {
namespace {

bool isNameByte(char c)
{
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '\f':
    case '<':
    case '>':
    case '/':
    case '"':
    case '\'':
    case '=':
        return false;
    default:
        return true;
    }
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qint64 i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

// One tag as the search sees it.
struct Tag
{
    bool isEnd = false;
    bool selfClosing = false;
    Range name;
};

// The tag text[start, end): its kind and its name (empty when it has none).
Tag parseTag(QByteArrayView text, qint64 start, qint64 end)
{
    Tag tag;
    qint64 pos = start + 1;
    if (pos < end && text[pos] == '/') {
        tag.isEnd = true;
        ++pos;
    }
    qint64 nameEnd = pos;
    while (nameEnd < end && nameEnd - pos <= kLongestName && isNameByte(text[nameEnd]))
        ++nameEnd;
    if (nameEnd - pos <= kLongestName)
        tag.name = {pos, nameEnd};
    tag.selfClosing = !tag.isEnd && end - 2 > start && text[end - 2] == '/';
    return tag;
}

// Calls onTag(start, end) for every tag of text[from, to) outside comments,
// in text order, until onTag returns false.
template <typename OnTag> void forEachTag(QByteArrayView text, qint64 from, qint64 to, OnTag onTag)
{
    const QByteArrayView window = text.first(to);
    qint64 pos = from;
    bool going = true;
    while (going && pos < to) {
        const qint64 comment = window.indexOf("<!--", pos);
        const qint64 pieceEnd = comment < 0 ? to : comment;
        TagScan::Scanner scanner;
        scanner.scanTags(text.data(), pos, pieceEnd, [&](qint64 start, qint64 end) {
            going = onTag(start, end);
            return going;
        });
        if (comment < 0)
            break;
        const qint64 close = window.indexOf("-->", comment + 4);
        if (close < 0)
            break;
        pos = close + 3;
    }
}

} // namespace

Range nameAt(QByteArrayView text, qint64 caret)
{
    if (caret < 0 || caret > text.size())
        return {};
    qint64 start = caret;
    while (start > 0 && caret - start <= kLongestName && isNameByte(text[start - 1]))
        --start;
    const bool afterOpen = start >= 1 && text[start - 1] == '<';
    const bool afterEndOpen = start >= 2 && text[start - 1] == '/' && text[start - 2] == '<';
    if (!afterOpen && !afterEndOpen)
        return {};
    qint64 end = caret;
    while (end < text.size() && end - start <= kLongestName && isNameByte(text[end]))
        ++end;
    if (end == start || end - start > kLongestName || text[start] == '!' || text[start] == '?')
        return {};
    return {start, end};
}

Match find(QByteArrayView text, qint64 caret)
{
    const Range name = nameAt(text, caret);
    if (name.start < 0)
        return {};
    const QByteArrayView wanted = text.sliced(name.start, name.end - name.start);
    const bool caretInEnd = text[name.start - 1] == '/';
    const qint64 open = caretInEnd ? name.start - 2 : name.start - 1;
    const qint64 from = qMax<qint64>(0, caret - kReach);
    const qint64 to = qMin<qint64>(text.size(), caret + kReach);

    // Tags of the caret's name before the caret's tag (for an end tag), and
    // the levels still open after it (for a start tag).
    QList<Tag> before;
    bool caretTagSeen = false;
    bool caretTagValid = false;
    int depth = 0;
    Match match;
    forEachTag(text, from, to, [&](qint64 start, qint64 end) {
        if (start < open) {
            if (!caretInEnd)
                return true;
            const Tag tag = parseTag(text, start, end);
            if (tag.name.start >= 0 &&
                sameName(text.sliced(tag.name.start, tag.name.end - tag.name.start), wanted))
                before.append(tag);
            return true;
        }
        if (start == open) {
            caretTagSeen = true;
            const Tag tag = parseTag(text, start, end);
            caretTagValid =
                tag.name.start == name.start && tag.name.end == name.end && !tag.selfClosing;
            depth = 1;
            return caretTagValid && !caretInEnd;
        }
        if (!caretTagSeen)
            return false;
        const Tag tag = parseTag(text, start, end);
        if (tag.name.start < 0 || tag.selfClosing ||
            !sameName(text.sliced(tag.name.start, tag.name.end - tag.name.start), wanted))
            return true;
        depth += tag.isEnd ? -1 : 1;
        if (depth > 0)
            return true;
        match.partner = tag.name;
        return false;
    });
    if (!caretTagValid)
        return {};
    if (caretInEnd) {
        for (qsizetype i = before.size() - 1; i >= 0 && match.partner.start < 0; --i) {
            const Tag& tag = before[i];
            if (tag.selfClosing)
                continue;
            depth += tag.isEnd ? 1 : -1;
            if (depth == 0)
                match.partner = tag.name;
        }
    }
    if (match.partner.start < 0)
        return {};
    match.found = true;
    match.name = name;
    return match;
}

} // namespace MatchingTag
