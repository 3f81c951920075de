#include "app/marquill_app.h"
#include "app/recovery_offer.h"
#include "app_under_test.h"
#include "core/ui_seam.h"
#include "document/document_file.h"
#include "document/edit_journal.h"
#include "document/marquill_doc.h"
#include "document/recovery_copy.h"
#include "document/recovery_folder.h"
#include "document/recovery_keeper.h"
#include "editor/marquill_view.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "test_support.h"

#include <QProcess>

#include <csignal>
#include <cstdio>

namespace {

// Typed as a person would: the tags and the Latin letters on the keyboard,
// the Japanese through the input method.
const QString kTypedKeys = QStringLiteral("<P>typed ");
const QString kTypedJapanese = QStringLiteral("入力した文");
const QString kTypedEnd = QStringLiteral("</P>");

// The editor run by the kill test, in a process of its own: it opens `file`,
// types at its end, says so on its output, and runs until it is killed.
int runEditorToBeKilled(int argc, char** argv, const QString& file)
{
    QApplication app(argc, argv);
    CMarquillApp marquill;
    if (!marquill.initInstance({QStringLiteral("marquill"), file}))
        return 1;
    auto* view = qobject_cast<CMarquillView*>(
        marquill.documentManager()->documents().value(0)->viewWidget());
    view->setFocus();
    view->setSel(view->textLength(), view->textLength());
    QTest::keyClicks(view, kTypedKeys);
    QInputMethodEvent commit;
    commit.setCommitString(kTypedJapanese);
    QApplication::sendEvent(view, &commit);
    QTest::keyClicks(view, kTypedEnd);
    std::fputs("typed\n", stdout);
    std::fflush(stdout);
    return app.exec();
}

QString recoveryFolder()
{
    return CRecoveryFolder::defaultPath();
}

QStringList filesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files);
}

// Leaves a copy as an instance that ended abnormally would: no lock held.
QString leaveCopy(const RecoveryCopy::Copy& copy, int serial = 1)
{
    QDir().mkpath(recoveryFolder());
    const QString file = QStringLiteral("%1/%2-%3.copy")
                             .arg(recoveryFolder(), CRecoveryFolder::newInstanceId())
                             .arg(serial);
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(RecoveryCopy::encode(copy));
    return file;
}

RecoveryCopy::Copy copyOf(const QString& path, const QByteArray& text)
{
    RecoveryCopy::Copy c;
    c.path = path;
    c.title = path.isEmpty() ? QStringLiteral("無題") : QFileInfo(path).fileName();
    c.lineEnd = "\r\n";
    c.written = QDateTime::currentDateTimeUtc();
    c.text = text;
    return c;
}

// Leaves a journal as an instance that ended abnormally would: typing `typed`
// at the end of `base`, the text of the file at `path`.
QString leaveJournal(const QString& path, const QByteArray& base, const QByteArray& typed)
{
    QDir().mkpath(recoveryFolder());
    EditJournal::Header h;
    h.fields.path = path;
    h.fields.title = QFileInfo(path).fileName();
    h.fields.lineEnd = "\r\n";
    h.started = QDateTime::currentDateTimeUtc();
    h.baseLength = base.size();
    h.baseDigest = EditJournal::digestOf(base);
    QByteArray journal = EditJournal::encodeHeader(h);
    for (qsizetype i = 0; i < typed.size(); ++i)
        EditJournal::appendInsert(journal, base.size() + i, typed.mid(i, 1));
    const QString file =
        QStringLiteral("%1/%2-1.journal").arg(recoveryFolder(), CRecoveryFolder::newInstanceId());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(journal);
    return file;
}

} // namespace

// Unsaved work comes back after the editor ended abnormally.
class TestRecoveryRestart : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CMarquillApp* m_app = nullptr;
    QList<QMessageBox::Icon> m_asked;
    QStringList m_texts;                          // of the messages, in turn
    QList<QMessageBox::StandardButton> m_answers; // given in turn; then No

    // Starts the editor in this process, answering its questions in turn.
    void start(QList<QMessageBox::StandardButton> answers)
    {
        m_answers = answers;
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        QDir(recoveryFolder()).removeRecursively();
        m_asked.clear();
        m_texts.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon icon, QMessageBox::StandardButtons) {
                m_asked.append(icon);
                m_texts.append(text);
                return m_answers.isEmpty() ? QMessageBox::No : m_answers.takeFirst();
            });
    }

    void cleanup()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setMessageHook({});
    }

    void killedTwoSecondsAfterTypingEverythingComesBack()
    {
        const QByteArray original = "<HTML>\r\n<BODY>\r\n";
        const QString page = write(QStringLiteral("page.htm"), original);
        QProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--edit"), page});
        QTRY_VERIFY_WITH_TIMEOUT(editor.canReadLine() || editor.state() == QProcess::NotRunning,
                                 30000);
        QCOMPARE(editor.readLine(), QByteArray("typed\n"));
        QTimer::singleShot(2000, &editor, [&editor] { ::kill(editor.processId(), SIGKILL); });
        QTRY_COMPARE_WITH_TIMEOUT(editor.state(), QProcess::NotRunning, 10000);
        QCOMPARE(editor.exitStatus(), QProcess::CrashExit);

        start({QMessageBox::Yes});
        QCOMPARE(m_app->documentManager()->documents().size(), 1);
        CMarquillDoc* doc = m_app->documentManager()->documents().first();
        QCOMPARE(doc->view()->textBytes(),
                 original + (kTypedKeys + kTypedJapanese + kTypedEnd).toUtf8());
        QCOMPARE(doc->pathName(), page);
        QCOMPARE(doc->title(), QStringLiteral("page.htm *"));
    }

    void aCopyCutShortIsRefusedAndKept()
    {
        leaveCopy(copyOf(QStringLiteral("/tmp/whole.htm"), "whole"));
        const QString cut = leaveCopy(copyOf(QStringLiteral("/tmp/cut.htm"), "cut short"));
        QFile f(cut);
        QVERIFY(f.resize(f.size() - 20));
        start({QMessageBox::Yes});
        QStringList restored;
        for (CMarquillDoc* doc : m_app->documentManager()->documents())
            restored.append(doc->pathName());
        QCOMPARE(restored, QStringList{QStringLiteral("/tmp/whole.htm")});
        QVERIFY(QFile::exists(CRecoveryOffer::asideName(cut)));
    }

    // Catches a journal replayed over a file changed since, or in part, or
    // lost: each row leaves one journal and says what becomes of it.
    void journalsThatCannotBeRestoredWholeAreKept_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("opened"); // the text of the document opened, if any
        QTest::addColumn<QString>("keptAs");    // the journal's name afterwards
        QTest::newRow("whole") << QString() << QByteArray("<P>base</P>typed") << QString();
        QTest::newRow("file changed since")
            << QStringLiteral("changed") << QByteArray() << QStringLiteral("*.journal.damaged");
        QTest::newRow("cut: the part before is offered")
            << QStringLiteral("cut") << QByteArray("<P>base</P>type")
            << QStringLiteral("*.journal.damaged");
        QTest::newRow("later version, left where it is")
            << QStringLiteral("later") << QByteArray() << QStringLiteral("*.journal");
    }
    void journalsThatCannotBeRestoredWholeAreKept()
    {
        QFETCH(QString, fault);
        QFETCH(QByteArray, opened);
        QFETCH(QString, keptAs);
        const QString page = write(QStringLiteral("j.htm"), "<P>base</P>");
        const QString journal = leaveJournal(page, "<P>base</P>", "typed");
        QFile f(journal);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        if (fault == QLatin1String("changed"))
            write(QStringLiteral("j.htm"), "<P>edited elsewhere</P>");
        else if (fault == QLatin1String("cut"))
            QVERIFY(f.resize(f.size() - 5));
        else if (fault == QLatin1String("later"))
            f.write(bytes.replace("JOURNAL 1", "JOURNAL 2"), 0), f.seek(0), f.write(bytes);
        f.close();
        start({QMessageBox::Yes, QMessageBox::Yes});
        QStringList texts;
        for (CMarquillDoc* doc : m_app->documentManager()->documents())
            texts.append(QString::fromUtf8(doc->view()->textBytes()));
        QCOMPARE(texts, opened.isEmpty() ? QStringList() : QStringList{QString::fromUtf8(opened)});
        if (fault == QLatin1String("cut"))
            QCOMPARE(m_app->documentManager()->documents().first()->pathName(), QString());
        if (keptAs.isEmpty())
            QVERIFY(!QFile::exists(journal));
        else
            QCOMPARE(filesIn(recoveryFolder(), keptAs).size(), 1);
    }

    void restoredDocumentsKeepWhatTheCopyRecorded_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<bool>("unconverted");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("encodingLabel");
        QTest::addColumn<bool>("asksBeforeMixingUtf8");
        QTest::newRow("untitled") << QString() << QString() << false << QByteArray("\r\n")
                                  << QByteArray("<P>日本語</P>\r\n") << QStringLiteral("無題 *")
                                  << QStringLiteral("UTF-8") << false;
        QTest::newRow("shift_jis, lf")
            << QStringLiteral("/tmp/sjis.htm") << QStringLiteral("Shift_JIS") << false
            << QByteArray("\n") << QByteArray("<P>日本語</P>\n") << QStringLiteral("sjis.htm *")
            << QStringLiteral("Shift_JIS") << false;
        QTest::newRow("euc-jp, cr")
            << QStringLiteral("/tmp/euc.htm") << QStringLiteral("EUC-JP") << false
            << QByteArray("\r") << QByteArray("<P>日本語</P>\r") << QStringLiteral("euc.htm *")
            << QStringLiteral("EUC-JP") << false;
        // The file held 日 when it was read; 本 was typed before the crash.
        QTest::newRow("unconverted, utf-8 typed")
            << QStringLiteral("/tmp/raw.htm") << QString() << true << QByteArray("\r\n")
            << QByteArray("\x82\xa0 日本\r\n") << QStringLiteral("raw.htm *")
            << QStringLiteral("変換なし") << true;
    }
    void restoredDocumentsKeepWhatTheCopyRecorded()
    {
        QFETCH(QString, path);
        QFETCH(QString, encoding);
        QFETCH(bool, unconverted);
        QFETCH(QByteArray, lineEnd);
        QFETCH(QByteArray, text);
        QFETCH(QString, title);
        QFETCH(QString, encodingLabel);
        QFETCH(bool, asksBeforeMixingUtf8);
        RecoveryCopy::Copy c = copyOf(path, text);
        c.encoding = encoding;
        c.unconverted = unconverted;
        c.savedUtf8Characters = unconverted ? QByteArray("日") : QByteArray();
        c.lineEnd = lineEnd;
        leaveCopy(c);
        start({QMessageBox::Yes});
        QCOMPARE(m_app->documentManager()->documents().size(), 1);
        CMarquillDoc* doc = m_app->documentManager()->documents().first();
        QCOMPARE(doc->title(), title);
        QCOMPARE(doc->pathName(), path);
        QCOMPARE(doc->encodingLabel(), encodingLabel);
        QCOMPARE(doc->wouldMixInUtf8(), asksBeforeMixingUtf8);
        QCOMPARE(doc->view()->typedLineEnd(), lineEnd);
        QCOMPARE(doc->view()->textBytes(), text);
    }

    void aMissingFileOnTheCommandLineKeepsRestoredWorkOpen()
    {
        leaveCopy(copyOf(QStringLiteral("/tmp/kept.htm"), "kept"));
        m_answers = {QMessageBox::Yes};
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance(
            {QStringLiteral("marquill"), m_dir.filePath(QStringLiteral("missing.htm"))}));
    }

    void decliningRemovesCopiesOnlyWhenConfirmed_data()
    {
        QTest::addColumn<int>("confirm");
        QTest::addColumn<int>("copiesLeft");
        QTest::newRow("removal confirmed") << int(QMessageBox::Yes) << 0;
        QTest::newRow("removal refused") << int(QMessageBox::No) << 2;
    }
    void decliningRemovesCopiesOnlyWhenConfirmed()
    {
        QFETCH(int, confirm);
        QFETCH(int, copiesLeft);
        leaveCopy(copyOf(QString(), "one"));
        leaveCopy(copyOf(QStringLiteral("/tmp/two.htm"), "two"));
        start({QMessageBox::No, QMessageBox::StandardButton(confirm)});
        QVERIFY(m_app->documentManager()->documents().isEmpty());
        QCOMPARE(filesIn(recoveryFolder(), QStringLiteral("*.copy")).size(), copiesLeft);
    }

    void theQuestionIsAskedOnceForAllCopies()
    {
        leaveCopy(copyOf(QString(), "one"));
        leaveCopy(copyOf(QStringLiteral("/tmp/two.htm"), "two"));
        leaveCopy(copyOf(QStringLiteral("/tmp/three.htm"), "three"), 2);
        start({QMessageBox::Yes});
        QCOMPARE(m_asked, QList<QMessageBox::Icon>{QMessageBox::Question});
    }

    void restoredCopiesAreReplacedByTheNewRunsOwn()
    {
        const QString old = leaveCopy(copyOf(QStringLiteral("/tmp/r.htm"), "restored"));
        start({QMessageBox::Yes});
        QVERIFY(!QFile::exists(old));
        const QStringList own = filesIn(recoveryFolder(), m_app->recoveryKeeper()->instance() +
                                                              QStringLiteral("-*.journal"));
        QCOMPARE(own.size(), 1);
    }

    // Catches a file this start cannot read that is renamed damaged (lost to
    // the version that could read it) or read whole into memory (a crash for
    // want of it): each row leaves one and expects it under its own name,
    // with the reason said.
    void filesThisStartCannotReadAreLeftWhereTheyAre_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("journal too large")
            << QStringLiteral("journal") << QStringLiteral("大きすぎ");
        QTest::newRow("copy too large") << QStringLiteral("copy") << QStringLiteral("大きすぎ");
        QTest::newRow("copy of a later version")
            << QStringLiteral("later copy") << QStringLiteral("新しい版");
    }
    void filesThisStartCannotReadAreLeftWhereTheyAre()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString file =
            kind == QLatin1String("journal")
                ? leaveJournal(write(QStringLiteral("j.htm"), "base"), "base", "typed")
                : leaveCopy(copyOf(QStringLiteral("/tmp/c.htm"), "copied"));
        QFile f(file);
        if (kind == QLatin1String("later copy")) {
            QVERIFY(f.open(QIODevice::ReadWrite));
            QByteArray bytes = f.readAll().replace("\"version\":1", "\"version\":2");
            QVERIFY(f.seek(0) && f.write(bytes) == bytes.size());
            f.close();
        } else {
            // Sparse: no disk is spent on it.
            QVERIFY(f.resize(DocumentFile::kMaxTextBytes + 1));
        }
        start({});
        QVERIFY(m_app->documentManager()->documents().isEmpty());
        QVERIFY(QFile::exists(file));
        QCOMPARE(m_texts.size(), 1);
        QVERIFY2(m_texts[0].contains(file) && m_texts[0].contains(reason), qPrintable(m_texts[0]));
    }

    // Catches a journal that cannot be written going unmentioned (only on the
    // console), or told again for every document that fails the same way.
    void aJournalThatCannotBeWrittenIsToldOncePerCause()
    {
        // A file where the recovery folder should be.
        QVERIFY(QDir().mkpath(QFileInfo(recoveryFolder()).path()));
        QFile blocker(recoveryFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        start({});
        for (int i = 0; i < 2; ++i) {
            CMarquillDoc* doc = m_app->documentManager()->fileNew();
            QTest::keyClicks(doc->viewWidget(), QStringLiteral("unsaved"));
        }
        QTRY_COMPARE(m_texts.size(), 1);
        QTest::qWait(1000);
        QCOMPARE(m_texts.size(), 1);
        QVERIFY2(m_texts[0].contains(
                     QStringLiteral("回復用フォルダが利用者自身のフォルダではありません")),
                 qPrintable(m_texts[0]));
        QFile::remove(recoveryFolder());
    }

    void aRunningInstancesCopiesAreNotOffered()
    {
        CRecoveryKeeper other(recoveryFolder());
        CMarquillDoc doc;
        CMarquillView view;
        doc.setView(&view);
        other.watch(&doc);
        doc.onRecoverDocument({"other's work", QString(), false}, QString(), "\r\n", QByteArray());
        QVERIFY(other.flush());
        start({QMessageBox::Yes});
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(filesIn(recoveryFolder(), other.instance() + QStringLiteral("-*.journal")).size(),
                 1);
    }
};

int main(int argc, char** argv)
{
    // The editor to be killed runs in the folders the test gave it.
    if (argc == 3 && qstrcmp(argv[1], "--edit") == 0)
        return runEditorToBeKilled(argc, argv, QString::fromLocal8Bit(argv[2]));
    TestSupport::isolateSettings();
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestRecoveryRestart tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_recovery_restart.moc"
