// Saving a document in the situations people rely on a save to respect: what
// surrounds the file stays as it was, and another program's text is never
// written over without a yes. Run as the user the suite runs as; a situation
// that needs a second user says so and is skipped where it cannot be made.

#include "test_support.h"

#include "core/file_names.h"
#include "core/ui_seam.h"
#include "document/file_watch.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"

#include <QProcess>

#include <acl/libacl.h>
#include <fcntl.h>
#include <grp.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

enum class Situation {
    HardLink,
    SetGid,
    ForeignGroup,
    Attribute,
    Acl,
    SymbolicLink,
    ChangedOnDisk,
    RemovedOnDisk,
    ReplacedByLink,
    ShiftJisName,
};

// "ページ.htm" in Shift_JIS: a name that is not UTF-8.
const QByteArray kShiftJisName("\x83y\x81[\x83W.htm");

QString pageIn(const QString& folder, Situation situation)
{
    return folder + QLatin1Char('/') +
           (situation == Situation::ShiftJisName ? FileNames::decode(kShiftJisName)
                                                 : QStringLiteral("page.htm"));
}

// The folder of a row run by another user, set up by the parent run.
constexpr char kFolderVariable[] = "MARQUILL_SAVE_SITUATION_FOLDER";
constexpr uid_t kNobody = 65534;

QByteArray native(const QString& path)
{
    return FileNames::encode(path);
}

bool writeRaw(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(fd) == 0 && ok;
}

QByteArray readAll(const QString& path)
{
    QFile f;
    const int fd = ::open(native(path).constData(), O_RDONLY);
    return fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
               ? f.readAll()
               : QByteArray("<missing>");
}

// What surrounds a file, as one line to compare and to print.
QString surroundings(const QString& path)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    QString text;
    if (S_ISLNK(st.st_mode)) {
        text += QStringLiteral("link to %1; ").arg(QFileInfo(path).symLinkTarget());
        ::stat(native(path).constData(), &st);
    }
    text += QStringLiteral("owner %1 group %2 mode %3 links %4")
                .arg(st.st_uid)
                .arg(st.st_gid)
                .arg(st.st_mode & 07777, 0, 8)
                .arg(st.st_nlink);
    char names[4096];
    const ssize_t length = ::listxattr(native(path).constData(), names, sizeof names);
    QByteArrayList attributes = QByteArray(names, qMax<ssize_t>(length, 0)).split('\0');
    std::sort(attributes.begin(), attributes.end());
    for (const QByteArray& name : attributes) {
        if (name.isEmpty() || name.startsWith("system.posix_acl"))
            continue;
        char value[256];
        const ssize_t size = ::getxattr(native(path).constData(), name, value, sizeof value);
        text += QStringLiteral("; %1=%2").arg(QString::fromLatin1(name),
                                              QString::fromLatin1(value, qMax<ssize_t>(size, 0)));
    }
    if (acl_t acl = acl_get_file(native(path).constData(), ACL_TYPE_ACCESS)) {
        char* aclText = acl_to_any_text(acl, nullptr, ',', 0);
        text += QStringLiteral("; acl %1").arg(QString::fromLatin1(aclText));
        acl_free(aclText);
        acl_free(acl);
    }
    return text;
}

} // namespace

class TestSaveSituations : public QObject
{
    Q_OBJECT

    struct Document
    {
        CMarquillDoc doc;
        CMarquillView* view = new CMarquillView;
        Document() { doc.setView(view); }
        ~Document() { delete view; }
    };

    // Makes the situation's file (page.htm, holding "old") before it is opened.
    static bool setUp(Situation situation, const QString& folder)
    {
        const QString page = pageIn(folder, situation);
        if (situation == Situation::SymbolicLink) {
            return QDir(folder).mkpath(QStringLiteral("real")) &&
                   writeRaw(folder + QStringLiteral("/real/target.htm"), "old") &&
                   QFile::link(QStringLiteral("real/target.htm"), page);
        }
        if (!writeRaw(page, "old"))
            return false;
        switch (situation) {
        case Situation::HardLink:
            return ::link(native(page).constData(),
                          native(folder + QStringLiteral("/other.htm")).constData()) == 0;
        case Situation::SetGid:
            return ::chmod(native(page).constData(), 02755) == 0;
        case Situation::ForeignGroup:
            // Only root makes this: a file of nobody's in root's group, which
            // that group may write.
            return ::chown(native(folder).constData(), kNobody, kNobody) == 0 &&
                   ::chown(native(page).constData(), kNobody, 0) == 0 &&
                   ::chmod(native(page).constData(), 0660) == 0;
        case Situation::Attribute:
            return ::setxattr(native(page).constData(), "user.origin", "site", 4, 0) == 0;
        case Situation::Acl: {
            acl_t acl = acl_from_text("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---");
            const bool ok =
                acl && acl_set_file(native(page).constData(), ACL_TYPE_ACCESS, acl) == 0;
            acl_free(acl);
            return ok;
        }
        default:
            return true;
        }
    }

    // What another program does to the file while the document is open.
    static bool changeOnDisk(Situation situation, const QString& folder)
    {
        const QString page = folder + QStringLiteral("/page.htm");
        switch (situation) {
        case Situation::ChangedOnDisk:
            return writeRaw(page, "other program's text");
        case Situation::RemovedOnDisk:
            return QFile::remove(page);
        case Situation::ReplacedByLink:
            return writeRaw(folder + QStringLiteral("/elsewhere.htm"), "elsewhere") &&
                   QFile::remove(page) && QFile::link(QStringLiteral("elsewhere.htm"), page);
        default:
            return true;
        }
    }

    // The row run by nobody in a child process; its folder is made here, as root.
    void runAsNobody(Situation situation)
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("site"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chmod(native(root.path()).constData(), 0755) == 0);
        QVERIFY(setUp(situation, folder));
        const QString before = surroundings(folder + QStringLiteral("/page.htm"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kFolderVariable), folder);
        environment.insert(QStringLiteral("HOME"), folder);
        child.setProcessEnvironment(environment);
        child.setChildProcessModifier([] {
            const gid_t none = kNobody;
            if (::setgroups(1, &none) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(99);
        });
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("saveSituations:%1")
                         .arg(QString::fromLatin1(QTest::currentDataTag()))});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardOutput() + child.readAllStandardError());
        QCOMPARE(surroundings(folder + QStringLiteral("/page.htm")), before);
        QCOMPARE(readAll(folder + QStringLiteral("/page.htm")), QByteArray("new"));
    }

private Q_SLOTS:
    void init() { UiSeam::setMessageHook({}); }

    void saveSituations_data()
    {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<bool>("otherUser");    // run as nobody, set up by root
        QTest::addColumn<int>("answer");        // to the question asked; NoButton: none expected
        QTest::addColumn<QByteArray>("stored"); // the file's bytes afterwards
        QTest::addColumn<bool>("saved");

        const int none = QMessageBox::NoButton;
        QTest::newRow("hard link")
            << Situation::HardLink << false << none << QByteArray("new") << true;
        QTest::newRow("setgid") << Situation::SetGid << false << none << QByteArray("new") << true;
        QTest::newRow("foreign group")
            << Situation::ForeignGroup << true << none << QByteArray("new") << true;
        QTest::newRow("xattr") << Situation::Attribute << false << none << QByteArray("new")
                               << true;
        QTest::newRow("acl") << Situation::Acl << false << none << QByteArray("new") << true;
        QTest::newRow("symlink") << Situation::SymbolicLink << false << none << QByteArray("new")
                                 << true;
        QTest::newRow("changed on disk, kept")
            << Situation::ChangedOnDisk << false << int(QMessageBox::No)
            << QByteArray("other program's text") << false;
        QTest::newRow("changed on disk, overwritten")
            << Situation::ChangedOnDisk << false << int(QMessageBox::Yes) << QByteArray("new")
            << true;
        QTest::newRow("deleted on disk")
            << Situation::RemovedOnDisk << false << none << QByteArray("new") << true;
        QTest::newRow("replaced by a symlink on disk")
            << Situation::ReplacedByLink << false << int(QMessageBox::No) << QByteArray("elsewhere")
            << false;
        QTest::newRow("Shift_JIS name")
            << Situation::ShiftJisName << false << none << QByteArray("new") << true;
    }

    // Catches a save that drops what surrounds the file (a second name, a
    // mode bit, a group, an attribute or an access control list entry), that
    // leaves a temporary file behind, or that writes over another program's
    // text without asking.
    void saveSituations()
    {
        QFETCH(Situation, situation);
        QFETCH(bool, otherUser);
        QFETCH(int, answer);
        QFETCH(QByteArray, stored);
        QFETCH(bool, saved);

        const QString given = qEnvironmentVariable(kFolderVariable);
        if (otherUser && given.isEmpty()) {
            if (::geteuid() != 0)
                QSKIP("needs root to give a file a group its owner is not in, and that owner "
                      "(a second user) to save it");
            runAsNobody(situation);
            return;
        }
        QTemporaryDir dir;
        const QString folder = given.isEmpty() ? dir.path() : given;
        if (given.isEmpty())
            QVERIFY(setUp(situation, folder));
        const QString page = pageIn(folder, situation);

        Document d;
        QString error;
        QVERIFY2(d.doc.onOpenDocument(page, &error), qPrintable(error));
        d.view->setSel(0, d.view->textLength());
        d.view->replaceSel("new", true);
        QVERIFY(d.doc.isModified());
        QVERIFY(changeOnDisk(situation, folder));
        const QString before = surroundings(page);
        const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

        QStringList asked;
        UiSeam::setMessageHook(
            [&](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                asked.append(text);
                return QMessageBox::StandardButton(answer);
            });
        QCOMPARE(d.doc.doFileSave(), saved);
        QCOMPARE(asked.size(), answer == QMessageBox::NoButton ? 0 : 1);
        QCOMPARE(readAll(page), stored);
        QCOMPARE(d.doc.isModified(), !saved);
        if (situation != Situation::RemovedOnDisk)
            QCOMPARE(surroundings(page), before);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden),
                 situation == Situation::RemovedOnDisk ? entries + QStringList{"page.htm"}
                                                       : entries);
        if (situation == Situation::HardLink)
            QCOMPARE(readAll(folder + QStringLiteral("/other.htm")), stored);
        if (situation == Situation::ShiftJisName) {
            QCOMPARE(d.doc.title(), QStringLiteral("ページ.htm"));
            ::unlink(native(page).constData()); // beyond what QTemporaryDir can name
        }
    }

    void fileChangedOnDisk_data()
    {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<bool>("edited");     // the document has unsaved changes
        QTest::addColumn<int>("answer");      // to the one question asked
        QTest::addColumn<QByteArray>("text"); // the document's text afterwards
        QTest::addColumn<bool>("modified");

        const int none = QMessageBox::NoButton;
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        const QByteArray other("other program's text");
        QTest::newRow("unedited, reload")
            << Situation::ChangedOnDisk << false << yes << other << false;
        QTest::newRow("unedited, keep")
            << Situation::ChangedOnDisk << false << no << QByteArray("old") << false;
        QTest::newRow("edited, load the other")
            << Situation::ChangedOnDisk << true << yes << other << false;
        QTest::newRow("edited, keep mine")
            << Situation::ChangedOnDisk << true << no << QByteArray("new") << true;
        QTest::newRow("unedited, deleted")
            << Situation::RemovedOnDisk << false << none << QByteArray("old") << true;
        QTest::newRow("unedited, replaced by a symlink")
            << Situation::ReplacedByLink << false << none << QByteArray("old") << true;
    }

    // Catches a change on disk that goes unmentioned, a reload that drops the
    // user's changes without a yes, a question asked again for a change already
    // answered, and a deleted or replaced file whose document looks saved.
    void fileChangedOnDisk()
    {
        QFETCH(Situation, situation);
        QFETCH(bool, edited);
        QFETCH(int, answer);
        QFETCH(QByteArray, text);
        QFETCH(bool, modified);
        QTemporaryDir dir;
        QVERIFY(writeRaw(pageIn(dir.path(), situation), "old"));
        Document d;
        QVERIFY(d.doc.onOpenDocument(pageIn(dir.path(), situation), nullptr));
        if (edited) {
            d.view->setSel(0, d.view->textLength());
            d.view->replaceSel("new", true);
        }
        int asked = 0;
        UiSeam::setMessageHook(
            [&](const QString&, QMessageBox::Icon, QMessageBox::StandardButtons) {
                ++asked;
                return QMessageBox::StandardButton(answer == QMessageBox::NoButton ? QMessageBox::Ok
                                                                                   : answer);
            });
        d.doc.checkFileOnDisk();
        QCOMPARE(asked, 0);
        QVERIFY(changeOnDisk(situation, dir.path()));
        d.doc.checkFileOnDisk();
        d.doc.checkFileOnDisk();
        QCOMPARE(asked, 1);
        QCOMPARE(d.view->textBytes(), text);
        QCOMPARE(d.doc.isModified(), modified);
    }

    // Catches a watch lost when a save replaces the file by a new one: later
    // changes by other programs would go unnoticed until the next activation.
    void watchFollowsTheFileAcrossSaves()
    {
        QTemporaryDir dir;
        const QString page = pageIn(dir.path(), Situation::HardLink);
        QVERIFY(writeRaw(page, "old"));
        Document d;
        QVERIFY(d.doc.onOpenDocument(page, nullptr));
        CFileWatch watch;
        int reported = 0;
        connect(&watch, &CFileWatch::fileChanged, this, [&] { ++reported; });
        watch.watch(&d.doc);
        d.view->replaceSel("new ", true);
        QVERIFY(d.doc.doFileSave());
        QTest::qWait(2 * CFileWatch::kQuietMs);
        reported = 0;
        QVERIFY(writeRaw(page, "other"));
        QTRY_COMPARE(reported, 1);
    }
};

MARQUILL_TEST_MAIN(TestSaveSituations)
#include "tst_save_situations.moc"
