// The view's remaining commands end to end on a real view: files dropped on
// it, jump, insert file, the full-width space and the caret's place.

#include "test_support.h"

#include "commands/command_modules.h"
#include "core/command_target.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/jump_dialog.h"
#include "document/marquill_doc.h"
#include "editor/caret_status.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"
#include "widgets/spin_edit.h"

#include <QDialogButtonBox>
#include <QMimeData>
#include <QPushButton>

class TestViewCommands : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<CMarquillDoc> m_doc;
    std::unique_ptr<CMarquillView> m_view;
    QStringList m_messages;

    // Opens a document on path (relative to the temporary folder; empty:
    // untitled) holding text.
    void open(const QString& path, const QByteArray& text)
    {
        m_doc = std::make_unique<CMarquillDoc>();
        m_view = std::make_unique<CMarquillView>();
        m_doc->setView(m_view.get());
        m_view->resize(600, 400);
        if (path.isEmpty()) {
            m_view->loadBytes(text);
            return;
        }
        QString error;
        QVERIFY2(m_doc->onOpenDocument(writeFile(path, text), &error), qPrintable(error));
    }

    QString writeFile(const QString& relative, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
        return path;
    }

    bool run(int id) { return CommandRouting::execute({m_view.get()}, id); }

    static QByteArray gif(int width, int height)
    {
        QByteArray bytes("GIF89a");
        for (int n : {width, height}) {
            bytes.append(char(n & 0xFF));
            bytes.append(char(n >> 8));
        }
        return bytes + QByteArray(20, '\0');
    }

private Q_SLOTS:
    void initTestCase() { CommandModules::install(); }

    void init()
    {
        TestSupport::clearSettings();
        writeProfileInt("Options", "AutoColor", 0);
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages << text;
                return QMessageBox::Ok;
            });
    }

    void cleanup()
    {
        UiSeam::setDialogHook({});
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
        m_view.reset();
        m_doc.reset();
    }

    // A dropped GIF or JPEG becomes an image with its size in place of the
    // selection, any other file a link round it; the path is relative to
    // the document.
    void droppedFile_data()
    {
        QTest::addColumn<QString>("document"); // empty: untitled
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text"); // %1: the temporary folder
        QTest::newRow("GIF beside") << "web/index.htm"
                                    << "web/pic.gif" << gif(100, 50)
                                    << "<img src=\"pic.gif\" "
                                       "alt=\"pic\" width=100 "
                                       "height=50>";
        QTest::newRow("JPEG below, upper-case name")
            << "web/index.htm"
            << "web/img/Photo.JPEG"
            << QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x4D\x01\x2D", 11)
            << "<img src=\"img/Photo.JPEG\" alt=\"Photo\" width=301 height=77>";
        QTest::newRow("image without size") << "web/index.htm"
                                            << "web/broken.jpg" << QByteArray("not an image")
                                            << "<img src=\"broken.jpg\" alt=\"broken\">";
        QTest::newRow("text file: link round the word")
            << "web/index.htm"
            << "notes.txt" << QByteArray("x") << "<a href=\"../notes.txt\">word</a>";
        QTest::newRow("untitled: full path")
            << ""
            << "b.htm" << QByteArray("x") << "<a href=\"%1/b.htm\">word</a>";
    }
    void droppedFile()
    {
        QFETCH(QString, document);
        QFETCH(QString, dropped);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        open(document, "word");
        m_view->setSel(0, 4);
        Q_EMIT m_view->fileDropped(writeFile(dropped, bytes));
        QCOMPARE(QString::fromUtf8(m_view->textBytes()), text.arg(m_dir.path()));
    }

    // A real drop of several files puts in the first one only.
    void onlyTheFirstDroppedFileIsInserted()
    {
        open(QStringLiteral("index.htm"), "");
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(writeFile("a.htm", "a")),
                       QUrl::fromLocalFile(writeFile("b.htm", "b"))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        // A drop reaches the widget that accepted the drag's entering.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(m_view->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCoreApplication::sendEvent(m_view->viewport(), &drop);
        QCOMPARE(m_view->textBytes(), QByteArray("<a href=\"a.htm\"></a>"));
        delete data;
    }

    // The line numbers jump accepts.
    void jumpRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::newRow("first") << "1" << 1 << "";
        QTest::newRow("last") << " 7 " << 7 << "";
        QTest::newRow("zero on one line") << "0" << 1 << "'行番号'の値は 1 から 1 までです。";
        QTest::newRow("beyond") << "8" << 7 << "'行番号'の値は 1 から 7 までです。";
        QTest::newRow("negative") << "-3" << 7 << "'行番号'の値は 1 から 7 までです。";
        QTest::newRow("not a number") << "3行" << 7 << "整数を入力してください。";
        QTest::newRow("empty") << "" << 7 << "整数を入力してください。";
        QTest::newRow("beyond 16 bits") << "70000" << 70000 << "";
    }
    void jumpRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, lines);
        QFETCH(QString, message);
        QCOMPARE(CJumpDialog::checkLine(typed, lines).message, message);
    }

    // Jump puts the caret at the start of the chosen displayed line; a
    // refused number keeps the dialog open.
    void jumpMovesTheCaret()
    {
        open(QString(), "one\r\ntwo\r\nthree\r\n");
        m_view->setSel(1, 1);
        int shownLine = 0;
        UiSeam::setDialogHook([&](QDialog& dialog) {
            auto* edit = dialog.findChild<CSpinEdit*>(QStringLiteral("lineEdit"));
            shownLine = edit->text().toInt();
            edit->setText(QStringLiteral("9"));
            dialog.accept();
            if (dialog.result() == QDialog::Accepted)
                return int(QDialog::Accepted);
            edit->setText(QStringLiteral("3"));
            dialog.accept();
            return dialog.result();
        });
        QVERIFY(run(Cmd::Jump));
        qint64 s, e;
        m_view->getSel(s, e);
        QCOMPARE(QList<qint64>({shownLine, s, e}), QList<qint64>({1, 10, 10}));
        QCOMPARE(m_messages, QStringList{QStringLiteral("'行番号'の値は 1 から 4 までです。")});
    }

    // Insert file: the text at the caret with every line ended, in the
    // document's line ends; a file that is no text inserts nothing.
    void insertFile_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("last line gets a line end")
            << QByteArray("A\r\nB") << QByteArray("x\r\ny") << QByteArray("A\r\nx\r\ny\r\nB");
        QTest::newRow("LF document")
            << QByteArray("A\nB") << QByteArray("x\r\ny\rz\n") << QByteArray("A\nx\ny\nz\nB");
        QTest::newRow("Shift_JIS decoded")
            << QByteArray("A\r\nB") << QByteArray("\x93\xfa\x96\x7b\x8c\xea\r\n")
            << QByteArray("A\r\n日本語\r\nB");
        QTest::newRow("empty file") << QByteArray("A\r\nB") << QByteArray() << QByteArray("A\r\nB");
        QTest::newRow("binary") << QByteArray("A\r\nB") << QByteArray("PK\x03\x04\x00\x00", 6)
                                << QByteArray("A\r\nB");
    }
    void insertFile()
    {
        QFETCH(QByteArray, document);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, text);
        open(QString(), document);
        m_view->setSel(document.indexOf('B'), document.indexOf('B'));
        const QString path = writeFile(QStringLiteral("inserted.txt"), file);
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest&) { return path; });
        QVERIFY(run(Cmd::InsertFile));
        QCOMPARE(m_view->textBytes(), text);
    }

    void insertingAFileThatCannotBeReadSaysSo()
    {
        open(QString(), "A");
        UiSeam::setFileDialogHook(
            [&](const UiSeam::FileDialogRequest&) { return m_dir.filePath("gone.txt"); });
        QVERIFY(run(Cmd::InsertFile));
        QCOMPARE(m_view->textBytes(), QByteArray("A"));
        QCOMPARE(m_messages.size(), 1);
    }

    // The full-width space replaces the selection as it is: not a tag, not
    // remembered for re-insertion.
    void fullWidthSpace()
    {
        writeProfileInt("Options", "AutoColor", 1);
        open(QString(), "<b>ab</b>");
        m_view->setLastInsertion("<I>", "</I>", 1);
        m_view->setSel(3, 5);
        QVERIFY(run(Cmd::FullWidthSpace));
        QCOMPARE(QList<QByteArray>({m_view->textBytes(), m_view->lastStartText()}),
                 QList<QByteArray>({"<b>\u3000</b>", "<I>"}));
        QCOMPARE(m_view->styleAt(3), int(CMyRichEditView::StyleDefault));
    }

    // The caret's displayed line and its column in characters.
    void caretStatus_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("status");
        QTest::newRow("start") << QByteArray("ab\r\ncd") << 0 << "         1 :     1";
        QTest::newRow("start of line 3") << QByteArray("a\r\nb\r\nc") << 6 << "         3 :     1";
        QTest::newRow("after two characters")
            << QByteArray("x\r\n日本語") << 9 << "         2 :     3";
    }
    void caretStatus()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, caret);
        QFETCH(QString, status);
        open(QString(), text);
        m_view->setSel(caret, caret);
        QCOMPARE(CaretStatus::text(*m_view), status);
    }
};

MARQUILL_TEST_MAIN(TestViewCommands)
#include "tst_view_commands.moc"
