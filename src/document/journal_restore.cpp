#include "document/journal_restore.h"

#include "document/journal_pieces.h"

#include <QFile>
#include <QFileInfo>

#include <new>

FoundJournal FoundJournal::read(const QString& file)
{
    FoundJournal found;
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
        JournalPieces pieces(found.reading.header.baseLength);
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

QList<JournalReplay::BaseLoader> FoundJournal::bases(const FileReader& readFile) const
{
    QList<JournalReplay::BaseLoader> loaders;
    const EditJournal::Header& header = reading.header;
    if (!header.baseCopy.isEmpty())
        loaders.append(JournalReplay::fileBase(QFileInfo(file).absolutePath() + QLatin1Char('/') +
                                               header.baseCopy));
    if (!header.fields.path.isEmpty()) {
        const QString path = header.fields.path;
        loaders.append([path, readFile](TextSink& sink) { return readFile(path, sink); });
    } else if (header.baseCopy.isEmpty()) {
        loaders.append(JournalReplay::bytesBase(QByteArray()));
    }
    return loaders;
}

JournalReplay::Outcome FoundJournal::restore(JournalReplay::EditTarget& target,
                                             const FileReader& readFile) const
{
    return JournalReplay::restore(reading, bytes, bases(readFile), target);
}
