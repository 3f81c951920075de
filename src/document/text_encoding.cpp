#include "document/text_encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace TextEncoding {
namespace {

const char kIso2022Jp[] = "ISO-2022-JP";
const QByteArray kReturnToAscii("\x1b(B");

bool isUtf16(const QString& name)
{
    return name == QLatin1String("UTF-16LE") || name == QLatin1String("UTF-16BE");
}

QStringDecoder decoderFor(const QString& encoding)
{
    if (encoding == QLatin1String("UTF-16LE"))
        return QStringDecoder(QStringConverter::Utf16LE);
    if (encoding == QLatin1String("UTF-16BE"))
        return QStringDecoder(QStringConverter::Utf16BE);
    return QStringDecoder(encoding.toLatin1().constData());
}

QStringEncoder encoderFor(const QString& encoding)
{
    if (encoding == QLatin1String("UTF-16LE"))
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    if (encoding == QLatin1String("UTF-16BE"))
        return QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    return QStringEncoder(encoding.toLatin1().constData());
}

// Whether ISO-2022-JP bytes are left in a state other than ASCII: the last
// escape sequence that designates a character set decides.
bool endsOutsideAscii(QByteArrayView bytes)
{
    bool ascii = true;
    for (qsizetype i = 0; i + 2 < bytes.size(); ++i) {
        if (bytes[i] != '\x1b')
            continue;
        if (bytes[i + 1] == '(')
            ascii = bytes[i + 2] == 'B';
        else if (bytes[i + 1] == '$')
            ascii = false;
    }
    return !ascii;
}

// Half-width katakana: letters (including ｦ, the small letters and ｰ), and the
// letters that take the voiced and semi-voiced sound marks.
bool isHalfWidthLetter(char16_t u)
{
    return u >= 0xFF66 && u <= 0xFF9D;
}
bool takesVoicedMark(char16_t u)
{
    return u == 0xFF73 || (u >= 0xFF76 && u <= 0xFF84) || (u >= 0xFF8A && u <= 0xFF8E);
}
bool takesSemiVoicedMark(char16_t u)
{
    return u >= 0xFF8A && u <= 0xFF8E;
}

int halfWidthScore(char16_t u, char16_t previous)
{
    if (u == 0xFF9E)
        return takesVoicedMark(previous) ? 2 : -4;
    if (u == 0xFF9F)
        return takesSemiVoicedMark(previous) ? 2 : -4;
    // ｰ and the small letters follow a letter (which may carry a sound mark).
    if (u == 0xFF70 || (u >= 0xFF67 && u <= 0xFF6F))
        return isHalfWidthLetter(previous) || previous == 0xFF9E || previous == 0xFF9F ? 2 : -4;
    return isHalfWidthLetter(u) ? 2 : 0; // ｡｢｣､･ count for neither
}

// Bytes of an encoding name: ASCII letters, digits and - _ . :
bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == ':';
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return true;
    }
    return false;
}

// japaneseScore of text that follows the character `previous` (0: none);
// `previous` becomes the text's last character.
int scoreFrom(QStringView text, int kanjiWeight, char16_t& previous)
{
    int score = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3041 && u <= 0x3096) || (u >= 0x309B && u <= 0x30FE))
            score += 4; // hiragana, katakana and their marks
        else if ((u >= 0x3000 && u <= 0x303F) || (u >= 0xFF01 && u <= 0xFF60))
            score += 1;
        else if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF))
            score += kanjiWeight;
        else if (u >= 0xFF61 && u <= 0xFF9F)
            score += halfWidthScore(u, previous);
        else if ((u >= 0xE000 && u <= 0xFAFF) || u == 0xFFFD)
            score -= 4;
        previous = u;
    }
    return score;
}

} // namespace

QStringList shortList()
{
    return {QString::fromLatin1(kUtf8),    QStringLiteral("Shift_JIS"),
            QStringLiteral("EUC-JP"),      QStringLiteral("ISO-2022-JP"),
            QStringLiteral("UTF-16"),      QStringLiteral("ISO-8859-1"),
            QStringLiteral("Windows-1252")};
}

QString canonicalName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QString();
    if (trimmed.compare(QLatin1String("UTF-16"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("UTF-16LE");
    QStringDecoder decoder(trimmed.toLatin1().constData());
    if (!decoder.isValid())
        return QString();
    const QString known = QString::fromLatin1(decoder.name());
    for (const QString& listed : shortList()) {
        if (known.compare(listed, Qt::CaseInsensitive) == 0)
            return listed;
    }
    return known;
}

qsizetype firstInvalidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length;
        char32_t cp;
        char32_t minimum;
        if ((c & 0xE0) == 0xC0) {
            length = 2, cp = c & 0x1F, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, cp = c & 0x0F, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, cp = c & 0x07, minimum = 0x10000;
        } else {
            return i;
        }
        if (n - i < length)
            return i;
        for (int k = 1; k < length; ++k) {
            const uchar cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return i;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

bool isValidUtf8(QByteArrayView bytes)
{
    return firstInvalidUtf8(bytes) < 0;
}

int japaneseScore(const QString& text, int kanjiWeight)
{
    char16_t previous = 0;
    return scoreFrom(text, kanjiWeight, previous);
}

bool looksLikeIso2022Jp(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<uchar>(c) >= 0x80)
            return false;
    }
    for (const char* escape : {"\x1b$@", "\x1b$B", "\x1b$(D", "\x1b(J", "\x1b(I"}) {
        if (bytes.indexOf(QByteArrayView(escape)) >= 0)
            return true;
    }
    return false;
}

QString utf16ByteOrder(QByteArrayView bytes)
{
    if (bytes.startsWith("\xff\xfe"))
        return QStringLiteral("UTF-16LE");
    if (bytes.startsWith("\xfe\xff"))
        return QStringLiteral("UTF-16BE");
    return QString();
}

bool encode(const QString& text, const QString& encoding, QByteArray& bytes, qsizetype& lostAt)
{
    QStringEncoder encoder = encoderFor(encoding);
    QStringDecoder decoder = decoderFor(encoding);
    if (!encoder.isValid() || !decoder.isValid()) {
        lostAt = -1;
        return false;
    }
    QByteArray out = encoder.encode(text);
    const bool iso2022Jp = encoding == QLatin1String(kIso2022Jp);
    if (iso2022Jp && endsOutsideAscii(out))
        out += kReturnToAscii;
    const QString back = decoder.decode(out);
    if (encoder.hasError() || decoder.hasError() || back != text) {
        qsizetype i = 0;
        const qsizetype n = qMin(text.size(), back.size());
        while (i < n && text.at(i) == back.at(i))
            ++i;
        if (i >= text.size())
            i = text.size() - 1;
        if (i > 0 && text.at(i).isLowSurrogate())
            --i;
        lostAt = qMax<qsizetype>(i, 0);
        return false;
    }
    bytes = std::move(out);
    return true;
}

bool decodeExactly(QByteArrayView bytes, const QString& encoding, QString& text)
{
    QStringDecoder decoder = decoderFor(encoding);
    if (!decoder.isValid())
        return false;
    if (isUtf16(encoding) && utf16ByteOrder(bytes) != encoding)
        return false; // UTF-16 is recognised by its byte-order mark
    QString decoded = decoder.decode(bytes);
    // A lone surrogate (UTF-16 can hold one) has no UTF-8 form: the text
    // could not be edited without losing it.
    if (decoder.hasError() || hasLoneSurrogate(decoded))
        return false;
    QByteArray back;
    qsizetype lostAt;
    if (!encode(decoded, encoding, back, lostAt))
        return false;
    const bool exact = back == bytes;
    const bool onlyReturnAdded = encoding == QLatin1String(kIso2022Jp) &&
                                 back.size() == bytes.size() + kReturnToAscii.size() &&
                                 back.startsWith(bytes) && endsOutsideAscii(bytes);
    if (!exact && !onlyReturnAdded)
        return false;
    text = std::move(decoded);
    return true;
}

NameSpan declaredCharsetSpan(QByteArrayView bytes)
{
    const QByteArray head =
        bytes.first(qMin<qsizetype>(bytes.size(), 4096)).toByteArray().toLower();
    auto nameAt = [&head](qsizetype pos) {
        while (pos < head.size() && (head[pos] == ' ' || head[pos] == '"' || head[pos] == '\''))
            ++pos;
        qsizetype end = pos;
        while (end < head.size() && isNameByte(head[end]))
            ++end;
        return NameSpan{end > pos ? pos : -1, end - pos};
    };
    // Spaces around "=" are allowed in both forms.
    auto valueAfter = [&head, &nameAt](qsizetype keyEnd, qsizetype limit) -> NameSpan {
        qsizetype pos = keyEnd;
        while (pos < limit && QByteArrayView(" \t\r\n").contains(head[pos]))
            ++pos;
        if (pos >= limit || head[pos] != '=')
            return {};
        ++pos;
        while (pos < limit && QByteArrayView(" \t\r\n").contains(head[pos]))
            ++pos;
        return nameAt(pos);
    };

    if (head.startsWith("<?xml")) {
        const qsizetype close = head.indexOf("?>");
        const qsizetype key = head.indexOf("encoding");
        if (key > 0 && (close < 0 || key < close)) {
            const NameSpan name = valueAfter(key + 8, close < 0 ? head.size() : close);
            if (name.offset >= 0)
                return name;
        }
    }
    for (qsizetype meta = head.indexOf("<meta"); meta >= 0;
         meta = head.indexOf("<meta", meta + 5)) {
        const qsizetype close = head.indexOf('>', meta);
        const qsizetype limit = close < 0 ? head.size() : close;
        for (qsizetype key = head.indexOf("charset", meta); key >= 0 && key < limit;
             key = head.indexOf("charset", key + 7)) {
            const NameSpan name = valueAfter(key + 7, limit);
            if (name.offset >= 0)
                return name;
        }
    }
    return {};
}

QByteArray declaredCharset(QByteArrayView bytes)
{
    const NameSpan name = declaredCharsetSpan(bytes);
    return name.offset < 0 ? QByteArray() : bytes.sliced(name.offset, name.length).toByteArray();
}

void PieceScan::feed(QByteArrayView piece)
{
    if (m_head.size() < 4096)
        m_head += piece.first(qMin<qsizetype>(piece.size(), 4096 - m_head.size()));
    for (qsizetype i = 0; i < piece.size() && !m_invalid; ++i) {
        const uchar c = static_cast<uchar>(piece[i]);
        if (m_needed > 0) {
            if ((c & 0xC0) != 0x80) {
                m_invalid = true;
                break;
            }
            m_codePoint = (m_codePoint << 6) | (c & 0x3F);
            if (--m_needed == 0 && (m_codePoint < m_minimum || m_codePoint > 0x10FFFF ||
                                    (m_codePoint >= 0xD800 && m_codePoint <= 0xDFFF)))
                m_invalid = true;
        } else if (c >= 0x80) {
            if ((c & 0xE0) == 0xC0)
                m_needed = 1, m_codePoint = c & 0x1F, m_minimum = 0x80;
            else if ((c & 0xF0) == 0xE0)
                m_needed = 2, m_codePoint = c & 0x0F, m_minimum = 0x800;
            else if ((c & 0xF8) == 0xF0)
                m_needed = 3, m_codePoint = c & 0x07, m_minimum = 0x10000;
            else
                m_invalid = true;
        }
    }
    if (m_nonAscii)
        return;
    if (std::any_of(piece.begin(), piece.end(), [](char c) { return uchar(c) >= 0x80; })) {
        m_nonAscii = true;
        return;
    }
    // An escape sequence (at most four bytes) may begin in the piece before.
    const QByteArray seam = m_tail + piece.first(qMin<qsizetype>(piece.size(), 3)).toByteArray();
    for (QByteArrayView text : {QByteArrayView(seam), piece}) {
        if (!m_escape && TextEncoding::looksLikeIso2022Jp(text))
            m_escape = true;
    }
    m_tail =
        piece.size() >= 3 ? piece.last(3).toByteArray() : (m_tail + piece.toByteArray()).right(3);
}

PieceRoundTrip::PieceRoundTrip(const QString& encoding, int kanjiWeight)
    : m_encoding(encoding), m_kanjiWeight(kanjiWeight), m_decoder(decoderFor(encoding)),
      m_encoder(encoderFor(encoding))
{
    m_failed = !m_decoder.isValid() || !m_encoder.isValid() || isUtf16(encoding) ||
               encoding == QLatin1String(kIso2022Jp);
}

bool PieceRoundTrip::feed(QByteArrayView piece)
{
    if (m_failed)
        return false;
    const QString text = m_decoder.decode(piece);
    const QByteArray back = m_encoder.encode(text);
    m_unverified.append(piece);
    if (m_decoder.hasError() || m_encoder.hasError() || !m_unverified.startsWith(back)) {
        m_failed = true;
        return false;
    }
    // What the decoder keeps back (a character cut at the piece's end) is
    // checked with the next piece.
    m_unverified.remove(0, back.size());
    m_score += scoreFrom(text, m_kanjiWeight, m_previous);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        m_utf8Length += u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isSurrogate(u) ? 2 : 3;
    }
    if (m_head.size() < 4096)
        m_head += text;
    return true;
}

bool PieceRoundTrip::exact() const
{
    return !m_failed && m_unverified.isEmpty();
}

} // namespace TextEncoding
