#include "document/edit_journal.h"

#include "document/document_file.h"
#include "document/line_end_names.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <charconv>

namespace EditJournal {
namespace {

constexpr QByteArrayView kMagic = "MARQUILL-JOURNAL ";
// The longest record line: a kind, two numbers of up to 18 digits and a CRC.
constexpr qsizetype kMaxLine = 64;
constexpr int kMaxDigits = 18;

constexpr std::array<quint32, 256> crcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<quint32, 256> kCrcTable = crcTable();

void putFields(QJsonObject& o, const Fields& fields)
{
    o.insert(QStringLiteral("path"), fields.path);
    o.insert(QStringLiteral("title"), fields.title);
    o.insert(QStringLiteral("encoding"), fields.encoding);
    o.insert(QStringLiteral("unconverted"), fields.unconverted);
    o.insert(QStringLiteral("savedUtf8"),
             QString::fromLatin1(fields.savedUtf8Characters.toBase64()));
    o.insert(QStringLiteral("lineEnd"), LineEndNames::nameOf(fields.lineEnd));
}

bool takeFields(const QJsonObject& o, Fields& fields)
{
    const auto savedUtf8 =
        QByteArray::fromBase64Encoding(o.value(QStringLiteral("savedUtf8")).toString().toLatin1(),
                                       QByteArray::AbortOnBase64DecodingErrors);
    fields.path = o.value(QStringLiteral("path")).toString();
    fields.title = o.value(QStringLiteral("title")).toString();
    fields.encoding = o.value(QStringLiteral("encoding")).toString();
    fields.unconverted = o.value(QStringLiteral("unconverted")).toBool();
    fields.savedUtf8Characters = savedUtf8.decoded;
    fields.lineEnd = LineEndNames::fromName(o.value(QStringLiteral("lineEnd")).toString());
    return savedUtf8.decodingStatus == QByteArray::Base64DecodingStatus::Ok &&
           !fields.lineEnd.isEmpty() && !fields.title.isEmpty();
}

bool isHex(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// A base copy is named by a plain file name in the journal's own folder.
bool isPlainName(const QString& name)
{
    return !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..") && !name.contains(QChar(0));
}

bool readHeader(QByteArrayView json, Header& header)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    bool pidOk = false;
    bool lengthOk = false;
    header.instance = o.value(QStringLiteral("instance")).toString();
    header.pid = o.value(QStringLiteral("pid")).toString().toLongLong(&pidOk);
    header.bootId = o.value(QStringLiteral("bootId")).toString();
    header.started =
        QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODateWithMs);
    header.baseCopy = o.value(QStringLiteral("baseCopy")).toString();
    header.baseLength = o.value(QStringLiteral("baseLength")).toString().toLongLong(&lengthOk);
    header.baseDigest = o.value(QStringLiteral("baseDigest")).toString().toLatin1();
    return takeFields(o, header.fields) && pidOk && header.started.isValid() && lengthOk &&
           header.baseLength >= 0 && header.baseLength <= DocumentFile::kMaxTextBytes &&
           header.baseDigest.size() == 64 && isHex(header.baseDigest) &&
           isPlainName(header.baseCopy);
}

// Appends one record: its line (without the CRC) is `line`, its bytes `payload`.
void appendRecord(QByteArray& out, QByteArrayView line, QByteArrayView payload, bool hasPayload)
{
    const quint32 crc = crc32(payload, crc32(line));
    char hex[9];
    for (int i = 0; i < 8; ++i)
        hex[i] = "0123456789abcdef"[(crc >> (28 - 4 * i)) & 0xF];
    hex[8] = '\n';
    out.append(line);
    out.append(' ');
    out.append(hex, 9);
    if (hasPayload) {
        out.append(payload);
        out.append('\n');
    }
}

// "<kind> <a> <b>" or "<kind> <a>" in `buffer`; the view of what was written.
QByteArrayView recordLine(char* buffer, char kind, qint64 a, qint64 b, bool two)
{
    char* p = buffer;
    *p++ = kind;
    *p++ = ' ';
    p = std::to_chars(p, buffer + 48, a).ptr;
    if (two) {
        *p++ = ' ';
        p = std::to_chars(p, buffer + 48, b).ptr;
    }
    return QByteArrayView(buffer, p - buffer);
}

// A decimal number of the form the writer gives (no sign, no leading zero).
bool parseNumber(QByteArrayView text, qint64& value)
{
    if (text.isEmpty() || text.size() > kMaxDigits || (text.size() > 1 && text[0] == '0'))
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Reads records one by one, keeping the text's length to check each range.
class RecordReader
{
public:
    RecordReader(QByteArrayView bytes, Reading& reading) : m_bytes(bytes), m_reading(reading) {}

    // Reads the record at `pos`; false with the fault set when it cannot be trusted.
    bool next(qsizetype& pos)
    {
        const qsizetype lineEnd = m_bytes.indexOf('\n', pos);
        const qsizetype lineLimit = std::min(m_bytes.size(), pos + kMaxLine);
        if (lineEnd < 0 || lineEnd > lineLimit)
            return fail(lineEnd < 0 && m_bytes.size() - pos < kMaxLine ? Fault::Truncated
                                                                       : Fault::Damaged);
        const QByteArrayView line = m_bytes.sliced(pos, lineEnd - pos);
        QByteArrayView fields[4];
        int count = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            if (i < line.size() && line[i] != ' ')
                continue;
            if (count == 4)
                return fail(Fault::Damaged);
            fields[count++] = line.sliced(start, i - start);
            start = i + 1;
        }
        if (count < 3 || fields[0].size() != 1)
            return fail(Fault::Damaged);
        const char kind = fields[0][0];
        const bool edit = kind == Record::Insert || kind == Record::Delete;
        const bool carries = kind != Record::Delete;
        if (count != (edit ? 4 : 3) || !(edit || kind == 'H' || kind == Record::ChangeFields))
            return fail(Fault::Damaged);
        if ((kind == 'H') != !m_reading.hasHeader)
            return fail(Fault::Damaged);
        qint64 position = 0;
        qint64 length = 0;
        if ((edit && !parseNumber(fields[1], position)) ||
            !parseNumber(fields[edit ? 2 : 1], length))
            return fail(Fault::Damaged);
        const QByteArrayView crcText = fields[count - 1];
        if (crcText.size() != 8 || !isHex(crcText) || length > DocumentFile::kMaxTextBytes)
            return fail(Fault::Damaged);
        qsizetype end = lineEnd + 1;
        QByteArrayView payload;
        if (carries) {
            if (m_bytes.size() - end < length + 1)
                return fail(Fault::Truncated);
            payload = m_bytes.sliced(end, length);
            end += length + 1;
            if (m_bytes[end - 1] != '\n')
                return fail(Fault::Damaged);
        }
        const QByteArrayView signedLine = line.first(line.size() - 9);
        if (crc32(payload, crc32(signedLine)) != crcText.toByteArray().toUInt(nullptr, 16))
            return fail(Fault::Damaged);
        if (!take(kind, position, length, payload, lineEnd + 1))
            return fail(Fault::Damaged);
        pos = end;
        m_reading.trustedBytes = end;
        return true;
    }

private:
    bool fail(Fault fault)
    {
        m_reading.fault = fault;
        return false;
    }

    // Keeps a record whose form is sound; false when its meaning is not.
    bool take(char kind, qint64 position, qint64 length, QByteArrayView payload, qsizetype at)
    {
        Reading& r = m_reading;
        if (kind == 'H') {
            if (!readHeader(payload, r.header))
                return false;
            r.hasHeader = true;
            r.textLength = r.header.baseLength;
            return true;
        }
        Record record;
        record.kind = Record::Kind(kind);
        record.position = position;
        record.length = length;
        if (kind == Record::ChangeFields) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(payload.toByteArray(), &error);
            Fields fields;
            if (error.error != QJsonParseError::NoError || !doc.isObject() ||
                !takeFields(doc.object(), fields))
                return false;
            record.fields = r.fieldChanges.size();
            r.fieldChanges.append(fields);
        } else if (kind == Record::Insert) {
            if (position > r.textLength || length > DocumentFile::kMaxTextBytes - r.textLength)
                return false;
            record.payload = at;
            r.textLength += length;
        } else {
            if (position > r.textLength || length > r.textLength - position)
                return false;
            r.textLength -= length;
        }
        r.records.append(record);
        return true;
    }

    QByteArrayView m_bytes;
    Reading& m_reading;
};

} // namespace

QString faultText(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QString();
    case Fault::NotAJournal:
        return QStringLiteral("回復用のファイルではありません");
    case Fault::NewVersion:
        return QStringLiteral("新しい版の Marquill で書かれています");
    case Fault::Truncated:
        return QStringLiteral("途中で切れています");
    case Fault::Damaged:
        return QStringLiteral("内容が壊れています");
    case Fault::BaseMismatch:
        return QStringLiteral("元になるファイルが変わっています");
    }
    return QString();
}

QByteArray digestOf(QByteArrayView text)
{
    TextDigest digest;
    digest.add(text);
    return digest.result();
}

quint32 crc32(QByteArrayView bytes, quint32 crc)
{
    crc = ~crc;
    for (char c : bytes)
        crc = kCrcTable[(crc ^ quint8(c)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

QByteArray encodeHeader(const Header& header)
{
    QJsonObject o;
    putFields(o, header.fields);
    o.insert(QStringLiteral("instance"), header.instance);
    o.insert(QStringLiteral("pid"), QString::number(header.pid));
    o.insert(QStringLiteral("bootId"), header.bootId);
    o.insert(QStringLiteral("started"), header.started.toUTC().toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("baseCopy"), header.baseCopy);
    o.insert(QStringLiteral("baseLength"), QString::number(header.baseLength));
    o.insert(QStringLiteral("baseDigest"), QString::fromLatin1(header.baseDigest));
    const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
    QByteArray out = kMagic.toByteArray() + QByteArray::number(kVersion) + '\n';
    char line[48];
    appendRecord(out, recordLine(line, 'H', json.size(), 0, false), json, true);
    return out;
}

void appendInsert(QByteArray& out, qint64 position, QByteArrayView bytes)
{
    char line[48];
    appendRecord(out, recordLine(line, Record::Insert, position, bytes.size(), true), bytes, true);
}

void appendDelete(QByteArray& out, qint64 position, qint64 length)
{
    char line[48];
    appendRecord(out, recordLine(line, Record::Delete, position, length, true), {}, false);
}

void appendFields(QByteArray& out, const Fields& fields)
{
    QJsonObject o;
    putFields(o, fields);
    const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Compact);
    char line[48];
    appendRecord(out, recordLine(line, Record::ChangeFields, json.size(), 0, false), json, true);
}

Reading read(QByteArrayView bytes)
{
    Reading reading;
    if (!bytes.startsWith(kMagic)) {
        reading.fault = kMagic.startsWith(bytes) ? Fault::Truncated : Fault::NotAJournal;
        return reading;
    }
    const qsizetype versionEnd = bytes.indexOf('\n', kMagic.size());
    qint64 version = 0;
    if (versionEnd < 0) {
        const bool digits =
            bytes.size() - kMagic.size() <= kMaxDigits &&
            (bytes.size() == kMagic.size() || parseNumber(bytes.sliced(kMagic.size()), version));
        reading.fault = digits ? Fault::Truncated : Fault::Damaged;
        return reading;
    }
    if (!parseNumber(bytes.sliced(kMagic.size(), versionEnd - kMagic.size()), version) ||
        version < 1) {
        reading.fault = Fault::Damaged;
        return reading;
    }
    if (version > kVersion) {
        reading.fault = Fault::NewVersion;
        return reading;
    }
    RecordReader reader(bytes, reading);
    qsizetype pos = versionEnd + 1;
    while (pos < bytes.size() && reader.next(pos)) {
    }
    if (reading.fault == Fault::None && !reading.hasHeader)
        reading.fault = Fault::Truncated;
    return reading;
}

} // namespace EditJournal
