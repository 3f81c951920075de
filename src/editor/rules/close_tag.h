#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The close-last-unclosed-tag search: walks the tags before position caret
// backwards, pairing each start tag with an end tag met later in the text,
// and returns the upper-cased name of the nearest start tag left open (empty
// when there is none). A name is the text after `<` (or `</`) cut at its first
// space character; tabs and line breaks stay part of it. Start tags of
// elements that need no end tag (and comments written "<!-- ") are skipped,
// and so is an empty start name ("<>", "< x>") that no end tag closes.
// At most 255 unmatched end tags are remembered; further ones are dropped,
// so their start tags may then count as open.
QByteArray lastUnclosedTag(QByteArrayView text, qint64 caret);

// Tag names the search never closes.
bool isUnclosedTagIgnored(QByteArrayView upperName);
