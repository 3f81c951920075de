#include "editor/rules/lower_tag_case.h"

#include "editor/rules/code_page.h"

QByteArray LowerTagCase(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    bool inQuote = false;
    bool inTag = false;
    for (qint64 i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"')
            inQuote = !inQuote;
        if (inQuote) {
            out.append(c);
            ++i;
            continue;
        }
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        if (!inTag) {
            out.append(c);
            ++i;
            continue;
        }
        const int length = CodePage::charLengthAt(text, i);
        if (length > 1) {
            out.append(text.data() + i, length);
            i += length;
            continue;
        }
        out.append(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        ++i;
    }
    return out;
}
