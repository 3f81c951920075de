#include "document/text_decoding.h"

#include "document/text_encoding.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace TextDecoding {
namespace {

const QString kShiftJis = QStringLiteral("Shift_JIS");
const QString kEucJp = QStringLiteral("EUC-JP");
const QString kIso2022Jp = QStringLiteral("ISO-2022-JP");

// Shift_JIS text that is also valid EUC-JP cannot hold hiragana, katakana or
// most everyday kanji (their first bytes are no EUC-JP bytes), so kanji in
// such a reading are most likely EUC-JP half-width katakana read wrongly.
constexpr int kShiftJisKanjiWeight = 1;
constexpr int kEucJpKanjiWeight = 3;

// The answers for bytes held whole; keeps each decoded text for the
// conversion that follows.
class WholeProbe : public Probe
{
public:
    explicit WholeProbe(const QByteArray& bytes) : m_bytes(bytes) {}

    QByteArrayView head() override
    {
        return QByteArrayView(m_bytes).first(qMin<qsizetype>(m_bytes.size(), 4096));
    }
    bool validUtf8() override
    {
        if (m_invalid == kUnknown)
            m_invalid = TextEncoding::firstInvalidUtf8(m_bytes);
        return m_invalid < 0;
    }
    bool nonAscii() override
    {
        return std::any_of(m_bytes.begin(), m_bytes.end(), [](char c) { return uchar(c) >= 0x80; });
    }
    bool looksLikeIso2022Jp() override { return TextEncoding::looksLikeIso2022Jp(m_bytes); }
    Reading read(const QString& encoding, int kanjiWeight) override
    {
        QString text;
        const Reading reading = readWhole(m_bytes, encoding, kanjiWeight, text);
        if (reading.exact)
            m_decoded.insert(encoding, text);
        return reading;
    }

    // The text of an encoding read() found exact.
    QString decoded(const QString& encoding) const { return m_decoded.value(encoding); }

private:
    static constexpr qsizetype kUnknown = -2;
    const QByteArray& m_bytes;
    qsizetype m_invalid = kUnknown;
    QHash<QString, QString> m_decoded;
};

Text converted(const QString& text, const QString& encoding)
{
    return {text.toUtf8(), encoding, false};
}

// Describes the character at index i of text and its line.
QString describeCharacter(const QString& text, qsizetype i)
{
    char32_t cp = text.at(i).unicode();
    qsizetype length = 1;
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
        length = 2;
    }
    return QStringLiteral("「%1」(U+%2、%3 行目)")
        .arg(text.mid(i, length))
        .arg(QString::number(cp, 16).toUpper().rightJustified(4, QLatin1Char('0')))
        .arg(TextEncoding::lineAt(text, i));
}

QString describeByte(const QByteArray& bytes, qsizetype i)
{
    return QStringLiteral("文字として読めないバイト 0x%1 (%2 行目)")
        .arg(QString::number(uchar(bytes.at(i)), 16).toUpper().rightJustified(2, QLatin1Char('0')))
        .arg(TextEncoding::lineAt(bytes, i));
}

// Length of the UTF-8 character whose first byte is c (1 for a byte that
// starts none).
qsizetype utf8Length(uchar c)
{
    return (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
}

} // namespace

Kind detect(Probe& probe)
{
    const QString byteOrder = TextEncoding::utf16ByteOrder(probe.head());
    if (!byteOrder.isEmpty() && probe.read(byteOrder).exact)
        return {byteOrder, false};
    if (probe.looksLikeIso2022Jp()) {
        if (probe.read(kIso2022Jp).exact)
            return {kIso2022Jp, false};
        return {QString(), !probe.validUtf8()};
    }
    // Non-ASCII text that is valid UTF-8 is UTF-8, whatever the file declares.
    if (probe.validUtf8() && probe.nonAscii())
        return {};
    const QByteArray declared = TextEncoding::declaredCharset(probe.head());
    const QString name = TextEncoding::canonicalName(QString::fromLatin1(declared));
    if (!name.isEmpty() && name != QLatin1String(TextEncoding::kUtf8) &&
        !name.startsWith(QLatin1String("UTF-"))) {
        // The declaration must read the same in its own encoding: that rules
        // out encodings in which ASCII does not stay ASCII.
        const Probe::Reading reading = probe.read(name);
        if (reading.exact && reading.head.contains(QString::fromLatin1(declared)))
            return {name, false};
    }
    if (probe.validUtf8())
        return {};
    // Shift_JIS wins a tie.
    const Probe::Reading shiftJis = probe.read(kShiftJis, kShiftJisKanjiWeight);
    const Probe::Reading eucJp = probe.read(kEucJp, kEucJpKanjiWeight);
    if (shiftJis.exact && (!eucJp.exact || shiftJis.score >= eucJp.score))
        return {kShiftJis, false};
    if (eucJp.exact)
        return {kEucJp, false};
    return {QString(), true};
}

Probe::Reading readWhole(QByteArrayView bytes, const QString& encoding, int kanjiWeight,
                         QString& text)
{
    Probe::Reading reading;
    reading.exact = TextEncoding::decodeExactly(bytes, encoding, text);
    if (!reading.exact)
        return reading;
    if (kanjiWeight >= 0)
        reading.score = TextEncoding::japaneseScore(text, kanjiWeight);
    reading.head = text;
    return reading;
}

Text decode(const QByteArray& fileBytes)
{
    WholeProbe probe(fileBytes);
    const Kind kind = detect(probe);
    if (kind.encoding.isEmpty())
        return {fileBytes, QString(), kind.unconverted};
    return converted(probe.decoded(kind.encoding), kind.encoding);
}

bool decodeAs(const QByteArray& fileBytes, const QString& encoding, Text& text, QString& reason)
{
    const QString name = TextEncoding::canonicalName(encoding);
    if (name == QLatin1String(TextEncoding::kUtf8)) {
        const qsizetype invalid = TextEncoding::firstInvalidUtf8(fileBytes);
        if (invalid >= 0) {
            reason = QStringLiteral("UTF-8 として読めないバイトがあります (%1 行目)。")
                         .arg(TextEncoding::lineAt(fileBytes, invalid));
            return false;
        }
        text = {fileBytes, QString(), false};
        return true;
    }
    if (name.startsWith(QLatin1String("UTF-16"))) {
        // The byte-order mark tells which UTF-16; without one the file's
        // bytes could not be written back as they are.
        const QString byteOrder = TextEncoding::utf16ByteOrder(fileBytes);
        QString decoded;
        if (byteOrder.isEmpty() || !TextEncoding::decodeExactly(fileBytes, byteOrder, decoded)) {
            reason =
                QStringLiteral("このファイルは UTF-16 (バイト順マーク付き) として読めません。");
            return false;
        }
        text = converted(decoded, byteOrder);
        return true;
    }
    QString decoded;
    if (name.isEmpty() || !TextEncoding::decodeExactly(fileBytes, name, decoded)) {
        reason = QStringLiteral("このファイルは文字コード %1 として読めません。\n"
                                "%1 に変換して保存すると、元のバイト列が変わってしまいます。")
                     .arg(name.isEmpty() ? encoding : name);
        return false;
    }
    text = converted(decoded, name);
    return true;
}

bool encode(const QByteArray& text, const QString& encoding, QByteArray& fileBytes,
            QString& badCharacter)
{
    if (encoding.isEmpty()) {
        fileBytes = text;
        return true;
    }
    const qsizetype invalid = TextEncoding::firstInvalidUtf8(text);
    if (invalid >= 0) {
        badCharacter = describeByte(text, invalid);
        return false;
    }
    if (encoding == QLatin1String(TextEncoding::kUtf8)) {
        fileBytes = text;
        return true;
    }
    // A leading U+FEFF is text here, not a byte-order mark to drop.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString unicode = utf8.decode(text);
    QByteArray bytes;
    qsizetype lostAt = -1;
    if (!TextEncoding::encode(unicode, encoding, bytes, lostAt)) {
        badCharacter = lostAt >= 0 ? describeCharacter(unicode, lostAt) : QString();
        return false;
    }
    fileBytes = std::move(bytes);
    return true;
}

DeclarationChange declarationChange(QByteArrayView text, const QString& encoding)
{
    const TextEncoding::NameSpan span = TextEncoding::declaredCharsetSpan(text);
    if (span.offset < 0)
        return {};
    const QString written =
        encoding.isEmpty() ? QString::fromLatin1(TextEncoding::kUtf8) : encoding;
    const QString declared =
        TextEncoding::canonicalName(QString::fromLatin1(text.sliced(span.offset, span.length)));
    // A page declares UTF-16 without its byte order, which the byte-order
    // mark gives.
    const bool utf16 = written.startsWith(QLatin1String("UTF-16"));
    if (utf16 ? declared.startsWith(QLatin1String("UTF-16"))
              : declared.compare(written, Qt::CaseInsensitive) == 0)
        return {};
    return {span.offset, span.length, utf16 ? QByteArrayLiteral("UTF-16") : written.toLatin1()};
}

QByteArray utf8Characters(const QByteArray& bytes)
{
    QByteArray found;
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (uchar(bytes.at(i)) < 0x80) {
            ++i;
            continue;
        }
        const qsizetype length = utf8Length(uchar(bytes.at(i)));
        const QByteArrayView piece =
            QByteArrayView(bytes).sliced(i, qMin(length, bytes.size() - i));
        if (length > 1 && piece.size() == length && TextEncoding::isValidUtf8(piece)) {
            found += piece;
            i += length;
        } else {
            ++i;
        }
    }
    return found;
}

bool addsUtf8Characters(const QByteArray& original, const QByteArray& edited)
{
    // Edits that only delete or move nothing keep the characters a
    // subsequence of the original's; anything typed in breaks that.
    const QByteArray now = utf8Characters(edited);
    qsizetype at = 0;
    qsizetype i = 0;
    while (i < now.size()) {
        const qsizetype length = utf8Length(uchar(now.at(i)));
        const QByteArrayView character = QByteArrayView(now).sliced(i, length);
        // UTF-8 is self-synchronising: a whole character is only ever found
        // where a character of original starts.
        at = QByteArrayView(original).indexOf(character, at);
        if (at < 0)
            return true;
        at += length;
        i += length;
    }
    return false;
}

} // namespace TextDecoding
