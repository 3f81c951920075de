#include "document/text_matcher.h"

#include "document/regex_give_up.h"
#include "document/text_encoding.h"

#include <QStringEncoder>

#include <cstring>

namespace {

QString lowerAscii(const QString& text)
{
    QString folded = text;
    char16_t* p = reinterpret_cast<char16_t*>(folded.data());
    const qsizetype n = folded.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] >= u'A' && p[i] <= u'Z')
            p[i] = static_cast<char16_t>(p[i] + 32);
    }
    return folded;
}

QByteArray lowerAsciiBytes(QByteArrayView bytes)
{
    QByteArray folded(bytes.data(), bytes.size());
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return folded;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Where the line, the column and the line's end of the matches found so far
// are, so that each next match costs only the text between the two.
class LineCursor
{
public:
    explicit LineCursor(const QString& text) : m_text(text) {}

    ResultEntry entryAt(qsizetype start, qsizetype end)
    {
        moveTo(start);
        ResultEntry entry;
        entry.line = m_line;
        entry.column = m_column + 1;
        entry.length = characters(start, end);
        entry.text = lineText(start);
        return entry;
    }

private:
    static bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

    void moveTo(qsizetype pos)
    {
        for (qsizetype i = m_pos; i < pos; ++i) {
            const QChar c = m_text[i];
            // CR LF counts once, at its LF.
            if (c == u'\n' || (c == u'\r' && (i + 1 >= m_text.size() || m_text[i + 1] != u'\n'))) {
                ++m_line;
                m_lineStart = i + 1;
                m_column = 0;
                m_lineEnd = -1;
            } else if (!c.isLowSurrogate()) {
                ++m_column;
            }
        }
        m_pos = qMax(m_pos, pos);
    }

    qsizetype characters(qsizetype start, qsizetype end) const
    {
        qsizetype count = 0;
        for (qsizetype i = start; i < end; ++i)
            count += m_text[i].isLowSurrogate() ? 0 : 1;
        return count;
    }

    QString lineText(qsizetype at)
    {
        if (m_lineEnd < 0) {
            m_lineEnd = at;
            while (m_lineEnd < m_text.size() && !isLineEnd(m_text[m_lineEnd]))
                ++m_lineEnd;
        }
        const qsizetype length = m_lineEnd - m_lineStart;
        // The matches of one line share its text.
        if (length <= CTextMatcher::kMaxLineText) {
            if (m_shownLineStart != m_lineStart) {
                m_shownLine = m_text.mid(m_lineStart, length);
                m_shownLineStart = m_lineStart;
            }
            return m_shownLine;
        }
        qsizetype from = qMax(m_lineStart, at - CTextMatcher::kMaxLineText / 5);
        const qsizetype to = qMin(m_lineEnd, from + CTextMatcher::kMaxLineText);
        from = qMax(m_lineStart, to - CTextMatcher::kMaxLineText);
        // Never cut a surrogate pair in two.
        const qsizetype cutFrom =
            from > m_lineStart && m_text[from].isLowSurrogate() ? from + 1 : from;
        const qsizetype cutTo = to < m_lineEnd && m_text[to].isLowSurrogate() ? to - 1 : to;
        QString shown = m_text.mid(cutFrom, cutTo - cutFrom);
        if (cutFrom > m_lineStart)
            shown.prepend(QChar(0x2026));
        if (cutTo < m_lineEnd)
            shown.append(QChar(0x2026));
        return shown;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    qsizetype m_lineStart = 0;
    int m_column = 0;         // characters from the line's start to m_pos
    qsizetype m_lineEnd = -1; // of the current line, once looked for
    QString m_shownLine;      // the text of the line starting at m_shownLineStart
    qsizetype m_shownLineStart = -1;
};

} // namespace

CTextMatcher::CTextMatcher(const QString& text, bool matchCase)
    : m_text(matchCase ? text : lowerAscii(text)), m_matchCase(matchCase)
{
    // The raw bytes tell nothing when the text may be read differently from
    // them: the backslash and the tilde are the yen and overline signs of
    // some Japanese fonts and converters.
    if (m_text.isEmpty())
        return;
    for (const QChar c : m_text) {
        if (c == u'\\' || c == u'~' || c == QChar(0xA5) || c == QChar(0x203E))
            return;
    }
    m_asciiText = isAscii(m_text);
    m_forms.append(m_text.toUtf8());
    for (const char* encoding : {"Shift_JIS", "EUC-JP"}) {
        QStringEncoder encoder(encoding);
        QByteArray form = encoder.encode(m_text);
        if (!m_matchCase)
            form = lowerAsciiBytes(form);
        // ASCII text has one form in all three.
        if (encoder.isValid() && !encoder.hasError() && !m_forms.contains(form))
            m_forms.append(form);
    }
}

CTextMatcher::CTextMatcher(const QRegularExpression& expression)
    : m_expression(expression), m_regex(true)
{
}

bool CTextMatcher::mayOccurIn(QByteArrayView fileBytes) const
{
    if (m_forms.isEmpty() || !TextEncoding::utf16ByteOrder(fileBytes).isEmpty() ||
        fileBytes.contains('\x1b'))
        return true;
    const QByteArray folded = m_matchCase ? QByteArray() : lowerAsciiBytes(fileBytes);
    const QByteArrayView haystack = m_matchCase ? fileBytes : QByteArrayView(folded);
    for (const QByteArray& form : m_forms) {
        if (memmem(haystack.data(), static_cast<size_t>(haystack.size()), form.constData(),
                   static_cast<size_t>(form.size())))
            return true;
    }
    // Not in the bytes: then not in the text either, unless the file names
    // an encoding that reads the text from other bytes. ASCII text without
    // a backslash or a tilde reads from the same bytes in every encoding
    // that a file can name in ASCII and that gives its bytes back exactly.
    if (m_asciiText)
        return false;
    const QByteArray declared = TextEncoding::declaredCharset(fileBytes);
    return !declared.isEmpty() && !readsAsForms(declared);
}

bool CTextMatcher::readsAsForms(const QByteArray& declared) const
{
    auto known = m_declared.constFind(declared);
    if (known != m_declared.cend())
        return known.value();
    const QString name = TextEncoding::canonicalName(QString::fromLatin1(declared));
    bool forms = false;
    for (const char* listed : {"UTF-8", "Shift_JIS", "EUC-JP"})
        forms = forms || name.compare(QLatin1String(listed), Qt::CaseInsensitive) == 0;
    m_declared.insert(declared, forms);
    return forms;
}

QList<ResultEntry> CTextMatcher::matches(const QString& text, int limit, bool* gaveUp) const
{
    QList<ResultEntry> found;
    LineCursor cursor(text);
    if (gaveUp)
        *gaveUp = false;
    if (m_regex) {
        QRegularExpressionMatchIterator it = m_expression.globalMatch(text);
        qsizetype lastStart = -1;
        qsizetype lastEnd = -1;
        while (found.size() < limit && it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            lastStart = m.capturedStart(0);
            lastEnd = m.capturedEnd(0);
            found.append(cursor.entryAt(lastStart, lastEnd));
        }
        if (gaveUp && found.size() < limit)
            *gaveUp = regexGaveUp(it, lastStart, lastEnd, text.size());
        return found;
    }
    if (m_text.isEmpty())
        return found;
    const QString folded = m_matchCase ? QString() : lowerAscii(text);
    const QString& haystack = m_matchCase ? text : folded;
    for (qsizetype at = haystack.indexOf(m_text); at >= 0 && found.size() < limit;
         at = haystack.indexOf(m_text, at + m_text.size()))
        found.append(cursor.entryAt(at, at + m_text.size()));
    return found;
}
