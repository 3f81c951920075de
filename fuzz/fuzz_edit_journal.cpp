// Reading a journal of edits: whatever the bytes, reading never fails
// badly; what it trusts reads back the same when written again and when
// read on its own; a journal cut anywhere inside what was trusted is
// reported as cut, never as damaged, and keeps the records before the cut;
// and replaying the trusted records, one by one in the gap buffer or in one
// pass through their pieces, gives what plain inserts and removals give.

#include "document/edit_journal.h"
#include "document/journal_pieces.h"
#include "document/journal_replay.h"
#include "fuzz_support.h"

#include <QCoreApplication>

namespace {

using namespace EditJournal;

QByteArray describe(const Record& r, QByteArrayView bytes)
{
    QByteArray out = QByteArray(1, char(r.kind)) + ' ' + QByteArray::number(r.position) + ' ' +
                     QByteArray::number(r.length);
    if (r.kind == Record::Insert)
        out += ' ' + bytes.sliced(r.payload, r.length).toByteArray();
    return out;
}

// The journal's meaning: its header and each record, payloads included.
QByteArrayList meaning(const Reading& r, QByteArrayView bytes)
{
    QByteArrayList out;
    for (const Record& record : r.records)
        out.append(describe(record, bytes));
    return out;
}

QByteArray encodeAgain(const Reading& r, QByteArrayView bytes)
{
    QByteArray out = encodeHeader(r.header);
    for (const Record& record : r.records) {
        if (record.kind == Record::Insert)
            appendInsert(out, record.position, bytes.sliced(record.payload, record.length));
        else if (record.kind == Record::Delete)
            appendDelete(out, record.position, record.length);
        else
            appendFields(out, r.fieldChanges[record.fields]);
    }
    return out;
}

void checkReplay(const Reading& r, QByteArrayView bytes)
{
    if (r.header.baseLength > (1 << 20) || r.records.size() > 20000)
        return;
    QByteArray plain(r.header.baseLength, 'b');
    for (qsizetype i = 0; i < plain.size(); ++i)
        plain[i] = char('a' + i % 26);
    // The records carried out one by one on a gap buffer, and in one pass
    // through the pieces they make.
    JournalReplay::GapText gap;
    JournalReplay::GapText pass;
    CJournalPieces pieces(plain.size());
    FUZZ_CHECK(JournalReplay::bytesBase(plain)(gap), plain.left(64));
    FUZZ_CHECK(JournalReplay::bytesBase(plain)(pass), plain.left(64));
    for (const Record& record : r.records) {
        if (record.kind == Record::Insert) {
            const QByteArrayView payload = bytes.sliced(record.payload, record.length);
            plain.insert(record.position, payload);
            FUZZ_CHECK(gap.insertBytes(record.position, payload), describe(record, bytes));
            FUZZ_CHECK(pieces.insert(record.position, payload), describe(record, bytes));
        } else if (record.kind == Record::Delete) {
            plain.remove(record.position, record.length);
            gap.removeBytes(record.position, record.length);
            pieces.remove(record.position, record.length);
        }
    }
    FUZZ_CHECK(plain.size() == r.textLength && pieces.length() == r.textLength, plain.left(64));
    FUZZ_CHECK(gap.take() == plain, plain.left(64));
    FUZZ_CHECK(pieces.applyTo(pass) && pass.take() == plain, plain.left(64));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Reading r = read(bytes);
    FUZZ_CHECK(r.trustedBytes <= bytes.size(), bytes.toByteArray());
    FUZZ_CHECK(r.isWhole() == (r.hasHeader && r.trustedBytes == bytes.size()), bytes.toByteArray());
    if (!r.hasHeader)
        return 0;
    const QByteArrayList records = meaning(r, bytes);

    const QByteArray again = encodeAgain(r, bytes);
    const Reading reread = read(again);
    FUZZ_CHECK(reread.isWhole() && reread.header == r.header, again);
    FUZZ_CHECK(meaning(reread, again) == records && reread.fieldChanges == r.fieldChanges, again);

    const QByteArrayView trusted = bytes.first(r.trustedBytes);
    const Reading alone = read(trusted);
    FUZZ_CHECK(alone.isWhole() && meaning(alone, trusted) == records, trusted.toByteArray());

    // Cut inside the trusted part, at a place the input's last byte picks.
    const qsizetype cut = size > 0 ? qsizetype(data[size - 1]) * r.trustedBytes / 256 : 0;
    const Reading prefix = read(bytes.first(cut));
    FUZZ_CHECK(prefix.fault == Fault::None || prefix.fault == Fault::Truncated,
               bytes.first(cut).toByteArray());
    const QByteArrayList kept = meaning(prefix, bytes);
    FUZZ_CHECK(kept == records.mid(0, kept.size()), bytes.first(cut).toByteArray());

    checkReplay(r, bytes);
    return 0;
}
