#include "document/document_check.h"

#include "resources/check_messages.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <QHash>
#include <algorithm>
#include <climits>
#include <cstring>

namespace DocumentCheck {
namespace {

// A finding as libtidy places it: its column counts characters the way
// libtidy's reader does, and line 0 means the whole document.
struct Collected
{
    Finding finding;
    int tidyLine = 0;
    int tidyColumn = 0;
};

struct Collector
{
    Options options;
    QList<Collected> found;
    qsizetype total = 0;
};

// libtidy passes a few English words as arguments; the table translates them
// under the key of libtidy's own string.
QString translatedWord(const QString& word)
{
    static const QHash<QString, QString> words = [] {
        QHash<QString, QString> map;
        for (const char* key : {"STRING_PLAIN_TEXT", "STRING_HTML_PROPRIETARY",
                                "STRING_XML_DECLARATION", "STRING_SPECIFIED"}) {
            const ctmbstr english = tidyDefaultString(tidyErrorCodeFromKey(key));
            const QString japanese = Resources::checkMessage(QString::fromLatin1(key));
            if (english && !japanese.isNull())
                map.insert(QString::fromUtf8(english), japanese);
        }
        return map;
    }();
    return words.value(word, word);
}

// The printf conversion ("%u", "%04X") libtidy gives for an argument.
// libtidy does not end it with a NUL, so it is read up to its letter only.
QByteArray conversionOf(const char* format)
{
    QByteArray conversion;
    for (int i = 0; format && format[i] && i < 16; ++i) {
        conversion += format[i];
        if (i > 0 && std::strchr("diouxXeEfFgGcsp", format[i]))
            break;
    }
    return conversion;
}

// A number as printf's conversion writes it.
QString formatNumber(qlonglong value, const QByteArray& conversion)
{

    const bool hex = conversion.endsWith('X') || conversion.endsWith('x');
    int width = 0;
    for (char c : conversion) {
        if (c >= '1' && c <= '9' && width == 0)
            width = c - '0';
        else if (c >= '0' && c <= '9' && width > 0)
            width = width * 10 + (c - '0');
    }
    QString text = QString::number(value, hex ? 16 : 10);
    if (conversion.endsWith('X'))
        text = text.toUpper();
    return text.rightJustified(width, QLatin1Char('0'));
}

QStringList arguments(TidyMessage message)
{
    QStringList list;
    TidyIterator it = tidyGetMessageArguments(message);
    while (it) {
        TidyMessageArgument arg = tidyGetNextMessageArgument(message, &it);
        const QByteArray format = conversionOf(tidyGetArgFormat(message, &arg));
        switch (tidyGetArgType(message, &arg)) {
        case tidyFormatType_STRING:
            list.append(QString::fromUtf8(tidyGetArgValueString(message, &arg)));
            break;
        case tidyFormatType_INT:
            list.append(formatNumber(tidyGetArgValueInt(message, &arg), format));
            break;
        case tidyFormatType_UINT:
            list.append(formatNumber(tidyGetArgValueUInt(message, &arg), format));
            break;
        case tidyFormatType_DOUBLE:
            list.append(QString::number(tidyGetArgValueDouble(message, &arg)));
            break;
        default:
            list.append(QString());
        }
    }
    return list;
}

// Fills %1 to %9 of text with args; a number without an argument stays.
QString fillIn(const QString& text, const QStringList& args)
{
    QString out;
    out.reserve(text.size() + 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('%') && i + 1 < text.size() && text[i + 1] >= QLatin1Char('1') &&
            text[i + 1] <= QLatin1Char('9')) {
            const int n = text[i + 1].unicode() - '1';
            if (n < args.size()) {
                out += translatedWord(args[n]);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

bool kindOf(TidyReportLevel level, Kind& kind)
{
    switch (level) {
    case TidyInfo:
        kind = Kind::Info;
        return true;
    case TidyWarning:
    case TidyAccess:
        kind = Kind::Warning;
        return true;
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
        kind = Kind::Error;
        return true;
    default: // configuration messages and libtidy's own summary
        return false;
    }
}

Bool TIDY_CALL collect(TidyMessage message)
{
    auto* collector = static_cast<Collector*>(tidyGetAppData(tidyGetMessageDoc(message)));
    const TidyReportLevel level = tidyGetMessageLevel(message);
    Collected c;
    if (!kindOf(level, c.finding.kind))
        return no;
    if (level == TidyWarning && !collector->options.showWarnings)
        return no;
    if (++collector->total > collector->options.limit)
        return no;
    c.tidyLine = std::max(0, tidyGetMessageLine(message));
    c.tidyColumn = std::max(1, tidyGetMessageColumn(message));
    c.finding.code = QString::fromLatin1(tidyGetMessageKey(message));
    c.finding.english = QString::fromUtf8(tidyGetMessageDefault(message)).trimmed();
    c.finding.arguments = arguments(message);
    const QString japanese = Resources::checkMessage(c.finding.code);
    c.finding.message =
        japanese.isNull() ? c.finding.english : fillIn(japanese, c.finding.arguments);
    collector->found.append(c);
    return no; // nothing goes to libtidy's own output
}

// A lone CR ends a line for the editor, but libtidy then keeps counting
// columns from the line before; as LF it ends the line for both.
QByteArray withLoneCrAsLf(QByteArrayView text)
{
    QByteArray copy(text.data(), text.size());
    for (qsizetype i = 0; i < copy.size(); ++i) {
        if (copy[i] == '\r' && (i + 1 == copy.size() || copy[i + 1] != '\n'))
            copy[i] = '\n';
    }
    return copy;
}

bool hasLoneCr(QByteArrayView text)
{
    for (qsizetype i = text.indexOf('\r'); i >= 0; i = text.indexOf('\r', i + 1)) {
        if (i + 1 == text.size() || text[i + 1] != '\n')
            return true;
    }
    return false;
}

inline bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// One character as libtidy's UTF-8 reader takes it at text[pos]: its length
// in bytes and its width in libtidy's columns (control characters other than
// the tab take none).
void tidyCharacter(QByteArrayView text, qsizetype pos, qsizetype& length, int& width)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int follow = 0;
    if (lead >= 0xC0 && lead <= 0xDF)
        follow = 1;
    else if (lead >= 0xE0 && lead <= 0xEF)
        follow = 2;
    else if (lead >= 0xF0 && lead <= 0xF7)
        follow = 3;
    else if (lead >= 0xF8 && lead <= 0xFB)
        follow = 4;
    else if (lead >= 0xFC && lead <= 0xFD)
        follow = 5;
    length = 1;
    while (follow-- > 0 && pos + length < text.size() &&
           isContinuation(static_cast<unsigned char>(text[pos + length])))
        ++length;
    width = (lead < 0x20 && lead != '\t') ? 0 : 1;
}

// How many characters the editor sees in the bytes of one libtidy character:
// one for a well-formed UTF-8 character, else one per byte.
int editorCharacters(QByteArrayView bytes)
{
    const auto b = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const qsizetype n = bytes.size();
    if (n == 1)
        return 1;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (n == 2 && b(0) >= 0xC0 && b(0) <= 0xDF) {
        cp = b(0) & 0x1F;
        minimum = 0x80;
    } else if (n == 3 && b(0) >= 0xE0 && b(0) <= 0xEF) {
        cp = b(0) & 0x0F;
        minimum = 0x800;
    } else if (n == 4 && b(0) >= 0xF0 && b(0) <= 0xF4) {
        cp = b(0) & 0x07;
        minimum = 0x10000;
    } else {
        return int(n);
    }
    for (qsizetype i = 1; i < n; ++i)
        cp = (cp << 6) | (b(i) & 0x3F);
    const bool wellFormed = cp >= minimum && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    return wellFormed ? 1 : int(n);
}

// Turns libtidy's places into the editor's. `found` is sorted by libtidy's
// line and column, so one walk through the text serves them all.
void placeInEditorColumns(QByteArrayView text, QList<Collected>& found)
{
    int line = 1;
    qsizetype pos = 0;
    int tidyColumn = 1;
    int column = 1;
    // libtidy skips a byte-order mark at the start of the text.
    if (text.startsWith("\xEF\xBB\xBF")) {
        pos = 3;
        column = 2;
    }
    for (Collected& c : found) {
        if (c.tidyLine == 0)
            continue; // about the whole document: stays at 1:1
        while (line < c.tidyLine) {
            const void* lf = std::memchr(text.data() + pos, '\n', size_t(text.size() - pos));
            if (!lf)
                break; // past the last line: stays on it
            pos = static_cast<const char*>(lf) - text.data() + 1;
            ++line;
            tidyColumn = 1;
            column = 1;
        }
        // Characters libtidy does not count lie before the one it names.
        while (pos < text.size() && text[pos] != '\n' && text[pos] != '\r') {
            qsizetype length = 0;
            int width = 0;
            tidyCharacter(text, pos, length, width);
            if (width > 0 && tidyColumn >= c.tidyColumn)
                break;
            column += editorCharacters(text.sliced(pos, length));
            tidyColumn += width;
            pos += length;
        }
        c.finding.line = line;
        c.finding.column = column;
    }
}

// Whether the page's doctype names a strict HTML (HTML 4 Strict, XHTML 1.0
// Strict, XHTML 1.1). libtidy by itself checks against the loosest version the
// content fits, so CENTER would pass under a Strict doctype.
bool declaresStrict(QByteArrayView text)
{
    const QByteArray head =
        text.first(std::min<qsizetype>(text.size(), 64 * 1024)).toByteArray().toLower();
    const qsizetype at = head.indexOf("<!doctype");
    if (at < 0)
        return false;
    const QByteArray doctype = head.mid(at, head.indexOf('>', at) - at);
    const qsizetype open = doctype.indexOf("public");
    qsizetype quote = open < 0 ? -1 : doctype.indexOf('"', open);
    const qsizetype apostrophe = open < 0 ? -1 : doctype.indexOf('\'', open);
    if (quote < 0 || (apostrophe >= 0 && apostrophe < quote))
        quote = apostrophe;
    if (quote < 0)
        return false;
    const qsizetype close = doctype.indexOf(doctype[quote], quote + 1);
    const QByteArray fpi = doctype.mid(quote + 1, close < 0 ? -1 : close - quote - 1).simplified();
    return fpi == "-//w3c//dtd html 4.01//en" || fpi == "-//w3c//dtd html 4.0//en" ||
           fpi == "-//w3c//dtd xhtml 1.1//en" || fpi.contains("strict");
}

} // namespace

Report check(QByteArrayView text, const Options& options)
{
    QByteArray normalised;
    if (hasLoneCr(text)) {
        normalised = withLoneCrAsLf(text);
        text = normalised;
    }

    Collector collector;
    collector.options = options;
    TidyDoc doc = tidyCreate();
    tidySetAppData(doc, &collector);
    tidySetMessageCallback(doc, collect);
    tidyOptSetValue(doc, TidyInCharEncoding, "utf8");
    // No output is written; "raw" keeps libtidy from judging the declared
    // encoding against an output encoding of its own.
    tidyOptSetValue(doc, TidyOutCharEncoding, "raw");
    tidyOptSetInt(doc, TidyTabSize, 1); // a tab is one column
    tidyOptSetInt(doc, TidyShowErrors, INT_MAX);
    tidyOptSetBool(doc, TidyShowWarnings, options.showWarnings ? yes : no);
    tidyOptSetInt(doc, TidyAccessibilityCheckLevel, std::clamp(options.accessibilityLevel, 0, 3));
    // Elements and attributes are checked against the HTML the doctype names.
    tidyOptSetBool(doc, TidyStrictTagsAttr, yes);
    if (declaresStrict(text))
        tidyOptSetValue(doc, TidyDoctype, "strict");

    TidyBuffer input;
    tidyBufInit(&input);
    tidyBufAttach(&input, reinterpret_cast<byte*>(const_cast<char*>(text.data())),
                  uint(text.size()));
    // The same steps as the tidy program: clean-up reports some faults too.
    if (tidyParseBuffer(doc, &input) >= 0 && tidyCleanAndRepair(doc) >= 0)
        tidyRunDiagnostics(doc);
    tidyBufDetach(&input);
    tidyRelease(doc);

    QList<Collected>& found = collector.found;
    std::stable_sort(found.begin(), found.end(), [](const Collected& a, const Collected& b) {
        return a.tidyLine != b.tidyLine ? a.tidyLine < b.tidyLine : a.tidyColumn < b.tidyColumn;
    });
    placeInEditorColumns(text, found);
    Report report;
    report.total = collector.total;
    report.findings.reserve(found.size());
    for (Collected& c : found)
        report.findings.append(std::move(c.finding));
    return report;
}

QString kindText(Kind kind)
{
    switch (kind) {
    case Kind::Error:
        return QStringLiteral("エラー");
    case Kind::Warning:
        return QStringLiteral("警告");
    case Kind::Info:
        break;
    }
    return QStringLiteral("情報");
}

} // namespace DocumentCheck
