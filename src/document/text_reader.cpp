#include "document/text_reader.h"

#include "document/document_file.h"
#include "document/text_encoding.h"

#include <QFile>

#include <functional>
#include <new>

namespace TextReader {
namespace {

// Shift_JIS text that is also valid EUC-JP cannot hold hiragana, katakana or
// most everyday kanji, so kanji in such a reading are most likely EUC-JP
// half-width katakana read wrongly (as DocumentFile::decode weighs them).
constexpr int kShiftJisKanjiWeight = 1;
constexpr int kEucJpKanjiWeight = 3;

// Encodings known to decode each character on its own, whose round trip
// can be checked piece by piece; any other declared encoding is checked on
// the whole file.
bool checkedInPieces(const QString& encoding)
{
    for (const char* name : {"Shift_JIS", "EUC-JP", "ISO-8859-1", "Windows-1252"}) {
        if (encoding == QLatin1String(name))
            return true;
    }
    return false;
}

// Reads a file in pieces from its start, as often as asked.
class PieceReader
{
public:
    PieceReader(QFile& file, qint64 pieceSize)
        : m_file(file), m_buffer(pieceSize, Qt::Uninitialized)
    {
    }

    // Hands at most `limit` bytes to f piece by piece until f returns false
    // or the file ends (a file that became shorter ends early). Returns the
    // number of bytes read, or -1 on a read error.
    qint64 forEach(qint64 limit, const std::function<bool(QByteArrayView)>& f)
    {
        if (!m_file.seek(0))
            return -1;
        qint64 done = 0;
        while (done < limit) {
            const qint64 got =
                m_file.read(m_buffer.data(), qMin(qint64(m_buffer.size()), limit - done));
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            done += got;
            if (!f(QByteArrayView(m_buffer.constData(), got)))
                break;
        }
        return done;
    }

    QString error() const
    {
        return QStringLiteral("読み込み中にｴﾗｰが発生しました (%1)。").arg(m_file.errorString());
    }

private:
    QFile& m_file;
    QByteArray m_buffer;
};

struct Reading
{
    const QString& path;
    PieceReader& reader;
    TextSink& sink;
    Kind& kind;
    QString& errorMessage;
    qint64 length = 0;

    bool fail(const QString& reason)
    {
        errorMessage = DocumentFile::cannotReadMessage(path, reason);
        return false;
    }

    // UTF-16, ISO-2022-JP and encodings not checked in pieces: decoded from
    // the whole file, exactly as read() decodes it.
    bool decodeWhole()
    {
        try {
            QByteArray bytes;
            bytes.reserve(length);
            if (reader.forEach(length, [&](QByteArrayView piece) {
                    bytes.append(piece);
                    return true;
                }) != length)
                return fail(reader.error());
            const DocumentFile::Text text = DocumentFile::decode(bytes);
            kind = {text.encoding, text.unconverted};
            if (text.encoding.isEmpty())
                return true; // the bytes in the sink stay
            bytes = QByteArray();
            if (text.bytes.size() > DocumentFile::kMaxTextBytes ||
                !sink.beginText(text.bytes.size()) || !sink.appendText(text.bytes))
                return fail(DocumentFile::outOfMemoryReason());
            return true;
        } catch (const std::bad_alloc&) {
            return fail(DocumentFile::outOfMemoryReason());
        }
    }

    bool check(TextEncoding::PieceRoundTrip& roundTrip)
    {
        const qint64 read =
            reader.forEach(length, [&](QByteArrayView piece) { return roundTrip.feed(piece); });
        return read >= 0 || fail(reader.error());
    }

    bool convert(const TextEncoding::PieceRoundTrip& roundTrip, const QString& encoding)
    {
        if (roundTrip.utf8Length() > DocumentFile::kMaxTextBytes ||
            !sink.beginText(roundTrip.utf8Length()))
            return fail(DocumentFile::outOfMemoryReason());
        QStringDecoder decoder(encoding.toLatin1().constData());
        bool held = true;
        const qint64 read = reader.forEach(length, [&](QByteArrayView piece) {
            held = sink.appendText(QString(decoder.decode(piece)).toUtf8());
            return held;
        });
        if (!held)
            return fail(DocumentFile::outOfMemoryReason());
        if (read != length)
            return fail(read < 0 ? reader.error()
                                 : QStringLiteral("読み込み中にﾌｧｲﾙが短くなりました。"));
        kind = {encoding, false};
        return true;
    }
};

} // namespace

bool read(const QString& path, TextSink& sink, Kind& kind, QString& errorMessage, qint64 pieceSize)
{
    QFile file;
    if (!DocumentFile::openForReading(path, file, errorMessage))
        return false;
    PieceReader reader(file, qMax<qint64>(1, pieceSize));
    Reading reading{path, reader, sink, kind, errorMessage};
    kind = {};

    // The bytes go to the sink as they are read, and are looked at meanwhile.
    if (!sink.beginText(file.size()))
        return reading.fail(DocumentFile::outOfMemoryReason());
    TextEncoding::PieceScan scan;
    bool held = true;
    reading.length = reader.forEach(file.size(), [&](QByteArrayView piece) {
        held = sink.appendText(piece);
        scan.feed(piece);
        return held;
    });
    if (!held)
        return reading.fail(DocumentFile::outOfMemoryReason());
    if (reading.length < 0)
        return reading.fail(reader.error());

    // The order of DocumentFile::decode.
    if (!TextEncoding::utf16ByteOrder(scan.head()).isEmpty() || scan.looksLikeIso2022Jp())
        return reading.decodeWhole();
    if (scan.validUtf8() && scan.nonAscii())
        return true;
    const QByteArray declared = TextEncoding::declaredCharset(scan.head());
    const QString name = TextEncoding::canonicalName(QString::fromLatin1(declared));
    if (!name.isEmpty() && name != QLatin1String(TextEncoding::kUtf8) &&
        !name.startsWith(QLatin1String("UTF-"))) {
        // Encodings that switch state by escape sequences are checked whole.
        if (!checkedInPieces(name))
            return reading.decodeWhole();
        TextEncoding::PieceRoundTrip roundTrip(name, 0);
        if (!reading.check(roundTrip))
            return false;
        // The declaration must read the same in its own encoding.
        if (roundTrip.exact() && roundTrip.head().contains(QString::fromLatin1(declared)))
            return reading.convert(roundTrip, name);
    }
    if (scan.validUtf8())
        return true;

    // Shift_JIS wins a tie.
    const QString shiftJisName = QStringLiteral("Shift_JIS");
    const QString eucJpName = QStringLiteral("EUC-JP");
    TextEncoding::PieceRoundTrip shiftJis(shiftJisName, kShiftJisKanjiWeight);
    TextEncoding::PieceRoundTrip eucJp(eucJpName, kEucJpKanjiWeight);
    if (!reading.check(shiftJis) || !reading.check(eucJp))
        return false;
    if (shiftJis.exact() && (!eucJp.exact() || shiftJis.score() >= eucJp.score()))
        return reading.convert(shiftJis, shiftJisName);
    if (eucJp.exact())
        return reading.convert(eucJp, eucJpName);
    kind.unconverted = true;
    return true;
}

} // namespace TextReader
