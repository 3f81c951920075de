#include "core/options.h"
#include "document/found_journal.h"
#include "document/my_rich_edit_doc.h"
#include "document/recovery_copy.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"
#include "document/recovery_keeper.h"
#include "editor/my_rich_edit_view.h"
#include "test_support.h"

#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QTimer>

#include <sys/stat.h>

using RecoveryCopy::Copy;
using RecoveryCopy::Fault;

Q_DECLARE_METATYPE(RecoveryCopy::Fault)

namespace {

Copy sampleCopy()
{
    Copy c;
    c.path = QStringLiteral("/home/user/web/index.htm");
    c.title = QStringLiteral("index.htm");
    c.lineEnd = "\r\n";
    c.instance = QStringLiteral("0123456789abcdef0123456789abcdef");
    c.pid = 4242;
    c.bootId = QStringLiteral("boot");
    c.written = QDateTime(QDate(2026, 12, 7), QTime(13, 29, 41, 250), Qt::UTC);
    c.text = "<HTML>\r\n<BODY>日本語</BODY>\r\n</HTML>\r\n";
    return c;
}

// How long a wait for the worker or the journal's own timers may take before
// the test gives up: they finish whenever the machine gets to them, and a
// wait returns as soon as they do.
constexpr int kPatienceMs = 120000;

int modeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace

// Recovery copies: their form on disk, when they are kept, and whose they are.
class TestRecovery : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_folderCount = 0;

    QString newFolder() { return m_dir.filePath(QStringLiteral("r%1").arg(++m_folderCount)); }

    // A document in a view, holding `text`, edited by typing `typed` at its end.
    struct Editing
    {
        CMyRichEditView view;
        CMyRichEditDoc doc;
        Editing(const QByteArray& text)
        {
            doc.setView(&view);
            view.loadBytes(text);
        }
        void type(const QByteArray& typed)
        {
            view.setSel(view.textLength(), view.textLength());
            view.replaceSel(typed, true);
        }
    };

    static QStringList journalsIn(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.journal")}, QDir::Files);
    }

    // The text the folder's one journal restores, or "<none>".
    static QByteArray restored(const QString& folder)
    {
        const QStringList journals = journalsIn(folder);
        if (journals.size() != 1)
            return "<none>";
        const CFoundJournal found = CFoundJournal::read(folder + QLatin1Char('/') + journals[0]);
        JournalReplay::GapText text;
        if (!found.isWhole() || found.restore(text) != JournalReplay::Outcome::Restored)
            return "<none>";
        return text.take();
    }

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }

    void copiesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("savedUtf8");
        QTest::newRow("untitled") << QString() << QString() << QByteArray("\r\n")
                                  << QByteArray("<P>新しい文書</P>\r\n") << QByteArray();
        QTest::newRow("japanese path, shift_jis, lf")
            << QStringLiteral("/home/利用者/サイト/目次 1.htm") << QStringLiteral("Shift_JIS")
            << QByteArray("\n") << QByteArray("<P>目次</P>\n") << QByteArray();
        QTest::newRow("nul bytes and lone cr")
            << QStringLiteral("/tmp/a.txt") << QString() << QByteArray("\r")
            << QByteArray("a\0b\rc\r", 6) << QByteArray();
        QTest::newRow("unconverted bytes, utf-8 among them")
            << QStringLiteral("/tmp/raw.htm") << QString() << QByteArray("\r\n")
            << QByteArray("\x82\xa0\xff\xfe日本\r\n") << QByteArray("日");
        QTest::newRow("empty text") << QStringLiteral("/tmp/empty.htm") << QString()
                                    << QByteArray("\r\n") << QByteArray() << QByteArray();
        QTest::newRow("newline in the path") << QStringLiteral("/tmp/odd\nname.htm") << QString()
                                             << QByteArray("\n") << QByteArray("x") << QByteArray();
    }
    void copiesReadBackAsWritten()
    {
        QFETCH(QString, path);
        QFETCH(QString, encoding);
        QFETCH(QByteArray, lineEnd);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, savedUtf8);
        Copy c = sampleCopy();
        c.path = path;
        c.title = path.isEmpty() ? QStringLiteral("無題") : QFileInfo(path).fileName();
        c.encoding = encoding;
        c.unconverted = text.contains('\xff');
        c.savedUtf8Characters = savedUtf8;
        c.lineEnd = lineEnd;
        c.text = text;
        Copy back;
        QCOMPARE(RecoveryCopy::decode(RecoveryCopy::encode(c), back), Fault::None);
        QCOMPARE(back, c);
    }

    void damagedCopiesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Fault>("fault");
        const QByteArray good = RecoveryCopy::encode(sampleCopy());
        const qsizetype headerEnd = good.indexOf('\n', 18);
        const qsizetype textStart = headerEnd + 1;
        QTest::newRow("empty file") << QByteArray() << Fault::Truncated;
        QTest::newRow("cut in the first line") << good.left(9) << Fault::Truncated;
        QTest::newRow("cut in the header") << good.left(headerEnd - 5) << Fault::Truncated;
        QTest::newRow("cut in the text") << good.left(textStart + 10) << Fault::Truncated;
        QTest::newRow("last byte missing") << good.chopped(1) << Fault::Truncated;
        QTest::newRow("a byte too many") << good + "0" << Fault::Damaged;
        QByteArray flippedText = good;
        flippedText[textStart + 3] = flippedText[textStart + 3] ^ 0x20;
        QTest::newRow("a byte of the text changed") << flippedText << Fault::Damaged;
        QByteArray otherPath = good;
        otherPath.replace("index.htm", "indey.htm");
        QTest::newRow("the path changed") << otherPath << Fault::Damaged;
        QByteArray header = good;
        header[headerEnd - 1] = 'x';
        QTest::newRow("header no longer json") << header << Fault::Damaged;
        QTest::newRow("an html file") << QByteArray("<HTML></HTML>") << Fault::NotACopy;
        QByteArray later = good;
        later.replace("\"version\":1", "\"version\":2");
        QTest::newRow("a later version") << later << Fault::NewVersion;
    }
    void damagedCopiesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Fault, fault);
        Copy c;
        QCOMPARE(RecoveryCopy::decode(bytes, c), fault);
    }

    // Catches a journal left behind once there is nothing to recover, or
    // none kept while there is.
    void aJournalIsKeptOnlyWhileChangesAreUnsaved_data()
    {
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("kept");
        QTest::newRow("typed") << QStringLiteral("type") << true;
        QTest::newRow("only loaded") << QStringLiteral("load") << false;
        QTest::newRow("typed, then saved") << QStringLiteral("save") << false;
        QTest::newRow("typed, then closed") << QStringLiteral("close") << false;
        QTest::newRow("typed, then changes given up") << QStringLiteral("clear") << false;
        QTest::newRow("typed with the option off") << QStringLiteral("off") << false;
    }
    void aJournalIsKeptOnlyWhileChangesAreUnsaved()
    {
        QFETCH(QString, after);
        QFETCH(bool, kept);
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        if (after == QLatin1String("off"))
            Options::kRecovery.write(0);
        auto editing = std::make_unique<Editing>("<P>saved</P>\r\n");
        keeper.watch(&editing->doc);
        if (after != QLatin1String("load"))
            editing->type("typed");
        keeper.flush();
        QString error;
        if (after == QLatin1String("save"))
            QVERIFY2(editing->doc.onSaveDocument(m_dir.filePath(QStringLiteral("s.htm")), &error),
                     qPrintable(error));
        else if (after == QLatin1String("close"))
            editing.reset();
        else if (after == QLatin1String("clear"))
            editing->doc.setModifiedFlag(false);
        keeper.flush();
        QCOMPARE(!journalsIn(folder).isEmpty(), kept);
    }

    // Catches a change of the text the journal misses or records wrongly:
    // undo and redo, composition text shown and taken back, a selection
    // replaced, Japanese text; and a saved file taken as the base.
    void theJournalLeadsToTheText_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::newRow("typed at both ends") << QStringLiteral("end:日本語 start:<P>");
        QTest::newRow("undone and redone") << QStringLiteral("end:abc undo redo undo");
        QTest::newRow("composition shown, then committed")
            << QStringLiteral("compose:にほ commit:日本");
        QTest::newRow("composition shown, then given up") << QStringLiteral("compose:に cancel");
        QTest::newRow("selection replaced") << QStringLiteral("select:3 end:x");
        QTest::newRow("saved, then typed") << QStringLiteral("end:a save end:b");
    }
    void theJournalLeadsToTheText()
    {
        QFETCH(QString, edits);
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        const QString file = m_dir.filePath(QStringLiteral("lead%1.htm").arg(m_folderCount));
        Editing editing("<P>本文</P>\n");
        QString error;
        QVERIFY2(editing.doc.onSaveDocument(file, &error), qPrintable(error));
        keeper.watch(&editing.doc);
        for (const QString& edit : edits.split(QLatin1Char(' '))) {
            const QString arg = edit.section(QLatin1Char(':'), 1);
            if (edit.startsWith(QLatin1String("end:"))) {
                editing.type(arg.toUtf8());
            } else if (edit.startsWith(QLatin1String("start:"))) {
                editing.view.setSel(0, 0);
                editing.view.replaceSel(arg.toUtf8(), true);
            } else if (edit == QLatin1String("undo") || edit == QLatin1String("redo")) {
                editing.view.sci(edit == QLatin1String("undo") ? QsciScintillaBase::SCI_UNDO
                                                               : QsciScintillaBase::SCI_REDO);
            } else if (edit.startsWith(QLatin1String("compose:"))) {
                QInputMethodEvent preedit(arg, {});
                QApplication::sendEvent(&editing.view, &preedit);
            } else if (edit.startsWith(QLatin1String("commit:")) ||
                       edit == QLatin1String("cancel")) {
                QInputMethodEvent commit;
                commit.setCommitString(arg);
                QApplication::sendEvent(&editing.view, &commit);
            } else if (edit.startsWith(QLatin1String("select:"))) {
                editing.view.setSel(0, arg.toLongLong());
            } else if (edit == QLatin1String("save")) {
                QVERIFY2(editing.doc.onSaveDocument(file, &error), qPrintable(error));
            }
        }
        QVERIFY(keeper.flush());
        QCOMPARE(restored(folder), editing.view.textBytes());
    }

    // Catches a compaction whose copy and journal do not lead to the text
    // (the copy read while the text changed, a journal started from the
    // wrong copy), and journals that grow without bound.
    void aGrowingJournalStartsAgainFromACopy_data()
    {
        QTest::addColumn<bool>("typedDuringCopy");
        QTest::newRow("copied in a pause") << false;
        QTest::newRow("typed while it is copied") << true;
    }
    void aGrowingJournalStartsAgainFromACopy()
    {
        QFETCH(bool, typedDuringCopy);
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        keeper.setCompaction(200, 4, 1000, 20);
        Editing editing(QByteArray(64, 'x'));
        keeper.watch(&editing.doc);
        CRecoveryJournal* journal = keeper.journalOf(&editing.doc);
        journal->setPieceBytes(7);
        for (int i = 0; i < 20; ++i)
            editing.type("<P>段落</P>");
        if (typedDuringCopy) {
            // The copy's steps are timer events, so a whole small copy can pass
            // within one wait of QTRY; looking after every pass of the event
            // loop sees it under way however fast or slow the machine is.
            QDeadlineTimer deadline(kPatienceMs);
            while (!journal->isCopying() && !deadline.hasExpired())
                QCoreApplication::processEvents();
            QVERIFY(journal->isCopying());
            editing.type("typed");
            QVERIFY(!journal->isCopying());
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            !QDir(folder).entryList({QStringLiteral("*.base")}, QDir::Files).isEmpty(),
            kPatienceMs);
        QVERIFY(keeper.flush());
        QCOMPARE(restored(folder), editing.view.textBytes());
        const CFoundJournal found =
            CFoundJournal::read(folder + QLatin1Char('/') + journalsIn(folder).value(0));
        QVERIFY(!found.reading.header.baseCopy.isEmpty());
        QVERIFY(found.reading.records.size() < 5);
    }

    // Catches a failed write that stops recovery for good, or that shows
    // while the user edits.
    void aFailedWriteIsTriedAgainWithoutDisturbingEditing()
    {
        // A file where the folder should be: nothing can be written there.
        const QString blocker = newFolder();
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString folder = blocker + QStringLiteral("/recovery");
        CRecoveryKeeper keeper(folder);
        keeper.setWriteDelay(10);
        keeper.setCompaction(1 << 20, 4, 100000, 50);
        Editing editing("");
        keeper.watch(&editing.doc);
        QSignalSpy failed(&keeper, &CRecoveryKeeper::writeFailed);
        editing.type("a");
        QVERIFY(!failed.isEmpty() || failed.wait(kPatienceMs));
        editing.type("b");
        QVERIFY(QFile::remove(blocker));
        QTRY_COMPARE_WITH_TIMEOUT(restored(folder), QByteArray("ab"), kPatienceMs);
    }

    void filesAreTheUsersAlone()
    {
        const QString folder = newFolder();
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        CRecoveryKeeper keeper(folder);
        Editing editing("");
        keeper.watch(&editing.doc);
        editing.type("private");
        keeper.flush();
        QCOMPARE(journalsIn(folder).size(), 1);
        QCOMPARE((QList<int>{modeOf(folder),
                             modeOf(folder + QLatin1Char('/') + journalsIn(folder).first())}),
                 (QList<int>{0700, 0600}));
    }

    void aNormalEndLeavesNothingBehind()
    {
        const QString folder = newFolder();
        {
            CRecoveryKeeper keeper(folder);
            Editing editing("");
            keeper.watch(&editing.doc);
            editing.type("unsaved");
            keeper.flush();
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList());
    }

    void onlyFinishedInstancesFilesAreClaimed()
    {
        const QString folder = newFolder();
        CRecoveryKeeper running(folder);
        Editing editing("");
        running.watch(&editing.doc);
        editing.type("still being edited");
        running.flush();
        // An instance that ended abnormally: its journal and an unfinished
        // write, with no lock held on them.
        const QString gone = CRecoveryFolder::newInstanceId();
        for (const QString& name :
             {gone + QStringLiteral("-1.journal"), gone + QStringLiteral("-2.journal.tmp")}) {
            QFile f(folder + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        auto claimed = CRecoveryFolder::claimLeftovers(folder, CRecoveryFolder::newInstanceId());
        QCOMPARE(claimed.size(), size_t(1));
        QCOMPARE(claimed.front().instance(), gone);
        QCOMPARE(claimed.front().journals().size(), 1);
        // While claimed, a third instance starting up finds nothing to take.
        QCOMPARE(CRecoveryFolder::claimLeftovers(folder, CRecoveryFolder::newInstanceId()).size(),
                 size_t(0));
    }
};

MARQUILL_TEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
