// The user's tools started for real: a small script records its working
// folder and its arguments, one per line, so the test sees exactly what the
// program received. Paths and selections hold blanks, quotes and shell
// metacharacters; nothing may run but the tool itself.

#include "test_support.h"

#include "core/slot_records.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

namespace {

// Appends the working folder and each argument in brackets to the file named
// by MARQUILL_TOOL_RECORD, then a closing line, so a reader knows a run is
// complete.
const char kRecorder[] = "#!/bin/sh\n"
                         "{ echo \"cwd=$(pwd)\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; "
                         "done; echo end; } >> \"$MARQUILL_TOOL_RECORD\"\n";

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestExternalTool : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_toolDir;   // holds the recorder, a name full of blanks and metacharacters
    QString m_tool;      // the recorder's path
    QString m_plainTool; // a copy in a folder whose name needs no more than quotes
    QString m_workDir;   // a working folder to give tools
    QString m_record;    // what the recorder writes
    QString m_document;  // a saved document, its name as awkward as the tool's
    QStringList m_messages;

    struct Document
    {
        CMarquillDoc doc;
        CMarquillView* view = new CMarquillView;
        Document() { doc.setView(view); }
        ~Document() { delete view; }
    };

    void storeTool(int slot, const ToolRecord& tool)
    {
        SlotRecords::Slots<ToolRecord> tools = SlotRecords::readTools();
        tools[slot] = tool;
        SlotRecords::writeTools(tools);
    }

    static ToolRecord tool(const QString& path, int mode, const QString& folder = QString())
    {
        ToolRecord t;
        t.view = QStringLiteral("記録");
        t.path = path;
        t.cmdType = mode;
        t.folder = folder;
        return t;
    }

    // Waits for the recorder's runs to complete; returns what they recorded.
    QString recorded(int runs = 1)
    {
        [&] { QTRY_COMPARE_WITH_TIMEOUT(readAll(m_record).count("end\n"), runs, 10000); }();
        return readAll(m_record);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_toolDir = m_root.filePath(QStringLiteral("my tools; $(touch X) `touch Y` 'q' \"d\""));
        m_workDir = m_root.filePath(QStringLiteral("work dir & more"));
        QVERIFY(QDir().mkpath(m_toolDir));
        QVERIFY(QDir().mkpath(m_workDir));
        m_tool = m_toolDir + QStringLiteral("/record args.sh");
        QFile script(m_tool);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(kRecorder);
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
        // A shorter path before a blank of the tool's path that names a
        // program too: the whole path must win.
        QVERIFY(QFile::copy(m_tool, m_root.filePath(QStringLiteral("my"))));
        m_plainTool = m_root.filePath(QStringLiteral("quoted tools/record args.sh"));
        QVERIFY(QDir().mkpath(QFileInfo(m_plainTool).path()));
        QVERIFY(QFile::copy(m_tool, m_plainTool));
        m_document = m_root.filePath(QStringLiteral("page \"1\" $(id).htm"));
        QFile page(m_document);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("saved text");
        m_record = m_root.filePath(QStringLiteral("record.txt"));
        qputenv("MARQUILL_TOOL_RECORD", m_record.toUtf8());
    }

    void init()
    {
        TestSupport::clearSettings();
        QFile::remove(m_record);
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages << text;
                return QMessageBox::Ok;
            });
    }

    void cleanup() { UiSeam::setMessageHook({}); }

    // What the program receives: {tool}, {work}, {doc} stand for the
    // recorder's folder, the working folder and the document's path.
    void arguments_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("workFolder");
        QTest::addColumn<QByteArray>("selection");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no argument, in the editor's own folder")
            << "{tool}" << 0 << false << QByteArray("ignored") << "cwd={editorDir}\nend\n";
        QTest::newRow("arguments stored after the program")
            << "{tool} -x \"a b\" c" << 0 << true << QByteArray()
            << "cwd={work}\n[-x]\n[a b]\n[c]\nend\n";
        QTest::newRow("quoted program path")
            << "\"{plainTool}\" y" << 0 << false << QByteArray() << "cwd={editorDir}\n[y]\nend\n";
        QTest::newRow("the document's path as one argument")
            << "{tool}" << 1 << true << QByteArray("ignored") << "cwd={work}\n[{doc}]\nend\n";
        QTest::newRow("selected words split like a command line")
            << "{tool}" << 2 << false << QByteArray("a b") << "cwd={editorDir}\n[a]\n[b]\nend\n";
        QTest::newRow("quotes in the selection group words")
            << "{tool}" << 2 << false << QByteArray("\"x y\" z 日本")
            << "cwd={editorDir}\n[x y]\n[z]\n[日本]\nend\n";
        QTest::newRow("nothing selected: no argument")
            << "{tool}" << 2 << true << QByteArray() << "cwd={work}\nend\n";
        QTest::newRow("shell metacharacters reach the program as text")
            << "{tool}" << 2 << true
            << QByteArray("; touch P1 | touch P2 && $(touch P3) `touch P4` > P5")
            << "cwd={work}\n[;]\n[touch]\n[P1]\n[|]\n[touch]\n[P2]\n[&&]\n[$(touch]\n[P3)]\n"
               "[`touch]\n[P4`]\n[>]\n[P5]\nend\n";
    }

    void arguments()
    {
        QFETCH(QString, path);
        QFETCH(int, mode);
        QFETCH(bool, workFolder);
        QFETCH(QByteArray, selection);
        QFETCH(QString, expected);
        path.replace(QLatin1String("{tool}"), m_tool)
            .replace(QLatin1String("{plainTool}"), m_plainTool);
        expected.replace(QLatin1String("{editorDir}"), QCoreApplication::applicationDirPath())
            .replace(QLatin1String("{work}"), m_workDir)
            .replace(QLatin1String("{doc}"), m_document);
        storeTool(3, tool(path, mode, workFolder ? m_workDir : QString()));

        Document d;
        QVERIFY(d.doc.onOpenDocument(m_document, nullptr));
        d.view->loadBytes("before " + selection + " after");
        d.view->setSel(7, 7 + selection.size());
        QVERIFY(d.doc.executeCommand(Cmd::Tool0 + 3));
        QCOMPARE(recorded(), expected);
        QVERIFY(m_messages.isEmpty());
        // No shell ran the metacharacters: nothing else created a file.
        const QStringList made = QDir(m_workDir).entryList(QDir::Files) +
                                 QDir(m_toolDir).entryList(QDir::Files) +
                                 QDir(m_root.path()).entryList(QDir::Files);
        QCOMPARE(made.size(), 4); // the recorder and its decoy, the document, the record
    }

    // A run that starts nothing says so (or, for a free slot, stays quiet)
    // and leaves the text alone; a tool run after it (from the last slot)
    // records only itself.
    void runsThatStartNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("used");
        QTest::addColumn<QString>("message");

        const QString warning = "この新規文書は保存されていません。\n"
                                "保存されていない文書を引数としてプログラムに渡せません。\n"
                                "文書を保存してから実行して下さい。";
        QTest::newRow("document never saved") << "{tool}" << 1 << "" << true << warning;
        QTest::newRow("free slot") << "{tool}" << 0 << "" << false << "";
        QTest::newRow("missing program")
            << "/nonexistent/tool" << 0 << "" << true << "ツール「記録」を起動できませんでした。";
        QTest::newRow("empty program path")
            << "" << 0 << "" << true << "ツール「記録」を起動できませんでした。";
        QTest::newRow("program that is no executable")
            << "{doc}" << 0 << "" << true << "ツール「記録」を起動できませんでした。";
        QTest::newRow("missing working folder") << "{tool}" << 0 << "/nonexistent/folder" << true
                                                << "ツール「記録」を起動できませんでした。";
    }

    void runsThatStartNothing()
    {
        QFETCH(QString, path);
        QFETCH(int, mode);
        QFETCH(QString, folder);
        QFETCH(bool, used);
        QFETCH(QString, message);
        path.replace(QLatin1String("{tool}"), m_tool).replace(QLatin1String("{doc}"), m_document);
        ToolRecord failing = tool(path, mode, folder);
        if (!used)
            failing.view.clear();
        storeTool(0, failing);
        storeTool(9, tool(m_tool + QStringLiteral(" marker"), 0));

        Document d;
        d.view->loadBytes("text");
        d.view->setSel(0, 4);
        QVERIFY(d.doc.executeCommand(Cmd::Tool0));
        QCOMPARE(m_messages.value(0).section(QLatin1Char('\n'), 0, message.count('\n')), message);
        QCOMPARE(d.view->textBytes(), QByteArray("text"));
        QVERIFY(!d.doc.isModified());
        QVERIFY(d.doc.executeCommand(Cmd::Tool9)); // the last slot's command
        QCOMPARE(recorded(), "cwd=" + QCoreApplication::applicationDirPath() + "\n[marker]\nend\n");
    }
};

MARQUILL_TEST_MAIN(TestExternalTool)
#include "tst_external_tool.moc"
