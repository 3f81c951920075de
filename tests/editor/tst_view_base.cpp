#include "editor/my_rich_edit_view.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QClipboard>

// The text view over the real control: byte-exact text, the modified flag,
// selection and edit commands, displayed lines.
class TestViewBase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("crlf") << QByteArray("<P>a\r\nb\r\n");
        QTest::newRow("lone cr") << QByteArray("a\rb\r\rc");
        QTest::newRow("nul inside") << QByteArray("before\0after\0", 13);
        QTest::newRow("invalid utf8") << QByteArray("\xff\xfe<a>\x80\x81\xc3");
        QTest::newRow("shift_jis bytes") << QByteArray("\x82\xa0\x82\xa2<B>\x93\xfa\x96\x7b</B>");
        QTest::newRow("japanese utf8") << QByteArray("日本語のテキスト\n");
    }
    void roundTripsBytes()
    {
        QFETCH(QByteArray, bytes);
        CMyRichEditView view;
        view.loadBytes(bytes);
        QCOMPARE(view.textLength(), bytes.size());
        QCOMPARE(view.textBytes(), bytes);
        QVERIFY(!view.modifyFlag());
        QVERIFY(!view.canUndoEdit());
    }

    void largeTextRoundTrips()
    {
        QByteArray big;
        big.reserve(10 * 1024 * 1024);
        int i = 0;
        while (big.size() < 10 * 1024 * 1024)
            big += "<TR><TD CLASS=\"c\">row " + QByteArray::number(i++) + " 日本</TD></TR>\r\n";
        CMyRichEditView view;
        view.loadBytes(big);
        QCOMPARE(view.textBytes(), big);
    }

    void lineEndFollowsTheText()
    {
        CMyRichEditView view;
        view.loadBytes("a\nb\r\n");
        QCOMPARE(view.lineEnd(), QByteArray("\n"));
        view.loadBytes("a\r\nb\n");
        QCOMPARE(view.lineEnd(), QByteArray("\r\n"));
        view.loadBytes("a\rb");
        QCOMPARE(view.lineEnd(), QByteArray("\r"));
        view.loadBytes("no line end");
        QCOMPARE(view.lineEnd(), QByteArray("\r\n"));
    }

    void editsSetTheModifiedFlag()
    {
        CMyRichEditView view;
        view.loadBytes("abc");
        QSignalSpy edited(&view, &CMyRichEditView::textEdited);
        view.setSel(3, 3);
        view.replaceSel("d", true);
        QVERIFY(view.modifyFlag());
        QCOMPARE(edited.count(), 1);
        QCOMPARE(view.textBytes(), QByteArray("abcd"));
        QVERIFY(view.canUndoEdit());
        view.setModifyFlag(false);
        QVERIFY(!view.modifyFlag());
        view.setModifyFlag(true);
        QVERIFY(view.modifyFlag());
    }

    void replaceWithoutUndoEmptiesTheUndoBuffer()
    {
        CMyRichEditView view;
        view.loadBytes("abc");
        view.setSel(0, 0);
        view.replaceSel("x", true);
        view.setSel(1, 2);
        view.replaceSel(QByteArray("\0y", 2), false);
        QCOMPARE(view.textBytes(), QByteArray("x\0ybc", 5));
        // The earlier undoable edit no longer matches the text: undo must not
        // be offered, or it would damage the text.
        QVERIFY(!view.canUndoEdit());
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 3);
        QCOMPARE(e, 3);
    }

    void rectangularSelectionReplacesOnlyItsMainRange()
    {
        CMyRichEditView view;
        view.loadBytes("abcd\r\nefgh\r\nijkl");
        // A rectangle over columns 1-2 of the first two lines.
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 1);
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 9);
        QVERIFY(view.sci(QsciScintillaBase::SCI_SELECTIONISRECTANGLE));
        view.replaceSel("X", false);
        const QByteArray text = view.textBytes();
        QVERIFY2(text.contains("\r\nijkl") && text.count("\r\n") == 2, text.constData());
        QCOMPARE(text.size(), QByteArray("abcd\r\nefgh\r\nijkl").size() - 1);
    }

    void selectionOperations()
    {
        CMyRichEditView view;
        view.loadBytes("日本語abc");
        view.setSel(0, -1);
        QCOMPARE(view.selectedBytes(), view.textBytes());
        view.setSel(3, 6);
        QCOMPARE(view.selectedBytes(), QByteArray("本"));
        QVERIFY(view.hasSelection());
        view.setSel(-1, 0);
        QVERIFY(!view.hasSelection());
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 3);
    }

    void editCommandsEnableByState()
    {
        CMyRichEditView view;
        auto enabled = [&view](int id) {
            CCmdUI ui(id);
            view.updateCommand(ui);
            return ui.isEnabled();
        };
        view.loadBytes("");
        QVERIFY(!enabled(Cmd::EditSelectAll));
        QVERIFY(!enabled(Cmd::EditCut));
        QVERIFY(!enabled(Cmd::EditUndo));
        view.loadBytes("text");
        QVERIFY(enabled(Cmd::EditSelectAll));
        view.executeCommand(Cmd::EditSelectAll);
        QVERIFY(enabled(Cmd::EditCut));
        QVERIFY(enabled(Cmd::EditCopy));
        QVERIFY(enabled(Cmd::EditClear));
        view.executeCommand(Cmd::EditClear);
        QCOMPARE(view.textBytes(), QByteArray());
        QVERIFY(enabled(Cmd::EditUndo));
        view.executeCommand(Cmd::EditUndo);
        QCOMPARE(view.textBytes(), QByteArray("text"));
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        QVERIFY(enabled(Cmd::EditPaste));
    }

    void displayedLinesFollowTheWrap()
    {
        CMyRichEditView view;
        view.resize(300, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QByteArray para;
        for (int i = 0; i < 40; ++i)
            para += "word" + QByteArray::number(i) + " ";
        view.loadBytes("first\r\n" + para + "\r\nlast");
        QCoreApplication::processEvents();
        const int lines = view.lineCount();
        QVERIFY2(lines > 3, qPrintable(QString::number(lines)));
        QCOMPARE(view.lineFromChar(0), 0);
        QCOMPARE(view.lineIndex(1), 7);
        const qint64 lastStart = view.textLength() - 4;
        QCOMPARE(view.lineFromChar(lastStart), lines - 1);
        QCOMPARE(view.lineIndex(lines - 1), lastStart);
        // A position on the second displayed line of the wrapped paragraph.
        const qint64 second = view.lineIndex(2);
        QVERIFY(second > 7 && second < lastStart);
        QCOMPARE(view.lineFromChar(second + 1), 2);
        QCOMPARE(view.displayLineStartAt(second + 1), second);
        QCOMPARE(view.previousDisplayLineStart(second + 1), 7);
        QCOMPARE(view.lineLength(0), 5);
        QCOMPARE(view.lineLength(7), second - 7);
    }
};

MARQUILL_TEST_MAIN(TestViewBase)
#include "tst_view_base.moc"
