#pragma once

#include "editor/rules/tag_scan.h"

#include <QByteArrayView>

// The style a typed character takes. context is the text before the caret
// that the decision may look at: the previous displayed line followed by the
// current one up to the caret (nothing further back). In it, `<` opens and
// `>` closes a tag, and every double-quote character toggles the quote state,
// inside a tag or not. A double-quote character is typed in the quote style
// and `<` in the tag style; otherwise the state at the caret decides.
TagScan::Style typedCharStyle(QByteArrayView context, char typed);
