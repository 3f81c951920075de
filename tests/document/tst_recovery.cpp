#include "core/options.h"
#include "document/my_rich_edit_doc.h"
#include "document/recovery_copy.h"
#include "document/recovery_folder.h"
#include "document/recovery_keeper.h"
#include "editor/my_rich_edit_view.h"
#include "test_support.h"

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

    static QStringList copiesIn(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.copy")}, QDir::Files);
    }

    static Copy readCopy(const QString& file)
    {
        QFile f(file);
        Copy c;
        if (f.open(QIODevice::ReadOnly))
            RecoveryCopy::decode(f.readAll(), c);
        return c;
    }

    // The folder's files: "copy: <its text>" for each copy, "unfinished"
    // for each write under way.
    static QStringList folderState(const QString& folder)
    {
        QStringList state;
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString& name : names) {
            if (name.endsWith(QLatin1String(".copy")))
                state.append(QStringLiteral("copy: ") +
                             QString::fromUtf8(readCopy(folder + QLatin1Char('/') + name).text));
            else if (name.endsWith(QLatin1String(".tmp")))
                state.append(QStringLiteral("unfinished"));
        }
        return state;
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

    void aCopyIsKeptOnlyWhileChangesAreUnsaved_data()
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
    void aCopyIsKeptOnlyWhileChangesAreUnsaved()
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
        keeper.flush(); // a copy of the typing, if there is to be one
        QString error;
        if (after == QLatin1String("save"))
            QVERIFY2(editing->doc.onSaveDocument(m_dir.filePath(QStringLiteral("s.htm")), &error),
                     qPrintable(error));
        else if (after == QLatin1String("close"))
            editing.reset();
        else if (after == QLatin1String("clear"))
            editing->doc.setModifiedFlag(false);
        keeper.flush(); // the removal, if any, is done
        QCOMPARE(!copiesIn(folder).isEmpty(), kept);
    }

    void aCopyReadInPiecesHoldsTheDocumentAsItWas_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pieceBytes");
        QTest::addColumn<int>("pieces");
        QTest::newRow("pieces of equal size") << QByteArray("<P>abcdefgh</P>\n") << 4 << 4;
        QTest::newRow("a shorter last piece") << QByteArray("<P>abcdefgh</P>\n") << 5 << 4;
        QTest::newRow("one piece larger than the text") << QByteArray("<P>a</P>\n") << 100 << 1;
        // The characters are cut between pieces and joined again on disk.
        QTest::newRow("japanese cut between pieces")
            << QByteArray("<P>日本語の文</P>\n") << 2 << 12;
        QTest::newRow("nul bytes and lone cr") << QByteArray("a\0b\rc\r\0", 7) << 3 << 3;
    }
    void aCopyReadInPiecesHoldsTheDocumentAsItWas()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, pieceBytes);
        QFETCH(int, pieces);
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        keeper.setIntervals(10, 50);
        keeper.setStreaming(0, pieceBytes);
        Editing editing("");
        editing.doc.onRecoverDocument({text.chopped(1), QStringLiteral("EUC-JP"), false},
                                      QStringLiteral("/tmp/p.htm"), "\n", QByteArray());
        keeper.watch(&editing.doc);
        QSignalSpy progress(&keeper, &CRecoveryKeeper::copyProgress);
        editing.type(text.right(1));
        QTRY_COMPARE(copiesIn(folder).size(), 1);
        Copy expected;
        expected.path = QStringLiteral("/tmp/p.htm");
        expected.title = QStringLiteral("p.htm");
        expected.encoding = QStringLiteral("EUC-JP");
        expected.lineEnd = "\n";
        expected.text = text;
        Copy c = readCopy(folder + QLatin1Char('/') + copiesIn(folder).first());
        c.instance.clear();
        c.pid = 0;
        c.bootId.clear();
        c.written = QDateTime();
        QCOMPARE(c, expected);
        QCOMPARE(progress.size(), pieces);
    }

    void aChangeWhileTheCopyIsReadDropsIt_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("state");
        const QString text = QStringLiteral("<P>0123456789</P>\n");
        QTest::newRow("typed once")
            << QStringLiteral("type once") << QStringList{QStringLiteral("copy: ") + text + "ab"};
        // Every copy read in pieces is dropped: the late copy is taken whole.
        QTest::newRow("typed at every piece")
            << QStringLiteral("type always") << QStringList{QStringLiteral("copy: ") + text + "ab"};
        // Shown in the text without an edit of the document, moving the
        // text still to be read.
        QTest::newRow("composition text shown at the start")
            << QStringLiteral("compose") << QStringList{QStringLiteral("copy: に") + text + "a"};
        QTest::newRow("saved") << QStringLiteral("save") << QStringList();
        QTest::newRow("changes given up") << QStringLiteral("clear") << QStringList();
    }
    void aChangeWhileTheCopyIsReadDropsIt()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, state);
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        keeper.setIntervals(30, 60);
        keeper.setStreaming(0, 2);
        Editing editing("<P>0123456789</P>\n");
        keeper.watch(&editing.doc);
        int changes = 0;
        connect(&keeper, &CRecoveryKeeper::copyProgress, this, [&] {
            if (change != QLatin1String("type always") && changes > 0)
                return;
            ++changes;
            if (change.startsWith(QLatin1String("type"))) {
                editing.type("b");
            } else if (change == QLatin1String("compose")) {
                editing.view.setSel(0, 0);
                QInputMethodEvent preedit(QStringLiteral("に"), {});
                QApplication::sendEvent(&editing.view, &preedit);
            } else if (change == QLatin1String("save")) {
                QString error;
                QVERIFY2(
                    editing.doc.onSaveDocument(m_dir.filePath(QStringLiteral("d.htm")), &error),
                    qPrintable(error));
            } else {
                editing.doc.setModifiedFlag(false);
            }
        });
        editing.type("a");
        QTRY_VERIFY(changes > 0);
        QTRY_COMPARE_WITH_TIMEOUT(folderState(folder), state, 3000);
    }

    void aCopyFollowsTypingWithinTwoSeconds()
    {
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        Editing editing("<P>a</P>\n");
        editing.doc.onRecoverDocument({"<P>a</P>\n", QStringLiteral("EUC-JP"), false},
                                      QStringLiteral("/tmp/p.htm"), "\n", QByteArray());
        keeper.watch(&editing.doc);
        editing.type("日本語");
        QTRY_VERIFY_WITH_TIMEOUT(copiesIn(folder).size() == 1, 2000);
        Copy expected;
        expected.path = QStringLiteral("/tmp/p.htm");
        expected.title = QStringLiteral("p.htm");
        expected.encoding = QStringLiteral("EUC-JP");
        expected.lineEnd = "\n";
        expected.text = "<P>a</P>\n日本語";
        Copy c = readCopy(folder + QLatin1Char('/') + copiesIn(folder).first());
        // Who wrote it and when are not the document's.
        c.instance.clear();
        c.pid = 0;
        c.bootId.clear();
        c.written = QDateTime();
        QCOMPARE(c, expected);
    }

    void steadyTypingCannotPutTheCopyOff()
    {
        const QString folder = newFolder();
        CRecoveryKeeper keeper(folder);
        keeper.setIntervals(300, 300);
        Editing editing("");
        keeper.watch(&editing.doc);
        QTimer typist;
        connect(&typist, &QTimer::timeout, this, [&] { editing.type("x"); });
        typist.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(!copiesIn(folder).isEmpty(), 2000);
        QVERIFY(typist.isActive());
    }

    void aFailedWriteIsTriedAgainWithoutDisturbingEditing()
    {
        // A file where the folder should be: nothing can be written there.
        const QString blocker = newFolder();
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString folder = blocker + QStringLiteral("/recovery");
        CRecoveryKeeper keeper(folder);
        keeper.setIntervals(50, 100);
        Editing editing("");
        keeper.watch(&editing.doc);
        QSignalSpy written(&keeper, &CRecoveryKeeper::copyWritten);
        editing.type("a");
        QTRY_VERIFY(!written.isEmpty());
        QVERIFY(!written.last().at(1).toBool());
        editing.type("b");
        QVERIFY(QFile::remove(blocker));
        QTRY_COMPARE(copiesIn(folder).size(), 1);
        QTRY_COMPARE(readCopy(folder + QLatin1Char('/') + copiesIn(folder).first()).text,
                     QByteArray("ab"));
    }

    void copiesAreTheUsersAlone()
    {
        const QString folder = newFolder();
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        CRecoveryKeeper keeper(folder);
        Editing editing("");
        keeper.watch(&editing.doc);
        editing.type("private");
        keeper.flush();
        QCOMPARE(copiesIn(folder).size(), 1);
        QCOMPARE((QList<int>{modeOf(folder),
                             modeOf(folder + QLatin1Char('/') + copiesIn(folder).first())}),
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

    void onlyFinishedInstancesCopiesAreClaimed()
    {
        const QString folder = newFolder();
        CRecoveryKeeper running(folder);
        Editing editing("");
        running.watch(&editing.doc);
        editing.type("still being edited");
        running.flush();
        // An instance that ended abnormally: its copy and an unfinished write,
        // with no lock held on them.
        const QString gone = CRecoveryFolder::newInstanceId();
        for (const QString& name :
             {gone + QStringLiteral("-1.copy"), gone + QStringLiteral("-2.copy.tmp")}) {
            QFile f(folder + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        auto claimed = CRecoveryFolder::claimLeftovers(folder, CRecoveryFolder::newInstanceId());
        QCOMPARE(claimed.size(), size_t(1));
        QCOMPARE(claimed.front().instance(), gone);
        // While claimed, a third instance starting up finds nothing to take.
        QCOMPARE(CRecoveryFolder::claimLeftovers(folder, CRecoveryFolder::newInstanceId()).size(),
                 size_t(0));
    }
};

MARQUILL_TEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
