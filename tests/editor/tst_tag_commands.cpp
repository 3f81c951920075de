#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/editor_fonts.h"
#include "editor/marquill_view.h"
#include "editor/rules/date_format.h"
#include "editor/rules/tag_scan.h"
#include "editor/view_fixture.h"
#include "resources/command_ids.h"
#include "resources/resource_tables.h"
#include "test_support.h"
#include "widgets/progress_dialog.h"

#include <QClipboard>
#include <QDialog>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>

using ViewTest::expectedMap;
using ViewTest::styleMap;

// The insertion operations, the direct commands and the tag tools of the HTML
// view on a real control.
class TestTagCommands : public QObject, protected ViewFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { catchMessages(); }

    void cleanup() { releaseHooks(); }

    // --- Insertion ----------------------------------------------------------------

    void wrapPlacement_data()
    {
        QTest::addColumn<int>("smallLetter");
        QTest::addColumn<int>("stringSelect");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("newStart");
        QTest::addColumn<int>("newEnd");
        QTest::newRow("no selection")
            << 1 << 1 << 3 << 3 << QByteArray("ab <b></b>word cd") << 6 << 6;
        QTest::newRow("no selection, capitals")
            << 0 << 1 << 3 << 3 << QByteArray("ab <B></B>word cd") << 6 << 6;
        QTest::newRow("word kept selected")
            << 1 << 1 << 3 << 7 << QByteArray("ab <b>word</b> cd") << 6 << 10;
        QTest::newRow("caret after the end tag")
            << 1 << 0 << 3 << 7 << QByteArray("ab <b>word</b> cd") << 14 << 14;
    }

    void wrapPlacement()
    {
        QFETCH(int, smallLetter);
        QFETCH(int, stringSelect);
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        QFETCH(QByteArray, text);
        QFETCH(int, newStart);
        QFETCH(int, newEnd);
        writeProfileInt("Options", "SmallLetter", smallLetter);
        writeProfileInt("Options", "StringSelect", stringSelect);
        CMarquillView view;
        view.loadBytes("ab word cd");
        view.setSel(selStart, selEnd);
        QVERIFY(view.executeCommand(Cmd::Bold));
        QCOMPARE(view.textBytes(), text);
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, qint64(newStart));
        QCOMPARE(e, qint64(newEnd));
        QCOMPARE(styleMap(view), expectedMap(text));
        QVERIFY(!view.canUndoEdit());
        QVERIFY(view.modifyFlag());
        QCOMPARE(view.lastStartText(), smallLetter ? QByteArray("<b>") : QByteArray("<B>"));
        QCOMPARE(view.lastEndText(), smallLetter ? QByteArray("</b>") : QByteArray("</B>"));
        QCOMPARE(view.lastWasPair(), 1);
    }

    void settingsAreReadAtEveryCall()
    {
        CMarquillView view;
        view.executeCommand(Cmd::Bold);
        writeProfileInt("Options", "SmallLetter", 0);
        view.executeCommand(Cmd::Italic);
        QCOMPARE(view.textBytes(), QByteArray("<b><I></I></b>"));
    }

    void directCommandTexts()
    {
        CMarquillView view;
        view.loadBytes("x");
        view.setSel(0, 1);
        view.executeCommand(35021); // left alignment
        QCOMPARE(view.textBytes(), QByteArray("<div align=left>x</div>"));
        view.loadBytes("item");
        view.setSel(0, 4);
        view.executeCommand(35510); // list item: nothing after
        QCOMPARE(view.textBytes(), QByteArray("<li>item"));
        view.loadBytes("c");
        view.setSel(0, 1);
        view.executeCommand(35027); // comment keeps its spaces
        QCOMPARE(view.textBytes(), QByteArray("<!-- c -->"));
        view.loadBytes("sel");
        view.setSel(0, 3);
        view.executeCommand(Cmd::LineBreak); // an insert replaces the selection
        QCOMPARE(view.textBytes(), QByteArray("<br>\r\n"));
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 6);
        QCOMPARE(e, 6);
        QCOMPARE(view.lastStartText(), QByteArray("<br>\r\n"));
        QCOMPARE(view.lastWasPair(), 0);
        QCOMPARE(view.lastEndText(), QByteArray(" -->")); // unchanged by inserts
        for (const auto& c : Resources::directCommands())
            QVERIFY2(view.hasCommandHandler(c.id), qPrintable(QString::number(c.id)));
    }

    void entityCommands()
    {
        writeProfileInt("Options", "SmallLetter", 1);
        CMarquillView view;
        for (int id : {36003, 36004, 36005, 36006})
            view.executeCommand(id);
        QCOMPARE(view.textBytes(), QByteArray("&lt;&gt;&amp;&quot;"));
    }

    void lfDocumentsGetLfLineEnds()
    {
        CMarquillView view;
        view.loadBytes("a\nb\n");
        view.setSel(2, 2);
        view.executeCommand(Cmd::Paragraph);
        QCOMPARE(view.textBytes(), QByteArray("a\n<p>\nb\n"));
        view.loadBytes("a\r\nb");
        view.setSel(3, 3);
        view.executeCommand(Cmd::Paragraph);
        QCOMPARE(view.textBytes(), QByteArray("a\r\n<p>\r\nb"));
    }

    void dateIsNeverLowered()
    {
        writeProfileInt("Options", "Date", 11);
        CMarquillView view;
        const QByteArray before = DateFormat::dateText(11, QDateTime::currentDateTime());
        view.executeCommand(Cmd::Date);
        const QByteArray after = DateFormat::dateText(11, QDateTime::currentDateTime());
        QVERIFY(view.textBytes() == before || view.textBytes() == after);
        QVERIFY(view.textBytes().at(0) >= 'A' && view.textBytes().at(0) <= 'Z');
        QCOMPARE(view.lastStartText(), view.textBytes());
    }

    void japaneseInsideTagKept()
    {
        CMarquillView view;
        view.InsertText("<IMG ALT=\"Aの画像\" SRC=日本.GIF>", true);
        QCOMPARE(view.textBytes(), QByteArray("<img alt=\"Aの画像\" src=日本.gif>"));
        QCOMPARE(styleMap(view), expectedMap(view.textBytes()));
    }

    // --- Tag tools ------------------------------------------------------------------

    void autoSelectCommandAndDoubleClick()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("ab <B>word</B> cd");
        view.setSel(8, 8);
        view.executeCommand(Cmd::AutoSelect);
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 6);
        QCOMPARE(e, 10);
        // A double click on the B of the tag selects the whole tag, not the word.
        const QPoint p = view.charPos(4) + QPoint(2, 4);
        view.setSel(0, 0);
        // A real double click: press, release, double click, release.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, p);
        view.getSel(s, e);
        QCOMPARE(s, 3);
        QCOMPARE(e, 6);
    }

    void captureAndReinsert()
    {
        CMarquillView view;
        CCmdUI before(Cmd::ReinsertTag);
        view.updateCommand(before);
        QVERIFY(!before.isEnabled());

        view.loadBytes("x<B CLASS=\"k\">bold</B>y z");
        view.setSel(1, 22);
        view.executeCommand(Cmd::CaptureTag);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text,
                 QStringLiteral("挟むタグ : <B CLASS=\"k\"> ～ </B>\n\nを取り込みました。"));
        QCOMPARE(m_messages[0].icon, QMessageBox::Information);
        QVERIFY(!view.hasSelection());
        QCOMPARE(view.lastWasPair(), 1);
        CCmdUI after(Cmd::ReinsertTag);
        view.updateCommand(after);
        QVERIFY(after.isEnabled());

        view.setSel(24, 25);
        view.executeCommand(Cmd::ReinsertTag);
        QCOMPARE(view.textBytes(), QByteArray("x<B CLASS=\"k\">bold</B>y <b class=\"k\">z</b>"));

        // A single tag, confirmed without a message when so set.
        writeProfileInt("Options", "GetTagMessageBox", 0);
        view.loadBytes("a<BR>b");
        view.setSel(0, 6);
        view.executeCommand(Cmd::CaptureTag);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(view.lastStartText(), QByteArray("<BR>"));
        QCOMPARE(view.lastWasPair(), 0);
        view.setSel(6, 6);
        view.executeCommand(Cmd::ReinsertTag);
        QCOMPARE(view.textBytes(), QByteArray("a<BR>b<br>"));
    }

    void captureMessagesAndFailure()
    {
        CMarquillView view;
        view.loadBytes("<HR>x<HR> plain");
        view.setSel(0, 9);
        view.executeCommand(Cmd::CaptureTag);
        QCOMPARE(m_messages.last().text, QStringLiteral("単独タグ : <HR>\n\nを取り込みました。"));
        view.setLastInsertion("<Q>", "</Q>", 1);
        view.setSel(10, 15);
        view.executeCommand(Cmd::CaptureTag);
        QCOMPARE(
            m_messages.last().text,
            QStringLiteral("タグの取り込みに失敗しました。\nタグを含むように範囲選択して下さい。"));
        QCOMPARE(m_messages.last().icon, QMessageBox::Critical);
        QCOMPARE(view.lastStartText(), QByteArray("<Q>"));
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 10);
        QCOMPARE(e, 15);
    }

    void closeLastUnclosedTag()
    {
        CMarquillView view;
        view.loadBytes("<I>a<B>b</B>c<P>d");
        view.setSel(view.textLength(), view.textLength());
        view.executeCommand(Cmd::CloseLastTag);
        QCOMPARE(view.textBytes(), QByteArray("<I>a<B>b</B>c<P>d</i>"));
        view.executeCommand(Cmd::CloseLastTag); // nothing left open: nothing happens
        QCOMPARE(view.textBytes(), QByteArray("<I>a<B>b</B>c<P>d</i>"));
        writeProfileInt("Options", "SmallLetter", 0);
        view.loadBytes("<font size=3>x");
        view.setSel(14, 14);
        view.executeCommand(Cmd::CloseLastTag);
        QCOMPARE(view.textBytes(), QByteArray("<font size=3>x</FONT>"));
        QCOMPARE(styleMap(view).mid(14), QByteArray("ttttttt"));
        QVERIFY(m_messages.isEmpty());
    }
};

MARQUILL_TEST_MAIN(TestTagCommands)
#include "tst_tag_commands.moc"
