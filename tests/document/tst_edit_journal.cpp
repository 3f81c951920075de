#include "document/edit_journal.h"
#include "document/journal_replay.h"
#include "document/journal_writer.h"
#include "test_support.h"

#include <QThreadPool>

#include <csignal>
#include <sys/resource.h>

using namespace EditJournal;

Q_DECLARE_METATYPE(EditJournal::Fault)

namespace {

Fields sampleFields()
{
    Fields f;
    f.path = QStringLiteral("/home/user/web/見本.htm");
    f.title = QStringLiteral("見本.htm");
    f.encoding = QStringLiteral("Shift_JIS");
    f.lineEnd = "\r\n";
    return f;
}

Header headerFor(const QByteArray& base)
{
    Header h;
    h.fields = sampleFields();
    h.instance = QStringLiteral("0123456789abcdef0123456789abcdef");
    h.pid = 4242;
    h.bootId = QStringLiteral("boot");
    h.started = QDateTime(QDate(2026, 12, 7), QTime(13, 29, 41, 250), Qt::UTC);
    h.baseLength = base.size();
    h.baseDigest = digestOf(base);
    return h;
}

// A script of edits: "+<pos>:<text>" inserts, "-<pos>:<length>" deletes,
// "=<line end>" changes the fields to a line end of "LF" or "CR".
QByteArray journalOf(const QByteArray& base, const QStringList& edits)
{
    QByteArray out = encodeHeader(headerFor(base));
    for (const QString& edit : edits) {
        const QString arg = edit.mid(edit.indexOf(QLatin1Char(':')) + 1);
        const qint64 pos = edit.mid(1, edit.indexOf(QLatin1Char(':')) - 1).toLongLong();
        if (edit.startsWith(QLatin1Char('+'))) {
            appendInsert(out, pos, arg.toUtf8());
        } else if (edit.startsWith(QLatin1Char('-'))) {
            appendDelete(out, pos, arg.toLongLong());
        } else {
            Fields f = sampleFields();
            f.lineEnd = edit == QLatin1String("=LF") ? "\n" : "\r";
            appendFields(out, f);
        }
    }
    return out;
}

QByteArray restored(const QByteArray& journal, const QByteArray& base,
                    JournalReplay::Outcome* outcome = nullptr)
{
    JournalReplay::GapText text;
    const Reading reading = read(journal);
    const auto result =
        JournalReplay::restore(reading, journal, {JournalReplay::bytesBase(base)}, text);
    if (outcome)
        *outcome = result;
    return result == JournalReplay::Outcome::Restored ? text.take() : QByteArray("<none>");
}

const QByteArray kBase = "<P>本文</P>\r\n";

} // namespace

// The journal of edits: its form on disk, replaying it, what is refused, and
// writing it as edits come.
class TestEditJournal : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    // Catches records framed or replayed wrong: offsets after multi-byte
    // text, payloads holding line feeds, NUL bytes or record-like text, edits
    // at both ends, and a gap moved back and forth.
    void replaysEdits_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("no edits") << kBase << QStringList() << kBase;
        QTest::newRow("empty base")
            << QByteArray() << QStringList{"+0:abc", "+3:\n"} << QByteArray("abc\n");
        QTest::newRow("after Japanese")
            << kBase << QStringList{"+9:と追記"} << QByteArray("<P>本文と追記</P>\r\n");
        QTest::newRow("delete at end")
            << kBase << QStringList{"-13:2"} << QByteArray("<P>本文</P>");
        QTest::newRow("insert at 0, delete it") << kBase << QStringList{"+0:xy", "-0:2"} << kBase;
        QTest::newRow("record-like payload")
            << QByteArray("") << QStringList{"+0:I 0 3 00000000\n\nD 1 1"}
            << QByteArray("I 0 3 00000000\n\nD 1 1");
        QTest::newRow("NUL byte") << QByteArray("ab") << QStringList{QString::fromUtf8("+1:\0", 4)}
                                  << QByteArray("a\0b", 3);
        QTest::newRow("back and forth")
            << QByteArray("0123456789") << QStringList{"+10:a", "+0:b", "-5:3", "+6:c", "-0:1"}
            << QByteArray("01237c89a");
        QTest::newRow("fields between") << kBase << QStringList{"+0:a", "=LF", "-0:1"} << kBase;
    }
    void replaysEdits()
    {
        QFETCH(QByteArray, base);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, text);
        const QByteArray journal = journalOf(base, edits);
        QVERIFY(read(journal).isWhole());
        QCOMPARE(restored(journal, base), text);
    }

    // Catches a fields change lost on the way back (a restored document
    // typing the wrong line end), and a header read back changed.
    void keepsHeaderAndFields()
    {
        const Reading r = read(journalOf(kBase, {"+0:a", "=LF"}));
        QCOMPARE(r.header, headerFor(kBase));
        QCOMPARE(r.fields().lineEnd, QByteArray("\n"));
        QCOMPARE(r.fields().path, sampleFields().path);
    }

    // Catches a journal trusted past a fault: each row gives a journal cut
    // or changed at one place, the fault, and how many records stay trusted.
    void refuses_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("trusted");
        const QByteArray good = journalOf(kBase, {"+9:と追記", "-0:3", "+0:<p>"});
        const qsizetype second = good.indexOf("\nD ") + 1;
        const qsizetype payload = good.indexOf("と追記");
        const auto cut = [&](qsizetype n) { return good.left(n); };
        const auto changed = [&](qsizetype at, char c) {
            QByteArray b = good;
            b[at] = c;
            return b;
        };
        QTest::newRow("whole") << good << Fault::None << 3;
        QTest::newRow("cut in first line") << cut(10) << Fault::Truncated << 0;
        QTest::newRow("cut in header") << cut(good.indexOf("\nI ") - 5) << Fault::Truncated << 0;
        QTest::newRow("cut in payload") << cut(payload + 4) << Fault::Truncated << 0;
        QTest::newRow("cut before payload's end") << cut(second - 1) << Fault::Truncated << 0;
        QTest::newRow("cut in record line") << cut(second + 4) << Fault::Truncated << 1;
        QTest::newRow("payload changed") << changed(payload + 1, 'x') << Fault::Damaged << 0;
        QTest::newRow("CRC changed")
            << changed(second + 6, good[second + 6] == '0' ? '1' : '0') << Fault::Damaged << 1;
        QTest::newRow("unknown kind") << changed(second, 'X') << Fault::Damaged << 1;
        QTest::newRow("record line without end")
            << good + QByteArray(70, '7') << Fault::Damaged << 3;
        QTest::newRow("delete past the end")
            << good + QByteArray("D 30 5 ") +
                   QByteArray::number(crc32("D 30 5"), 16).rightJustified(8, '0') + '\n'
            << Fault::Damaged << 3;
        QTest::newRow("second header")
            << good + encodeHeader(headerFor(kBase)).mid(19) << Fault::Damaged << 3;
        QTest::newRow("newer version")
            << QByteArray(good).replace("JOURNAL 1", "JOURNAL 2") << Fault::NewVersion << 0;
        QTest::newRow("not a journal") << QByteArray("<HTML>") << Fault::NotAJournal << 0;
    }
    void refuses()
    {
        QFETCH(QByteArray, journal);
        QFETCH(Fault, fault);
        QFETCH(int, trusted);
        const Reading r = read(journal);
        QCOMPARE(r.fault, fault);
        QCOMPARE(r.records.size(), trusted);
        QCOMPARE(r.isWhole(), fault == Fault::None);
    }

    // Catches replaying onto a base that is not the one the edits were made
    // on (a file changed since), and a partial text that is not the base
    // with the trusted edits.
    void checksBaseAndOffersPart()
    {
        const QByteArray journal = journalOf(kBase, {"+9:と追記", "-0:3"});
        JournalReplay::Outcome outcome;
        restored(journal, "<P>本文</P>\n", &outcome);
        QCOMPARE(outcome, JournalReplay::Outcome::BaseMismatch);
        QCOMPARE(restored(journal.left(journal.size() - 2), kBase),
                 QByteArray("<P>本文と追記</P>\r\n"));
    }

    // Catches records lost between the edit and the file (a timer never
    // started, a batch dropped) and a journal left behind by discard().
    void writesAndDiscards()
    {
        QThreadPool worker;
        worker.setMaxThreadCount(1);
        const QString file = m_dir.filePath(QStringLiteral("a.journal"));
        CJournalWriter writer(worker, file);
        writer.setWriteDelay(10);
        writer.start(headerFor(kBase));
        writer.insert(9, "と追記");
        writer.remove(0, 3);
        QTRY_COMPARE(restored(readFile(file), kBase), QByteArray("本文と追記</P>\r\n"));
        writer.changeFields(sampleFields());
        QVERIFY(writer.flush());
        QCOMPARE(read(readFile(file)).records.size(), 3);
        writer.discard();
        worker.waitForDone();
        QVERIFY(!QFile::exists(file));
    }

    // Catches a failed write that leaves half a record (the whole journal
    // then refused) or that goes on recording edits the file does not hold.
    void failedWriteKeepsWholeRecords()
    {
        QThreadPool worker;
        worker.setMaxThreadCount(1);
        const QString file = m_dir.filePath(QStringLiteral("b.journal"));
        CJournalWriter writer(worker, file);
        QSignalSpy failed(&writer, &CJournalWriter::failed);
        writer.start(headerFor(kBase));
        writer.insert(0, "a");
        QVERIFY(writer.flush());
        const qint64 size = QFileInfo(file).size();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old;
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = rlim_t(size + 20);
        setrlimit(RLIMIT_FSIZE, &small);
        writer.insert(1, QByteArray(100, 'x'));
        const bool written = writer.flush();
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
        QCOMPARE(failed.count(), 1);
        QVERIFY(!writer.isRecording());
        const Reading r = read(readFile(file));
        QVERIFY(r.isWhole());
        QCOMPARE(r.records.size(), 1);
    }

private:
    static QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

MARQUILL_TEST_MAIN(TestEditJournal)
#include "tst_edit_journal.moc"
