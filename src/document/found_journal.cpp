#include "document/found_journal.h"

#include "document/document_file.h"
#include "document/journal_pieces.h"
#include "document/text_decoding.h"

#include <QFile>
#include <QFileInfo>

#include <new>

namespace {

// A view taking a restored text: the base as a text loaded, the edits as
// changes of that loading.
class ViewTarget : public JournalReplay::EditTarget
{
public:
    explicit ViewTarget(CDocumentText& view) : m_view(view) {}
    bool beginText(qint64 size) override { return m_view.beginText(size); }
    bool appendText(QByteArrayView piece) override { return m_view.appendText(piece); }
    bool insertBytes(qint64 position, QByteArrayView bytes) override
    {
        return m_view.insertLoaded(position, bytes);
    }
    void removeBytes(qint64 position, qint64 length) override
    {
        m_view.removeLoaded(position, length);
    }
    qint64 length() const override { return m_view.textLength(); }

private:
    CDocumentText& m_view;
};

// The document's file as the journal's document held it: read as opening
// reads it, or, when the user had chosen another encoding, decoded in that.
bool readAsRecorded(const EditJournal::Fields& fields, CTextSink& sink)
{
    TextReader::Kind kind;
    QString error;
    if (!TextReader::read(fields.path, sink, kind, error))
        return false;
    if (kind.encoding == fields.encoding && kind.unconverted == fields.unconverted)
        return true;
    QByteArray bytes;
    if (!DocumentFile::readBytes(fields.path, bytes, error))
        return false;
    TextDecoding::Text text{bytes, QString(), fields.unconverted};
    QString reason;
    if (!fields.encoding.isEmpty() && !TextDecoding::decodeAs(bytes, fields.encoding, text, reason))
        return false;
    bytes.clear();
    return sink.beginText(text.bytes.size()) && sink.appendText(text.bytes);
}

} // namespace

CFoundJournal CFoundJournal::read(const QString& file)
{
    CFoundJournal found;
    found.file = file;
    QFile f(file);
    try {
        if (f.open(QIODevice::ReadOnly))
            found.bytes = f.readAll();
    } catch (const std::bad_alloc&) {
        found.bytes.clear();
    }
    if (f.error() != QFileDevice::NoError) {
        found.reading.fault = EditJournal::Fault::Damaged;
        return found;
    }
    found.reading = EditJournal::read(found.bytes);
    if (found.reading.hasHeader) {
        CJournalPieces pieces(found.reading.header.baseLength);
        for (const EditJournal::Record& record : found.reading.records) {
            if (record.kind == EditJournal::Record::Insert)
                pieces.insert(record.position,
                              QByteArrayView(found.bytes).sliced(record.payload, record.length));
            else if (record.kind == EditJournal::Record::Delete)
                pieces.remove(record.position, record.length);
        }
        found.unchanged = pieces.isUnchanged();
    }
    return found;
}

QList<JournalReplay::BaseLoader> CFoundJournal::bases() const
{
    QList<JournalReplay::BaseLoader> loaders;
    const EditJournal::Header& header = reading.header;
    if (!header.baseCopy.isEmpty())
        loaders.append(JournalReplay::fileBase(QFileInfo(file).absolutePath() + QLatin1Char('/') +
                                               header.baseCopy));
    if (!header.fields.path.isEmpty()) {
        const EditJournal::Fields fields = header.fields;
        loaders.append([fields](CTextSink& sink) { return readAsRecorded(fields, sink); });
    } else if (header.baseCopy.isEmpty()) {
        loaders.append(JournalReplay::bytesBase(QByteArray()));
    }
    return loaders;
}

JournalReplay::Outcome CFoundJournal::restore(JournalReplay::EditTarget& target) const
{
    return JournalReplay::restore(reading, bytes, bases(), target);
}

JournalReplay::Outcome CFoundJournal::restoreInto(CDocumentText& view) const
{
    ViewTarget target(view);
    const JournalReplay::Outcome outcome = restore(target);
    view.finishText();
    if (outcome != JournalReplay::Outcome::Restored)
        view.loadBytes(QByteArray());
    return outcome;
}
