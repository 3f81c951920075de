#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Finding a text in the bytes of a document, as the control's own search
// compares them: byte for byte with match case, else with the ASCII letters
// folded (the control folds no other characters). Runs at memchr speed.
namespace TextSearch {

// Offset of the first occurrence of needle in haystack at or after from, or
// -1. An empty needle is never found. Matches are not checked for character
// boundaries: a needle that is valid UTF-8 cannot begin inside a character.
qint64 find(QByteArrayView haystack, QByteArrayView needle, bool matchCase, qint64 from = 0);

// Whether the two texts are equal with ASCII letters folded.
bool equalFoldingAscii(QByteArrayView a, QByteArrayView b);

// Whether the text is all ASCII (so folding ASCII letters is all folding does).
bool isAscii(QByteArrayView text);

} // namespace TextSearch
