#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Lowers the ASCII capitals of tag and attribute names in text. A double-quote
// character toggles the quoted state wherever it stands (in a tag or not);
// quoted text is copied as it is. Outside quotes, `<` opens and `>` closes a
// tag; inside a tag, A to Z become a to z while multi-byte characters and
// control characters are copied unchanged. Text between tags keeps its case.
QByteArray LowerTagCase(QByteArrayView text);
