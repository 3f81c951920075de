#include "editor/rules/typed_char_style.h"

TagScan::Style typedCharStyle(QByteArrayView context, char typed)
{
    bool inTag = false;
    bool inQuote = false;
    for (const char c : context) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (c == '"')
            inQuote = !inQuote;
    }
    if (inQuote || typed == '"')
        return TagScan::Quote;
    if (inTag || typed == '<')
        return TagScan::Tag;
    return TagScan::Default;
}
