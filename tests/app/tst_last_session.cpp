#include "app_under_test.h"
#include "core/file_names.h"
#include "core/options.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "document/session_store.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "test_support.h"

#include <QMdiArea>
#include <fcntl.h>
#include <unistd.h>

// The files open at quit, opened again at the next start through the
// settings store.
class TestLastSession : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    CMarquillApp* m_app = nullptr;
    QStringList m_messages;

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) >= 0 ? f.fileName() : QString();
    }

    void start(const QStringList& arguments = {QStringLiteral("marquill")})
    {
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance(arguments));
    }

    // Quits as the user does, through the main window's close.
    void quit()
    {
        QVERIFY(m_app->mainFrame()->close());
        m_app->exitInstance();
        TestSupport::tearDownApp(m_app);
    }

    CMarquillDoc* open(const QString& path)
    {
        return m_app->documentManager()->openDocumentFile(path);
    }

    QStringList openPaths() const
    {
        QStringList paths;
        for (CMarquillDoc* doc : m_app->documentManager()->documents())
            paths << doc->pathName();
        return paths;
    }

    CMarquillView* viewOf(CMarquillDoc* doc) const
    {
        return m_app->documentManager()->frameOf(doc)->view();
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return QMessageBox::No;
            });
    }

    void cleanup()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setMessageHook({});
    }

    // Faults: files reopened out of order or without their caret and top
    // line, an untitled document stored as a file without a name, a missing
    // file stopping the rest or reported file by file, the window that was
    // active left behind another (or the last one asked about at quit taken
    // for it), the recent files reordered by reopening.
    void reopensTheFilesOfTheLastQuit()
    {
        Options::kRestoreSession.write(1);
        const QString a = writeFile(QStringLiteral("a.htm"), "<P>a</P>");
        const QString b = writeFile(QStringLiteral("b.htm"), QByteArray("line\r\n").repeated(300));
        const QString gone = writeFile(QStringLiteral("gone.htm"), "<P>c</P>");
        start();
        // Left unsaved: the question about it at quit brings it to the front.
        viewOf(open(a))->replaceSel("x", true);
        CMarquillDoc* docB = open(b);
        open(gone);
        m_app->documentManager()->fileNew();
        CMarquillView* view = viewOf(docB);
        const qint64 caret = 200 * 6 + 3;
        view->setSel(caret, caret);
        view->sci(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 150);
        m_app->mainFrame()->mdiArea()->setActiveSubWindow(m_app->documentManager()->frameOf(docB));
        const QStringList recent = m_app->documentManager()->recentFiles();
        quit();

        QVERIFY(QFile::remove(gone));
        m_messages.clear(); // the question about a
        start();
        QCOMPARE(openPaths(), QStringList({a, b}));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains(gone));
        CMarquillDoc* reopened = m_app->documentManager()->documents().at(1);
        QCOMPARE(m_app->mainFrame()->activeChild()->doc(), reopened);
        view = viewOf(reopened);
        QCOMPARE(qint64(view->sci(QsciScintillaBase::SCI_GETCURRENTPOS)), caret);
        QCOMPARE(view->sci(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                           static_cast<unsigned long>(view->firstVisibleLine())),
                 150L);
        QCOMPARE(m_app->documentManager()->recentFiles(), recent);
    }

    // Faults: a file whose name is not UTF-8 (a byte kept as U+DC93) taken
    // for gone, or a file gone taken for it.
    void reopensAFileWhoseNameIsNotUtf8()
    {
        Options::kRestoreSession.write(1);
        const QString path = m_dir.filePath(QStringLiteral("a")) + QChar(0xDC93);
        const int fd = ::open(FileNames::encode(path).constData(), O_WRONLY | O_CREAT, 0600);
        QVERIFY(fd >= 0 && ::close(fd) == 0);
        SessionStore::write({{{path, 0, 0}, {m_dir.filePath(QStringLiteral("gone")), 0, 0}}, 0});
        start();
        QCOMPARE(openPaths(), QStringList({path}));
        QCOMPARE(m_messages.size(), 1);
    }

    // Fault: the session opened over a file the command line asks for.
    void aFileOnTheCommandLineComesAlone()
    {
        Options::kRestoreSession.write(1);
        const QString a = writeFile(QStringLiteral("a.htm"), "a");
        const QString b = writeFile(QStringLiteral("b.htm"), "b");
        SessionStore::write({{{a, 0, 0}}, 0});
        start({QStringLiteral("marquill"), b});
        QCOMPARE(openPaths(), QStringList({b}));
    }

    // Faults: a session opened with the option off, or one stored while
    // it was on coming back after the user switched it off and on again.
    void withTheOptionOffNothingIsReopenedAndTheOldSessionGoes()
    {
        const QString a = writeFile(QStringLiteral("a.htm"), "a");
        SessionStore::write({{{a, 0, 0}}, 0});
        start();
        QVERIFY(openPaths().isEmpty());
        open(a);
        quit();
        QVERIFY(SessionStore::read().entries.isEmpty());
    }
};

MARQUILL_TEST_MAIN(TestLastSession)
#include "tst_last_session.moc"
