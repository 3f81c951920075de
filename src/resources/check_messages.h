#pragma once

#include <QString>

// The Japanese texts of libtidy's messages (check_messages.tsv), keyed by
// libtidy's message code name ("MISSING_ENDTAG_BEFORE"). A text names
// libtidy's arguments %1, %2, ... in the order libtidy gives them, and may
// leave some out. Besides message codes, the table translates the few English
// words libtidy passes as arguments ("plain text" under STRING_PLAIN_TEXT).
namespace Resources {

// The text for a code; a null string when the table has none.
QString checkMessage(const QString& code);

} // namespace Resources
