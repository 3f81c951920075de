#include "core/options.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/editor_fonts.h"
#include "editor/marquill_view.h"
#include "editor/rules/date_format.h"
#include "editor/rules/matching_tag.h"
#include "editor/rules/tag_scan.h"
#include "editor/tag_match_marker.h"
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

// The HTML view on a real control: formats, colouring while typing and as a
// whole, undo.
class TestMarquillView : public QObject, protected ViewFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init() { catchMessages(); }

    void cleanup() { releaseHooks(); }

    // --- Formats --------------------------------------------------------------

    void formatsFromDefaults()
    {
        CMarquillView view;
        char face[64] = {};
        view.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, CMyRichEditView::StyleTag, face);
        QCOMPARE(QByteArray(face), QByteArray("ＭＳ ゴシック"));
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleTag),
                 0xCC0000L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETBOLD, CMyRichEditView::StyleTag), 1L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETBOLD, CMyRichEditView::StyleQuote), 1L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETBOLD, CMyRichEditView::StyleDefault), 0L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleDefault), 0L);
        QCOMPARE(
            view.sci(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, CMyRichEditView::StyleDefault),
            1200L);
        QVERIFY(QFont::substitutes(QStringLiteral("ＭＳ ゴシック"))
                    .contains(QStringLiteral("Noto Sans Mono CJK JP"), Qt::CaseInsensitive));
    }

    void formatsFromSettingsAtCreation()
    {
        writeProfileString("Font", "QuoteFaceName", QStringLiteral("DejaVu Sans"));
        writeProfileInt("Font", "QuoteHeight", 280);
        writeProfileInt("Font", "QuoteColor", 0x0000FF);
        writeProfileInt("Font", "QuoteEffects", 2);
        writeProfileInt("Font", "DefaultColor", 0x123456);
        CMarquillView view;
        writeProfileInt("Font", "QuoteColor", 0x00FF00); // later changes wait for a new view
        char face[64] = {};
        view.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, CMyRichEditView::StyleQuote, face);
        QCOMPARE(QByteArray(face), QByteArray("DejaVu Sans"));
        QCOMPARE(
            view.sci(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, CMyRichEditView::StyleQuote),
            1400L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleQuote),
                 0x0000FFL);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETITALIC, CMyRichEditView::StyleQuote), 1L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETBOLD, CMyRichEditView::StyleQuote), 0L);
        QCOMPARE(view.sci(QsciScintillaBase::SCI_STYLEGETFORE, CMyRichEditView::StyleDefault),
                 0x123456L);
    }

    // A stored height no font is drawn in is taken as the default (12
    // points); sizes are in hundredths of a point.
    void undrawableHeightsFallBack_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<long>("size");
        QTest::newRow("the largest integer") << 2147483647 << 1200L;
        QTest::newRow("zero") << 0 << 1200L;
        QTest::newRow("just above 1638 points") << 32761 << 1200L;
        QTest::newRow("1638 points") << 32760 << 163800L;
        QTest::newRow("1 point") << 20 << 100L;
    }
    void undrawableHeightsFallBack()
    {
        QFETCH(int, stored);
        QFETCH(long, size);
        writeProfileInt("Font", "DefaultHeight", stored);
        CMarquillView view;
        TestSupport::clearSettings();
        QCOMPARE(
            view.sci(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, CMyRichEditView::StyleDefault),
            size);
    }

    void advancesDecideWhetherRestylingRewraps()
    {
        EditorFonts::registerSubstitutions();
        const CharFormat plain = EditorFonts::readFormat(EditorFonts::Default);
        CharFormat bold = plain;
        bold.effects = 1;
        CharFormat bigger = plain;
        bigger.height = 280;
        QVERIFY(!EditorFonts::sameAdvances(plain, bigger));
        QVERIFY(EditorFonts::sameAdvances(plain, plain));
        CharFormat serif{"DejaVu Serif", 240, 0, 0};
        CharFormat serifBold{"DejaVu Serif", 240, 0, 1};
        if (QFontInfo(QFont(QStringLiteral("DejaVu Serif"))).family() ==
            QStringLiteral("DejaVu Serif"))
            QVERIFY(!EditorFonts::sameAdvances(serif, serifBold));
    }

    // --- Typing -----------------------------------------------------------------

    void typedCharactersTakeTheirStyle()
    {
        CMarquillView view;
        showView(view);
        typeAtEnd(view, "a<A HREF=\"x\" T>b\"c");
        QCOMPARE(view.textBytes(), QByteArray("a<A HREF=\"x\" T>b\"c"));
        QCOMPARE(styleMap(view), QByteArray(".ttttttttqqqttt.qq"));
        QVERIFY(view.modifyFlag());
        QVERIFY(view.canUndoEdit());
    }

    void typedContextIsThePreviousAndCurrentLine()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("<A\nline\n");
        typeAtEnd(view, "x");
        QCOMPARE(view.styleAt(view.textLength() - 1), int(CMyRichEditView::StyleDefault));
        view.loadBytes("<A\n");
        typeAtEnd(view, "x");
        QCOMPARE(view.styleAt(view.textLength() - 1), int(CMyRichEditView::StyleTag));
        // A quote left open on the line before still counts.
        view.loadBytes("say \"hi\n");
        typeAtEnd(view, "x");
        QCOMPARE(view.styleAt(view.textLength() - 1), int(CMyRichEditView::StyleQuote));
    }

    void typedContextUsesDisplayedLines()
    {
        CMarquillView view;
        view.resize(300, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QByteArray text("<A ");
        for (int i = 0; i < 60; ++i)
            text += "word ";
        view.loadBytes(text);
        QApplication::processEvents();
        QVERIFY(view.lineCount() >= 4); // one paragraph shown on several lines
        // On the paragraph's second displayed line the tag opened on the
        // first one still counts; two lines further down it no longer does.
        const qint64 second = view.lineIndex(1) + 1;
        view.setSel(second, second);
        QTest::keyClicks(&view, "x");
        QCOMPARE(view.styleAt(second), int(CMyRichEditView::StyleTag));
        const qint64 fourth = view.lineIndex(3) + 1;
        view.setSel(fourth, fourth);
        QTest::keyClicks(&view, "x");
        QCOMPARE(view.styleAt(fourth), int(CMyRichEditView::StyleDefault));
    }

    void typingReplacesTheSelectionAsOneUndoStep()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("<A B=old>");
        view.setSel(5, 8);
        QTest::keyClicks(&view, "\"");
        QCOMPARE(view.textBytes(), QByteArray("<A B=\">"));
        QCOMPARE(view.styleAt(5), int(CMyRichEditView::StyleQuote));
        qint64 s, e;
        view.getSel(s, e);
        QCOMPARE(s, 6);
        view.editUndo();
        QCOMPARE(view.textBytes(), QByteArray("<A B=old>"));
    }

    void overtypeReplacesTheNextCharacter()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("abc\r\n");
        view.sci(QsciScintillaBase::SCI_SETOVERTYPE, 1);
        view.setSel(1, 1);
        QTest::keyClicks(&view, "<XYZ");
        QCOMPARE(view.textBytes(), QByteArray("a<XYZ\r\n"));
        QCOMPARE(styleMap(view), QByteArray(".tttt.."));
    }

    void rectangularSelectionIsLeftToTheControl()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("<A>ab\r\n<B>cd\r\n");
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 3);
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 11);
        QTest::keyClicks(&view, "x");
        // The control types at its main range only; nothing between is lost.
        QCOMPARE(view.textBytes(), QByteArray("<A>ab\r\n<B>xd\r\n"));
        // The program's insertions work on the main range too.
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 3);
        view.sci(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 11);
        view.executeCommand(Cmd::Bold);
        QCOMPARE(view.textBytes(), QByteArray("<A>ab\r\n<B><b>x</b>d\r\n"));
    }

    void compositionIsDefaultAndLeavesTheModifiedFlag()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("<A HREF=\"");
        view.setSel(9, 9);
        QInputMethodEvent preedit(QStringLiteral("にほん"), {});
        QApplication::sendEvent(&view, &preedit);
        QVERIFY(!view.modifyFlag());
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QApplication::sendEvent(&view, &commit);
        QCOMPARE(view.textBytes(), QByteArray("<A HREF=\"日本"));
        QVERIFY(view.modifyFlag());
        QCOMPARE(view.styleAt(9), int(CMyRichEditView::StyleDefault));
        QCOMPARE(view.sci(QsciScintillaBase::SCI_INDICGETFORE, QsciScintillaBase::INDIC_IME + 1),
                 0xFFFF00L);
    }

    void compositionOverASelectionMarksItsDeletion()
    {
        CMarquillView view;
        showView(view);
        view.loadBytes("abc def");
        view.setSel(0, 3);
        QInputMethodEvent preedit(QStringLiteral("に"), {});
        QApplication::sendEvent(&view, &preedit);
        QInputMethodEvent update(QStringLiteral("にほ"), {});
        QApplication::sendEvent(&view, &update);
        // The composition is given up, but the selection it replaced is gone.
        QInputMethodEvent cancel;
        QApplication::sendEvent(&view, &cancel);
        QCOMPARE(view.textBytes(), QByteArray(" def"));
        QVERIFY(view.modifyFlag());
        // Without a selection, composing and giving up changes nothing.
        view.loadBytes("abc def");
        view.setSel(3, 3);
        QApplication::sendEvent(&view, &preedit);
        QApplication::sendEvent(&view, &update);
        QApplication::sendEvent(&view, &cancel);
        QCOMPARE(view.textBytes(), QByteArray("abc def"));
        QVERIFY(!view.modifyFlag());
    }

    void withoutAutoColorNothingIsColored()
    {
        writeProfileInt("Options", "AutoColor", 0);
        CMarquillView view;
        showView(view);
        QVERIFY(!view.autoColor());
        typeAtEnd(view, "<B>x");
        QCOMPARE(styleMap(view), QByteArray("...."));
        view.executeCommand(Cmd::Bold);
        QCOMPARE(styleMap(view), QByteArray("...........")); // "<B>x<b></b>"
        // The refresh command colours whatever the flag says.
        view.executeCommand(Cmd::RefreshColors);
        QCOMPARE(styleMap(view), expectedMap(view.textBytes()));
    }

    void pastedTextArrivesInTheDefaultFormat()
    {
        CMarquillView view;
        showView(view);
        typeAtEnd(view, "<P ");
        QApplication::clipboard()->setText(QStringLiteral("<B>x</B>"));
        view.editPaste();
        QCOMPARE(view.textBytes(), QByteArray("<P <B>x</B>"));
        QCOMPARE(styleMap(view), QByteArray("ttt........"));
    }

    // The right-click menu's paste item follows the same rule as the Edit
    // menu's: enabled only while the clipboard holds text.
    void pasteEnabledAlikeInBothMenus_data()
    {
        QTest::addColumn<QString>("clipboard"); // "" empty, "image" an image only
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty, caret") << "" << false << false;
        QTest::newRow("empty, selection") << "" << true << false;
        QTest::newRow("image only") << "image" << false << false;
        QTest::newRow("text, caret") << "<B>" << false << true;
        QTest::newRow("text, selection") << "<B>" << true << true;
    }

    void pasteEnabledAlikeInBothMenus()
    {
        QFETCH(QString, clipboard);
        QFETCH(bool, selection);
        QFETCH(bool, enabled);
        if (clipboard.isEmpty()) {
            QApplication::clipboard()->clear();
        } else if (clipboard == "image") {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            QApplication::clipboard()->setImage(image);
        } else {
            QApplication::clipboard()->setText(clipboard);
        }
        CMarquillView view;
        showView(view);
        view.loadBytes("some text");
        view.setSel(0, selection ? 4 : 0);

        CCmdUI editMenu(Cmd::EditPaste);
        QVERIFY(view.updateCommand(editMenu));
        QCOMPARE(editMenu.isEnabled(), enabled);

        int contextItem = -1;
        QTimer::singleShot(0, &view, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            for (QAction* a : menu ? menu->actions() : QList<QAction*>())
                if (a->data().toInt() == Cmd::EditPaste)
                    contextItem = a->isEnabled();
            if (menu)
                menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                view.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(view.viewport(), &event);
        QCOMPARE(contextItem, int(enabled));
    }

    void undoPutsBackColoredText()
    {
        CMarquillView view;
        showView(view);
        const QByteArray text("<P ALIGN=\"c\">x</P> y");
        view.loadBytes(text);
        view.colorWholeDocument();
        typeAtEnd(view, "z");
        view.setSel(14, 18);
        QTest::keyClick(&view, Qt::Key_Delete);
        view.setSel(0, 13);
        QTest::keyClick(&view, Qt::Key_Delete);
        // Each deleted tag comes back coloured, and the rest of the history stays.
        QVERIFY(view.executeCommand(Cmd::EditUndo));
        QCOMPARE(view.textBytes(), QByteArray("<P ALIGN=\"c\">x yz"));
        QCOMPARE(styleMap(view), expectedMap(view.textBytes()));
        QVERIFY(view.canUndoEdit());
        QVERIFY(view.executeCommand(Cmd::EditUndo));
        QCOMPARE(view.textBytes(), text + "z");
        QCOMPARE(styleMap(view), expectedMap(text + "z"));
        // Text typed over a selection: undo brings the selection's text back coloured.
        view.setSel(0, 13);
        QTest::keyClicks(&view, "x");
        QVERIFY(view.executeCommand(Cmd::EditUndo));
        QCOMPARE(view.textBytes(), text + "z");
        QCOMPARE(styleMap(view), expectedMap(text + "z"));
        // A run of Backspace or Delete presses comes back as one piece.
        view.setSel(18, 18);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&view, Qt::Key_Backspace);
        QVERIFY(view.executeCommand(Cmd::EditUndo));
        QCOMPARE(styleMap(view), expectedMap(text + "z"));
        view.setSel(13, 13);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&view, Qt::Key_Delete);
        QVERIFY(view.executeCommand(Cmd::EditUndo));
        QCOMPARE(view.textBytes(), text + "z");
        QCOMPARE(styleMap(view), expectedMap(text + "z"));
    }

    // --- Whole-document colouring ---------------------------------------------

    void wholeDocumentColoring()
    {
        const QByteArray text("x<a <B>y</B> > <A HREF=\"u\">\"z\"</A><I \">\r\n<TR\r\nX>");
        CMarquillView view;
        view.loadBytes(text);
        view.colorWholeDocument();
        QCOMPARE(styleMap(view), expectedMap(text));
        // A second run over coloured text gives the same.
        view.colorWholeDocument();
        QCOMPARE(styleMap(view), expectedMap(text));
    }

    // A coloured page on a narrow window: its formats are the tag scan's, its
    // lines wrap after blanks only (never where a tag or a format begins),
    // and every displayed line is found again from its first position.
    void coloredPageWrapsAtBlanks()
    {
        QByteArray page = "<TABLE>\r\n";
        for (int row = 0; row < 12; ++row)
            page += "<TR><TD CLASS=\"c" + QByteArray::number(row) +
                    "\">cell text</TD><TD><A HREF=\"x.htm\">日本語のリンク</A> and more words "
                    "here</TD></TR>\r\n";
        page += "</TABLE>\r\n";
        CMarquillView view;
        view.resize(420, 900);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.loadBytes(page);
        view.colorWholeDocument();
        QCOMPARE(styleMap(view), expectedMap(page));
        view.repaint();
        QApplication::processEvents();
        const int lines = view.lineCount();
        QVERIFY2(lines > 2 * 14, qPrintable(QString::number(lines)));
        qint64 previousStart = -1;
        for (int line = 0; line < lines; ++line) {
            const qint64 start = view.lineIndex(line);
            QVERIFY(start > previousStart);
            QCOMPARE(view.lineFromChar(start), line);
            const char before = start > 0 ? page.at(start - 1) : '\n';
            QVERIFY2(before == ' ' || before == '\n', qPrintable(QString::number(start)));
            previousStart = start;
        }
    }

    void wholeDocumentKeepsStateAndEmptiesUndo()
    {
        QByteArray text;
        for (int i = 0; i < 300; ++i)
            text += "<P CLASS=\"c\">line " + QByteArray::number(i) + "</P>\r\n";
        QMainWindow frame;
        auto* view = new CMarquillView;
        frame.setCentralWidget(view);
        showView(frame);
        view->loadBytes(text);
        typeAtEnd(*view, "z");
        QVERIFY(view->canUndoEdit());
        QVERIFY(view->modifyFlag());
        // Another window of the program is open, as the find dialog may be.
        QDialog other(&frame);
        other.show();
        frame.activateWindow();
        view->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), view);
        view->sci(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 120);
        view->sci(QsciScintillaBase::SCI_SETANCHOR, 4000);
        view->sci(QsciScintillaBase::SCI_SETCURRENTPOS, 3000);
        const int first = view->firstVisibleLine();
        QVERIFY(first > 0);

        int updates = 0;
        bool ownerDisabled = false;
        QString caption, status, button;
        CProgressDialog::setCreationHook([&](CProgressDialog& d) {
            caption = d.windowTitle();
            button = d.findChild<QPushButton*>(QStringLiteral("cancelButton"))->text();
            connect(&d, &CProgressDialog::positionChanged, &d, [&, dialog = &d](int) {
                ++updates;
                ownerDisabled = !frame.isEnabled();
                status = dialog->findChild<QLabel*>(QStringLiteral("statusText"))->text();
            });
        });
        view->colorWholeDocument();
        QCOMPARE(caption, QStringLiteral("Marquill"));
        QCOMPARE(button, QStringLiteral("中断"));
        QCOMPARE(status, QStringLiteral("タグを色分けしています。"));
        QVERIFY(ownerDisabled);
        QVERIFY(frame.isEnabled());
        QVERIFY(updates > 50);
        QVERIFY(updates <= 101);
        QCOMPARE(styleMap(*view), expectedMap(view->textBytes()));
        QVERIFY(!view->canUndoEdit());
        QVERIFY(view->modifyFlag());
        QCOMPARE(view->sci(QsciScintillaBase::SCI_GETANCHOR), 4000L);
        QCOMPARE(view->sci(QsciScintillaBase::SCI_GETCURRENTPOS), 3000L);
        QCOMPARE(view->firstVisibleLine(), first);
        // Disabling the main window for the run took the focus; it comes back.
        QCOMPARE(QApplication::activeWindow(), &frame);
        QCOMPARE(QApplication::focusWidget(), view);

        view->setModifyFlag(false);
        view->colorWholeDocument();
        QVERIFY(!view->modifyFlag());
        QVERIFY(!QApplication::topLevelWidgets().contains(nullptr));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<CProgressDialog*>(w));
    }

    void cancelHalfWayLeavesTheRestDefault()
    {
        QByteArray text;
        while (text.size() < 20000)
            text += "<B>bold</B> text ";
        CMarquillView view;
        view.loadBytes(text);
        int lastPosition = -1;
        CProgressDialog::setCreationHook([&](CProgressDialog& d) {
            connect(&d, &CProgressDialog::positionChanged, &d, [&, dialog = &d](int p) {
                lastPosition = p;
                if (p == 50)
                    dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
            });
        });
        view.colorWholeDocument();
        QCOMPARE(lastPosition, 50);
        const QByteArray expected = expectedMap(text);
        const QByteArray styles = styleMap(view);
        const qint64 half = text.size() / 2;
        // Tags finished before the middle are coloured; from there on nothing is.
        QCOMPARE(styles.left(half - 20), expected.left(half - 20));
        QCOMPARE(styles.mid(half), QByteArray(text.size() - half, '.'));
        QVERIFY(!view.canUndoEdit());
    }

    void emptyDocument()
    {
        CMarquillView view;
        int updates = 0;
        CProgressDialog::setCreationHook([&](CProgressDialog& d) {
            connect(&d, &CProgressDialog::positionChanged, &d, [&](int) { ++updates; });
        });
        view.colorWholeDocument();
        QCOMPARE(updates, 1);
        QCOMPARE(view.textLength(), 0);
    }

    // --- Line numbers and the matching-tag mark ------------------------------

    // Faults: the width not following a typed line end (the control reports
    // no line counts to the view), or the text's zoom.
    void lineNumberWidthFollowsTheDigits()
    {
        Options::kLineNumbers.write(1);
        CMarquillView view;
        showView(view);
        view.loadBytes(QByteArray("x\r\n").repeated(98) + "end");
        const auto width = [&] { return view.sci(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0); };
        QTRY_VERIFY(width() > 0);
        const long twoDigits = width();
        typeAtEnd(view, "");
        QTest::keyClick(&view, Qt::Key_Return);
        QTRY_VERIFY(width() > twoDigits);
        QTest::keyClick(&view, Qt::Key_Backspace);
        QTRY_COMPARE(width(), twoDigits);
        // Zoomed in (Ctrl+wheel), numbers as wide as before were cut at the left.
        view.sci(QsciScintillaBase::SCI_SETZOOM, 6);
        QTRY_VERIFY(width() > twoDigits);
    }

    // Faults: the mark put at window-relative positions in a long text, or
    // left behind when the caret leaves the name.
    void tagMarkFollowsTheCaret()
    {
        Options::kMatchTag.write(1);
        CMarquillView view;
        showView(view);
        const QByteArray before(MatchingTag::kReach + 1000, 'x');
        view.loadBytes(before + "<div><p>t</p></div>");
        const auto marked = [&](qint64 pos) {
            return view.sci(QsciScintillaBase::SCI_INDICATORVALUEAT, CTagMatchMarker::kIndicator,
                            static_cast<long>(before.size() + pos)) != 0;
        };
        view.setSel(before.size() + 2, before.size() + 2);
        QTRY_VERIFY(marked(16));
        QVERIFY(marked(1) && !marked(6));
        view.setSel(before.size() + 9, before.size() + 9); // between the p tags
        QTRY_VERIFY(!marked(16));
    }
};

MARQUILL_TEST_MAIN(TestMarquillView)
#include "tst_marquill_view.moc"
