#include "core/ui_seam.h"
#include "editor/caret_moves.h"
#include "editor/find_replace.h"
#include "editor/my_rich_edit_view.h"
#include "test_support.h"
#include "widgets/progress_dialog.h"

#include <QPushButton>

using Sci = QsciScintillaBase;

namespace {

const QByteArray kPage =
    "<P>First paragraph with some words that wrap over several displayed lines "
    "in a narrow window, and then some more.</P>\r\n"
    "\r\n"
    "    indented line\r\n"
    "日本語の文章、句読点。 and words 日本語の文章が長く続いて折り返される\r\n"
    "last";

struct Sel
{
    qint64 anchor;
    qint64 caret;
    bool operator==(const Sel&) const = default;
};

Sel selOf(CMyRichEditView& view)
{
    return {view.sci(Sci::SCI_GETANCHOR), view.sci(Sci::SCI_GETCURRENTPOS)};
}

void showWrapped(CMyRichEditView& view, const QByteArray& text)
{
    view.resize(330, 220);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.loadBytes(text);
    QVERIFY(view.finishWrapping());
}

// Large enough that wrapping it takes many background steps.
QByteArray manyLines()
{
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "<TR><TD CLASS=\"x\">row " + QByteArray::number(i) +
                " with words enough to wrap in a narrow window</TD></TR>\r\n";
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Sel)

namespace QTest {
template <> char* toString(const Sel& sel)
{
    return qstrdup(QByteArray::number(sel.anchor) + "-" + QByteArray::number(sel.caret));
}
} // namespace QTest

// The caret keys done without the control's full wrap: the same moves as the
// control's own commands, and no wait while lines are still being wrapped.
class TestCaretMoves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { CProgressDialog::setCreationHook({}); }

    // Each caret command from several places gives what the control's own
    // command gives once the lines are wrapped.
    void sameAsTheControl_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<Sel>("from");
        const QList<QPair<const char*, int>> commands = {
            {"down", Sci::SCI_LINEDOWN},
            {"down extend", Sci::SCI_LINEDOWNEXTEND},
            {"up", Sci::SCI_LINEUP},
            {"up extend", Sci::SCI_LINEUPEXTEND},
            {"left", Sci::SCI_CHARLEFT},
            {"left extend", Sci::SCI_CHARLEFTEXTEND},
            {"right", Sci::SCI_CHARRIGHT},
            {"right extend", Sci::SCI_CHARRIGHTEXTEND},
            {"word left", Sci::SCI_WORDLEFT},
            {"word left extend", Sci::SCI_WORDLEFTEXTEND},
            {"word right", Sci::SCI_WORDRIGHT},
            {"word right extend", Sci::SCI_WORDRIGHTEXTEND},
            {"home", Sci::SCI_VCHOME},
            {"home extend", Sci::SCI_VCHOMEEXTEND},
            {"end", Sci::SCI_LINEEND},
            {"end extend", Sci::SCI_LINEENDEXTEND},
            {"display home", Sci::SCI_HOMEDISPLAY},
            {"display end", Sci::SCI_LINEENDDISPLAY},
            {"document start", Sci::SCI_DOCUMENTSTART},
            {"document start extend", Sci::SCI_DOCUMENTSTARTEXTEND},
            {"document end", Sci::SCI_DOCUMENTEND},
            {"document end extend", Sci::SCI_DOCUMENTENDEXTEND},
            {"page down", Sci::SCI_PAGEDOWN},
            {"page down extend", Sci::SCI_PAGEDOWNEXTEND},
            {"page up", Sci::SCI_PAGEUP},
            {"page up extend", Sci::SCI_PAGEUPEXTEND},
            {"delete word left", Sci::SCI_DELWORDLEFT},
            {"delete word right", Sci::SCI_DELWORDRIGHT},
        };
        const qint64 japanese = kPage.indexOf("日本語");
        const QList<QPair<const char*, Sel>> places = {
            {"at the start", {0, 0}},
            {"inside a wrapped paragraph", {40, 40}},
            {"after a blank", {8, 8}},
            {"inside the indent", {kPage.indexOf("indented") - 2, kPage.indexOf("indented") - 2}},
            {"at the indent", {kPage.indexOf("indented"), kPage.indexOf("indented")}},
            {"in Japanese", {japanese + 9, japanese + 9}},
            {"at a line end", {kPage.indexOf("</P>") + 4, kPage.indexOf("</P>") + 4}},
            {"with a selection", {20, 31}},
            {"with a backward selection", {31, 20}},
            {"at the end", {kPage.size(), kPage.size()}},
        };
        for (const auto& c : commands)
            for (const auto& p : places)
                QTest::addRow("%s, %s", c.first, p.first) << c.second << p.second;
    }
    void sameAsTheControl()
    {
        QFETCH(int, command);
        QFETCH(Sel, from);
        CMyRichEditView control;
        CMyRichEditView own;
        for (CMyRichEditView* view : {&control, &own}) {
            showWrapped(*view, kPage);
            view->sci(Sci::SCI_SETSEL, static_cast<unsigned long>(from.anchor), from.caret);
            view->sci(Sci::SCI_CHOOSECARETX);
        }
        control.sci(static_cast<unsigned>(command));
        const std::optional<CaretMoves::Move> move = CaretMoves::plan(own, command, {});
        QVERIFY(move);
        CaretMoves::apply(own, *move);
        QCOMPARE(selOf(own), selOf(control));
        QCOMPARE(own.textBytes(), control.textBytes());
    }

    // A vertical move keeps the x it started from over a shorter line.
    void verticalMovesKeepTheirColumn()
    {
        CMyRichEditView view;
        showWrapped(view, "a long first line\r\nab\r\nanother long line");
        view.setSel(12, 12);
        CaretMoves::KeptX kept;
        for (int command : {Sci::SCI_LINEDOWN, Sci::SCI_LINEDOWN}) {
            const CaretMoves::Move move = *CaretMoves::plan(view, command, kept);
            CaretMoves::apply(view, move);
            kept = {move.caret, move.x};
        }
        QCOMPARE(selOf(view), (Sel{35, 35}));
    }

    // While most lines still wait to be wrapped, caret keys that go below
    // them answer without wrapping them all, and show the caret.
    void keysBelowTheWaitingLinesWrapNothingMore()
    {
        CMyRichEditView view;
        view.resize(330, 220);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QByteArray text = manyLines();
        view.loadBytes(text);
        QVERIFY(view.wrapPending());
        QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(selOf(view), (Sel{text.size(), text.size()}));
        QTest::keyClick(&view, Qt::Key_Up);
        QTest::keyClick(&view, Qt::Key_PageUp);
        QTest::keyClick(&view, Qt::Key_Down);
        QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(view.wrapPending());
        const qint64 caret = view.sci(Sci::SCI_GETCURRENTPOS);
        QVERIFY(caret < text.size() && caret > text.size() - 400);
        view.viewport()->repaint();
        QVERIFY(view.viewport()->rect().contains(view.charPos(caret)));
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(selOf(view), (Sel{0, 0}));
        QVERIFY(view.wrapPending());
        QVERIFY(view.finishWrapping());
        QVERIFY(!view.wrapPending());
    }

    // Find next far below the wrapped lines selects the match and shows it,
    // without wrapping every line first.
    void findNextFarDownShowsTheMatch()
    {
        UiSeam::setBeepHook([] {});
        CMyRichEditView view;
        view.resize(330, 220);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QByteArray text = manyLines() + "the needle here";
        view.loadBytes(text);
        QVERIFY(CFindReplace::of(&view)->findNext(QStringLiteral("needle"), true, false));
        QCOMPARE(selOf(view), (Sel{text.size() - 11, text.size() - 5}));
        view.viewport()->repaint();
        QVERIFY(view.viewport()->rect().contains(view.charPos(text.size() - 11)));
        QVERIFY(view.wrapPending());
    }

    // Waiting for the wrap can be cancelled; the lines then wrap on later.
    void finishingCanBeCancelled()
    {
        CMyRichEditView view;
        view.resize(330, 220);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.loadBytes(manyLines());
        CProgressDialog::setCreationHook([](CProgressDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        });
        QVERIFY(!view.finishWrapping());
        QVERIFY(view.wrapPending());
        QTRY_VERIFY(!view.wrapPending());
        QVERIFY(view.finishWrapping());
    }
};

MARQUILL_TEST_MAIN(TestCaretMoves)
#include "tst_caret_moves.moc"
