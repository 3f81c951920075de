#include "document/text_reader.h"

#include "document/document_file.h"
#include "document/text_decoding.h"
#include "document/text_encoding.h"

#include <QFile>
#include <QHash>

#include <functional>
#include <new>

namespace TextReader {
namespace {

// Encodings known to decode each character on its own, whose round trip
// can be checked piece by piece; any other encoding is checked on the whole
// file.
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
        return QStringLiteral("読み込み中にエラーが発生しました (%1)。").arg(m_file.errorString());
    }

private:
    QFile& m_file;
    QByteArray m_buffer;
};

// The answers about a file whose bytes have gone to the sink once: an
// encoding is tried by going through the file again piece by piece, and
// only an encoding whose round trip needs the whole text has the file read
// whole (kept for its conversion).
class PieceProbe : public TextDecoding::Probe
{
public:
    PieceProbe(PieceReader& reader, qint64 length, const TextEncoding::PieceScan& scan)
        : m_reader(reader), m_length(length), m_scan(scan)
    {
    }

    QByteArrayView head() override { return m_scan.head(); }
    bool validUtf8() override { return m_scan.validUtf8(); }
    bool nonAscii() override { return m_scan.nonAscii(); }
    bool looksLikeIso2022Jp() override { return m_scan.looksLikeIso2022Jp(); }

    Reading read(const QString& encoding, int kanjiWeight) override
    {
        if (!checkedInPieces(encoding))
            return readWhole(encoding, kanjiWeight);
        TextEncoding::PieceRoundTrip roundTrip(encoding, qMax(kanjiWeight, 0));
        if (m_reader.forEach(m_length,
                             [&](QByteArrayView piece) { return roundTrip.feed(piece); }) < 0) {
            m_error = m_reader.error();
            return {};
        }
        m_utf8Lengths.insert(encoding, roundTrip.utf8Length());
        return {roundTrip.exact(), roundTrip.score(), roundTrip.head()};
    }

    // Why reading the file failed meanwhile; empty when it did not.
    const QString& error() const { return m_error; }
    // For an encoding read() tried: whether its text was decoded whole.
    bool decodedWhole(const QString& encoding) const { return m_decoded.contains(encoding); }
    // Its text in UTF-8, decoded whole; the file's bytes are let go first.
    QByteArray takeWholeText(const QString& encoding)
    {
        m_bytes = QByteArray();
        return m_decoded.take(encoding).toUtf8();
    }
    // The length in UTF-8 of its text, from its round trip in pieces.
    qint64 utf8Length(const QString& encoding) const { return m_utf8Lengths.value(encoding); }

private:
    Reading readWhole(const QString& encoding, int kanjiWeight)
    {
        try {
            if (m_bytes.isNull() && !readBytes())
                return {};
            QString text;
            const Reading reading = TextDecoding::readWhole(m_bytes, encoding, kanjiWeight, text);
            if (reading.exact)
                m_decoded.insert(encoding, text);
            return reading;
        } catch (const std::bad_alloc&) {
            m_error = DocumentFile::outOfMemoryReason();
            return {};
        }
    }

    bool readBytes()
    {
        m_bytes = QByteArray(0, Qt::Uninitialized);
        m_bytes.reserve(m_length);
        if (m_reader.forEach(m_length, [this](QByteArrayView piece) {
                m_bytes.append(piece);
                return true;
            }) != m_length) {
            m_error = m_reader.error();
            return false;
        }
        return true;
    }

    PieceReader& m_reader;
    qint64 m_length;
    const TextEncoding::PieceScan& m_scan;
    QString m_error;
    QByteArray m_bytes;
    QHash<QString, QString> m_decoded;
    QHash<QString, qint64> m_utf8Lengths;
};

struct Reading
{
    const QString& path;
    PieceReader& reader;
    CTextSink& sink;
    QString& errorMessage;
    qint64 length = 0;

    bool fail(const QString& reason)
    {
        errorMessage = DocumentFile::cannotReadMessage(path, reason);
        return false;
    }

    // Puts text decoded whole into the sink in place of the file's bytes.
    bool takeWhole(PieceProbe& probe, const QString& encoding)
    {
        try {
            const QByteArray text = probe.takeWholeText(encoding);
            if (text.size() > DocumentFile::kMaxTextBytes || !sink.beginText(text.size()) ||
                !sink.appendText(text))
                return fail(DocumentFile::outOfMemoryReason());
            return true;
        } catch (const std::bad_alloc&) {
            return fail(DocumentFile::outOfMemoryReason());
        }
    }

    // Decodes the file piece by piece into the sink in place of its bytes.
    bool convert(qint64 utf8Length, const QString& encoding)
    {
        if (utf8Length > DocumentFile::kMaxTextBytes || !sink.beginText(utf8Length))
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
                                 : QStringLiteral("読み込み中にファイルが短くなりました。"));
        return true;
    }
};

} // namespace

bool read(const QString& path, CTextSink& sink, Kind& kind, QString& errorMessage, qint64 pieceSize)
{
    QFile file;
    if (!DocumentFile::openForReading(path, file, errorMessage))
        return false;
    PieceReader reader(file, qMax<qint64>(1, pieceSize));
    Reading reading{path, reader, sink, errorMessage};
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

    PieceProbe probe(reader, reading.length, scan);
    const TextDecoding::Kind found = TextDecoding::detect(probe);
    if (!probe.error().isEmpty())
        return reading.fail(probe.error());
    // Text that is not converted is the bytes already in the sink.
    if (!found.encoding.isEmpty()) {
        const bool held = probe.decodedWhole(found.encoding)
                              ? reading.takeWhole(probe, found.encoding)
                              : reading.convert(probe.utf8Length(found.encoding), found.encoding);
        if (!held)
            return false;
    }
    kind = found;
    return true;
}

} // namespace TextReader
