#pragma once

#include <QByteArrayView>

// The partner of the tag whose name holds the caret: for a start tag the end
// tag that closes it, for an end tag the start tag it closes.
//
// Tags are what the colouring shows as tags (TagScan: a `<` up to the next
// `>`, a later `<` moving the start), except that nothing between "<!--"
// and "-->" takes part, so commented-out markup pairs with nothing. A tag's
// name follows its `<` (or `</`) up to a blank, a line end, `/`, `>`, `"`,
// `'` or `=`, and names compare without regard to the case of ASCII
// letters; any other byte (a Japanese name, say) compares as it is. Only
// tags of the caret's name count: each start tag of that name opens one
// level and each end tag closes one, so a nested element of the same name
// is skipped over. A start tag ending in "/>" has no partner, and neither
// have comments, "<!DOCTYPE ...>" and "<?...?>".
//
// The search looks no further than kReach bytes from the caret either way:
// a partner beyond that (or an element left open) has no mark, and no call
// reads more than twice that much, however long the text.
namespace MatchingTag {

// Bytes searched before and after the caret.
constexpr qint64 kReach = 256 * 1024;
// The longest name recognised; a longer run of name bytes is no name.
constexpr qint64 kLongestName = 128;

struct Range
{
    qint64 start = -1;
    qint64 end = -1; // exclusive
};

struct Match
{
    bool found = false;
    Range name;    // the name the caret is in
    Range partner; // the partner's name
};

// The name the caret is in, judged from the bytes next to it alone: a run of
// name bytes that starts right after `<` or `</` and holds the caret (at its
// start, inside or at its end). Whether it belongs to a tag at all only
// find() can tell. An empty range when there is none.
Range nameAt(QByteArrayView text, qint64 caret);

// The tag whose name holds the caret and its partner's name.
Match find(QByteArrayView text, qint64 caret);

} // namespace MatchingTag
