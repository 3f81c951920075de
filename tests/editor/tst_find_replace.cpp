#include "core/command_target.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/find_replace.h"
#include "editor/my_find_replace_dialog.h"
#include "editor/my_rich_edit_view.h"
#include "editor/rules/text_search.h"
#include "editor/tag_colorizer.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

using Sci = QsciScintillaBase;

namespace {

struct Sel
{
    qint64 start;
    qint64 end;
    bool operator==(const Sel&) const = default;
};

Sel selOf(const CMyRichEditView& view)
{
    qint64 s, e;
    view.getSel(s, e);
    return {s, e};
}

bool enabled(CMyRichEditView& view, int id)
{
    CCmdUI ui(id);
    CommandRouting::update({&view}, ui);
    return ui.isEnabled();
}

// Every match the control's own search finds from 0 on, each search starting
// one position after the previous match.
QList<qint64> controlMatches(CMyRichEditView& view, const QByteArray& what, int flags)
{
    QList<qint64> found;
    qint64 from = 0;
    const qint64 length = view.textLength();
    while (from < length) {
        view.sci(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), length);
        view.sci(Sci::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flags));
        const long pos = view.SendScintilla(
            Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(what.size()), what.constData());
        if (pos < 0)
            break;
        found.append(pos);
        from = view.sci(Sci::SCI_POSITIONAFTER, static_cast<unsigned long>(pos));
    }
    return found;
}

// The formats of the text: '.' default, 't' tag, 'q' quote.
QByteArray formatMap(const CMyRichEditView& view)
{
    QByteArray out;
    for (qint64 i = 0; i < view.textLength(); ++i) {
        const int s = view.styleAt(i);
        out += s == CMyRichEditView::StyleTag ? 't' : s == CMyRichEditView::StyleQuote ? 'q' : '.';
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Sel)

namespace {

CMyFindReplaceDialog* openDialog()
{
    return sharedFindState().dialog;
}

} // namespace

class TestFindReplace : public QObject
{
    Q_OBJECT

    int m_beeps = 0;

private Q_SLOTS:
    void init()
    {
        m_beeps = 0;
        UiSeam::setBeepHook([this] { ++m_beeps; });
        sharedFindState() = FindState();
    }

    void cleanup()
    {
        if (CMyFindReplaceDialog* dialog = openDialog())
            dialog->close();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
        UiSeam::setBeepHook({});
        TestSupport::clearSettings();
    }

    // --- The byte search -------------------------------------------------

    void textSearch_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("found");
        QTest::newRow("exact") << QByteArray("a Foo foo") << QByteArray("foo") << true << 0ll
                               << 6ll;
        QTest::newRow("folded") << QByteArray("a Foo foo") << QByteArray("fOO") << false << 0ll
                                << 2ll;
        QTest::newRow("from passes a match")
            << QByteArray("a Foo foo") << QByteArray("foo") << false << 3ll << 6ll;
        QTest::newRow("at the very end")
            << QByteArray("xxab") << QByteArray("AB") << false << 0ll << 2ll;
        QTest::newRow("cut off by the end")
            << QByteArray("xxa") << QByteArray("ab") << false << 0ll << -1ll;
        QTest::newRow("empty needle") << QByteArray("abc") << QByteArray() << true << 0ll << -1ll;
        QTest::newRow("non-letters not folded")
            << QByteArray("[a] {a}") << QByteArray("{A}") << false << 0ll << 4ll;
        QTest::newRow("other letters not folded")
            << QByteArray("Ärger ärger") << QByteArray("ärger") << true << 0ll << 7ll;
        QTest::newRow("rare spelling far away")
            << QByteArray(5000, 't') + "T!" << QByteArray("t!") << false << 0ll << 5000ll;
        QTest::newRow("japanese") << QByteArray("日本語と日本") << QByteArray("日本") << false
                                  << 1ll << 12ll;
    }
    void textSearch()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, needle);
        QFETCH(bool, matchCase);
        QFETCH(qint64, from);
        QFETCH(qint64, found);
        QCOMPARE(TextSearch::find(text, needle, matchCase, from), found);
    }

    // The fast search finds exactly what the control's own search finds.
    void searchAgreesWithTheControl()
    {
        const QStringList alphabet{"\u00DF", "a",      "b", "A",      "B", " ", "-",      "_", "日",
                                   "本",     "é",      "É", "\u212A", "K", "k", "\u017F", "s", "S",
                                   "\u0131", "\u0130", "i", "\r\n",   "1"};
        QRandomGenerator rng(7);
        CMyRichEditView view;
        CFindReplace* find = CFindReplace::of(&view);
        auto randomText = [&](int length) {
            QString s;
            for (int i = 0; i < length; ++i)
                s += alphabet.at(rng.bounded(alphabet.size()));
            return s;
        };
        for (int round = 0; round < 500; ++round) {
            view.loadBytes(randomText(60).toUtf8());
            const QString needle = randomText(1 + rng.bounded(3));
            for (int flags = 0; flags < 4; ++flags) {
                const bool matchCase = flags & 1;
                const bool wholeWord = flags & 2;
                const QList<qint64> expected =
                    controlMatches(view, needle.toUtf8(),
                                   (matchCase ? Sci::SCFIND_MATCHCASE : 0) |
                                       (wholeWord ? Sci::SCFIND_WHOLEWORD : 0));
                QList<qint64> actual;
                view.setSel(0, 0);
                find->series().restart();
                while (find->search(needle, matchCase, wholeWord) &&
                       find->series().initialPosition() == 0) {
                    const qint64 start = selOf(view).start;
                    if (actual.contains(start))
                        break;
                    actual.append(start);
                }
                QVERIFY2(actual == expected,
                         qPrintable(QStringLiteral("text %1 needle %2 flags %3")
                                        .arg(QString::fromUtf8(view.textBytes()), needle)
                                        .arg(flags)));
            }
        }
    }

    // --- The search series -------------------------------------------------

    void seriesWrapsOnceAndStopsAtItsStart()
    {
        CMyRichEditView view;
        view.loadBytes("one x two x three x four");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(12, 12); // inside "three"
        find->series().restart();
        QList<qint64> found;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(find->findNext(QStringLiteral("x"), false, false));
            found.append(selOf(view).start);
        }
        QCOMPARE(found, (QList<qint64>{18, 4, 10}));
        QCOMPARE(m_beeps, 0);
        // Back at the starting point: the sound, no loop, the selection stays.
        QVERIFY(!find->findNext(QStringLiteral("x"), false, false));
        QCOMPARE(m_beeps, 1);
        QCOMPARE(selOf(view), (Sel{10, 11}));
        // A failed search starts a new series from the selection.
        QVERIFY(find->findNext(QStringLiteral("x"), false, false));
        QCOMPARE(selOf(view), (Sel{18, 19}));
    }

    void seriesFromTheStartDoesNotWrap()
    {
        CMyRichEditView view;
        view.loadBytes("x x");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(0, 0);
        QVERIFY(find->findNext(QStringLiteral("x"), false, false));
        QVERIFY(find->findNext(QStringLiteral("x"), false, false));
        QCOMPARE(selOf(view), (Sel{2, 3}));
        QVERIFY(!find->findNext(QStringLiteral("x"), false, false));
        QCOMPARE(m_beeps, 1);
    }

    void multiByteSelectionMovesToTheNextCharacter()
    {
        CMyRichEditView view;
        view.loadBytes("日本日本");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(0, 3); // the first 日 selected: the next range begins inside it
        find->series().restart();
        QVERIFY(find->findNext(QStringLiteral("日"), true, false));
        QCOMPARE(selOf(view), (Sel{6, 9}));
        // "本" searched from inside "日": found at a character start only.
        view.setSel(0, 3);
        find->series().restart();
        QVERIFY(find->findNext(QStringLiteral("本"), false, false));
        QCOMPARE(selOf(view), (Sel{3, 6}));
    }

    void matchCaseAndWholeWord_data()
    {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QList<qint64>>("starts");
        // "Foo foo food FOO_ foo-"
        QTest::newRow("neither") << false << false << QList<qint64>{0, 4, 8, 13, 18};
        QTest::newRow("match case") << true << false << QList<qint64>{4, 8, 18};
        QTest::newRow("whole word") << false << true << QList<qint64>{0, 4, 18};
        QTest::newRow("both") << true << true << QList<qint64>{4, 18};
    }
    void matchCaseAndWholeWord()
    {
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QList<qint64>, starts);
        CMyRichEditView view;
        view.loadBytes("Foo foo food FOO_ foo-");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(0, 0);
        QList<qint64> found;
        while (find->findNext(QStringLiteral("foo"), matchCase, wholeWord))
            found.append(selOf(view).start);
        QCOMPARE(found, starts);
        QCOMPARE(m_beeps, 1);
    }

    // --- Replacing -----------------------------------------------------------

    void replaceCurrentReplacesOnlyTheFindText()
    {
        CMyRichEditView view;
        view.loadBytes("Cat cat dog cat");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(4, 7);
        // Without match case "cat" equals the selection and is replaced.
        QVERIFY(find->replaceCurrent(QStringLiteral("CAT"), QStringLiteral("fox"), false, false));
        QCOMPARE(view.textBytes(), QByteArray("Cat fox dog cat"));
        QCOMPARE(selOf(view), (Sel{12, 15}));
        QVERIFY(view.modifyFlag());
        QVERIFY(!view.canUndoEdit());
        // With match case the selection "cat" is not "CAT": only a search.
        view.setSel(12, 15);
        QVERIFY(!find->replaceCurrent(QStringLiteral("CAT"), QStringLiteral("fox"), true, false));
        QCOMPARE(view.textBytes(), QByteArray("Cat fox dog cat"));
        QCOMPARE(m_beeps, 1);
    }

    void replaceCurrentNeverRevisitsItsOwnText()
    {
        CMyRichEditView view;
        view.loadBytes("a foo b");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(2, 5);
        find->series().restart();
        QVERIFY(
            !find->replaceCurrent(QStringLiteral("foo"), QStringLiteral("foofoo"), true, false));
        QCOMPARE(view.textBytes(), QByteArray("a foofoo b"));
        QCOMPARE(m_beeps, 1);
    }

    void replaceAll_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<Sel>("selection");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("caret");
        QTest::newRow("from the middle wraps once")
            << QByteArray("a1a2a3a4") << Sel{3, 3} << "a"
            << "bb" << true << QByteArray("bb1bb2bb3bb4") << 4 << 5ll;
        QTest::newRow("selection is the text")
            << QByteArray("x foo y foo") << Sel{2, 5} << "foo"
            << "foobar" << true << QByteArray("x foobar y foobar") << 2 << 17ll;
        QTest::newRow("match at the selection's start")
            << QByteArray("foo bar foo") << Sel{0, 7} << "foo"
            << "F" << true << QByteArray("F bar F") << 2 << 7ll;
        QTest::newRow("case folded, shorter") << QByteArray("ABC abc aBc") << Sel{0, 0} << "abc"
                                              << "" << false << QByteArray("  ") << 3 << 2ll;
        QTest::newRow("multi-byte")
            << QByteArray("日本と日本と") << Sel{0, 0} << "日本"
            << "にほん" << true << QByteArray("にほんとにほんと") << 2 << 21ll;
        QTest::newRow("adjacent matches") << QByteArray("aaaa") << Sel{1, 1} << "aa"
                                          << "b" << true << QByteArray("aba") << 1 << 2ll;
    }
    void replaceAll()
    {
        QFETCH(QByteArray, text);
        QFETCH(Sel, selection);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(bool, matchCase);
        QFETCH(QByteArray, result);
        QFETCH(int, count);
        QFETCH(qint64, caret);
        CMyRichEditView view;
        view.loadBytes(text);
        view.setSel(selection.start, selection.end);
        QCOMPARE(CFindReplace::of(&view)->replaceAll(what, with, matchCase, false), count);
        QCOMPARE(view.textBytes(), result);
        QCOMPARE(selOf(view), (Sel{caret, caret}));
        QCOMPARE(m_beeps, 1);
        QVERIFY(view.modifyFlag());
        QVERIFY(!view.canUndoEdit());
        QVERIFY(CFindReplace::of(&view)->series().isFirstSearch());
    }

    // Replace all leaves every character it does not replace in its format;
    // the new text takes the default format, as a single replacement does.
    void replaceAllKeepsTheColors_data()
    {
        QTest::addColumn<qint64>("caret");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("matchCase");
        QTest::newRow("tag names, any case") << 0ll << "html"
                                             << "HTML" << false;
        QTest::newRow("attribute, from the middle") << 40ll << "href="
                                                    << "HREF=" << false;
        QTest::newRow("inside quoted values, longer") << 0ll << ".htm"
                                                      << ".html" << true;
        QTest::newRow("across a tag's end, shorter") << 0ll << "\">"
                                                     << ">" << true;
        QTest::newRow("text made into a tag") << 0ll << "x"
                                              << "<I>" << true;
        QTest::newRow("multi-byte") << 0ll << "日本"
                                    << "にっぽん" << true;
    }
    void replaceAllKeepsTheColors()
    {
        QFETCH(qint64, caret);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(bool, matchCase);
        const QByteArray page =
            "<HTML><BODY>\r\n<P>x <A HREF=\"a.htm\">日本</A> and <a href=\"b.htm\">x</a>\r\n"
            "<IMG SRC=\"c.gif\" ALT=\"x\">html 日本語 x\r\n</BODY></html>\r\n";
        CMyRichEditView view;
        view.loadBytes(page);
        TagColorizer::colorWhole(view, [](int) { return true; });
        const QByteArray before = formatMap(view);
        // What the text and its formats become: every occurrence replaced
        // from left to right (none of these rows has overlapping matches).
        const QByteArray from = what.toUtf8();
        const QByteArray to = with.toUtf8();
        QByteArray text, formats;
        for (qint64 i = 0; i < page.size();) {
            const bool match = matchCase ? page.mid(i, from.size()) == from
                                         : page.mid(i, from.size()).toLower() == from.toLower();
            if (match) {
                text += to;
                formats += QByteArray(to.size(), '.');
                i += from.size();
            } else {
                text += page[i];
                formats += before[i];
                ++i;
            }
        }
        view.setSel(caret, caret);
        QVERIFY(CFindReplace::of(&view)->replaceAll(what, with, matchCase, false) > 1);
        QCOMPARE(view.textBytes(), text);
        QCOMPARE(formatMap(view), formats);
    }

    void replaceAllCoversWhatFindNextPassed()
    {
        CMyRichEditView view;
        view.loadBytes("a a a a");
        CFindReplace* find = CFindReplace::of(&view);
        view.setSel(0, 0);
        QVERIFY(find->findNext(QStringLiteral("a"), true, false));
        QVERIFY(find->findNext(QStringLiteral("a"), true, false));
        QCOMPARE(find->replaceAll(QStringLiteral("a"), QStringLiteral("b"), true, false), 4);
        QCOMPARE(view.textBytes(), QByteArray("b b b b"));
    }

    void replaceAllWithNothingFoundOnlyBeeps()
    {
        CMyRichEditView view;
        view.loadBytes("abc");
        view.setSel(1, 1);
        QCOMPARE(CFindReplace::of(&view)->replaceAll(QStringLiteral("x"), QStringLiteral("y"), true,
                                                     false),
                 0);
        QCOMPARE(view.textBytes(), QByteArray("abc"));
        QVERIFY(!view.modifyFlag());
        QCOMPARE(m_beeps, 1);
    }

    // --- Commands and the dialog ---------------------------------------------

    void commandsEnabling()
    {
        CMyRichEditView view;
        QVERIFY(!enabled(view, Cmd::EditFind));
        QVERIFY(!enabled(view, Cmd::EditReplace));
        view.loadBytes("text");
        QVERIFY(enabled(view, Cmd::EditFind));
        QVERIFY(enabled(view, Cmd::EditReplace));
        QVERIFY(!enabled(view, Cmd::EditFindNext));
        sharedFindState().findText = QStringLiteral("t");
        QVERIFY(enabled(view, Cmd::EditFindNext));
        QVERIFY(CommandRouting::execute({&view}, Cmd::EditFindNext));
        QCOMPARE(selOf(view), (Sel{0, 1}));
    }

    void dialogStartsWithTheMostRecentEntry()
    {
        writeProfileString(QStringLiteral("History\\Find"), QStringLiteral("History00"),
                           QStringLiteral("latest"));
        writeProfileString(QStringLiteral("History\\Find"), QStringLiteral("History01"),
                           QStringLiteral("older"));
        CMyRichEditView view;
        view.loadBytes("some selected text");
        view.setSel(5, 13);
        CommandRouting::execute({&view}, Cmd::EditFind);
        CMyFindReplaceDialog* dialog = openDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isFindOnly());
        auto* box = dialog->findChild<QComboBox*>(QStringLiteral("findWhat"));
        QCOMPARE(box->currentText(), QStringLiteral("latest"));
        QCOMPARE(box->count(), 2);
        QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->isEnabled());
        QVERIFY(!dialog->findChild<QComboBox*>(QStringLiteral("replaceWith")));
    }

    void buttonsFollowTheFindText()
    {
        CMyRichEditView view;
        view.loadBytes("text");
        CommandRouting::execute({&view}, Cmd::EditReplace);
        CMyFindReplaceDialog* dialog = openDialog();
        QVERIFY(dialog);
        auto* box = dialog->findChild<QComboBox*>(QStringLiteral("findWhat"));
        const QList<QPushButton*> buttons{
            dialog->findChild<QPushButton*>(QStringLiteral("findNext")),
            dialog->findChild<QPushButton*>(QStringLiteral("replace")),
            dialog->findChild<QPushButton*>(QStringLiteral("replaceAll"))};
        QCOMPARE(box->currentText(), QString());
        for (QPushButton* b : buttons)
            QVERIFY(!b->isEnabled());
        QTest::keyClicks(box->lineEdit(), QStringLiteral("x"));
        for (QPushButton* b : buttons)
            QVERIFY(b->isEnabled());
        QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
        for (QPushButton* b : buttons)
            QVERIFY(!b->isEnabled());
        QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("cancel"))->isEnabled());
    }

    void oneDialogOfOneKindAtATime()
    {
        CMyRichEditView view;
        CMyRichEditView other;
        view.loadBytes("text");
        other.loadBytes("text");
        CommandRouting::execute({&view}, Cmd::EditFind);
        QPointer<CMyFindReplaceDialog> find = openDialog();
        QVERIFY(find && find->isVisible());
        // The same kind again, from any view: the same dialog.
        CommandRouting::execute({&other}, Cmd::EditFind);
        QCOMPARE(openDialog(), find.data());
        // The other kind closes it.
        CommandRouting::execute({&other}, Cmd::EditReplace);
        QPointer<CMyFindReplaceDialog> replace = openDialog();
        QVERIFY(replace && replace != find && !replace->isFindOnly());
        QTRY_VERIFY(!find);
        // Closing clears the shared dialog.
        replace->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        QVERIFY(!openDialog());
        QTRY_VERIFY(!replace);
    }

    void dialogRunsTheSearchAndKeepsTheHistory()
    {
        CMyRichEditView view;
        view.loadBytes("alpha Beta gamma beta");
        view.setSel(0, 0);
        CommandRouting::execute({&view}, Cmd::EditReplace);
        CMyFindReplaceDialog* dialog = openDialog();
        auto* what = dialog->findChild<QComboBox*>(QStringLiteral("findWhat"));
        auto* with = dialog->findChild<QComboBox*>(QStringLiteral("replaceWith"));
        what->setEditText(QStringLiteral("beta"));
        with->setEditText(QStringLiteral("delta"));
        dialog->findChild<QCheckBox*>(QStringLiteral("matchCase"))->setChecked(true);
        dialog->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        QCOMPARE(selOf(view), (Sel{17, 21}));
        QCOMPARE(sharedFindState().findText, QStringLiteral("beta"));
        QVERIFY(sharedFindState().matchCase);
        dialog->findChild<QPushButton*>(QStringLiteral("replaceAll"))->click();
        QCOMPARE(view.textBytes(), QByteArray("alpha Beta gamma delta"));
        QCOMPARE(sharedFindState().replaceText, QStringLiteral("delta"));
        dialog->close();
        QCOMPARE(getProfileString(QStringLiteral("History\\Replace1"), QStringLiteral("History00")),
                 QStringLiteral("beta"));
        QCOMPARE(getProfileString(QStringLiteral("History\\Replace2"), QStringLiteral("History00")),
                 QStringLiteral("delta"));
        QCOMPARE(getProfileString(QStringLiteral("History\\Find"), QStringLiteral("History00")),
                 QString());
        // The options stay for the next dialog.
        CommandRouting::execute({&view}, Cmd::EditFind);
        QVERIFY(openDialog()->findChild<QCheckBox*>(QStringLiteral("matchCase"))->isChecked());
    }

    void closingTheViewClosesItsDialogAndKeepsTheText()
    {
        {
            CMyRichEditView view;
            view.loadBytes("text");
            CommandRouting::execute({&view}, Cmd::EditFind);
            openDialog()
                ->findChild<QComboBox*>(QStringLiteral("findWhat"))
                ->setEditText(QStringLiteral("typed"));
        }
        QVERIFY(!openDialog());
        QCOMPARE(getProfileString(QStringLiteral("History\\Find"), QStringLiteral("History00")),
                 QStringLiteral("typed"));
    }

    void dialogMovesClearOfTheCaret_data()
    {
        QTest::addColumn<QRect>("dialog");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QRect>("moved");
        QTest::newRow("not covered")
            << QRect(100, 100, 300, 200) << QPoint(50, 50) << QRect(100, 100, 300, 200);
        QTest::newRow("room above: bottom 20 above")
            << QRect(100, 300, 300, 200) << QPoint(200, 400) << QRect(100, 180, 300, 200);
        QTest::newRow("no room above: top 40 below")
            << QRect(100, 50, 300, 200) << QPoint(200, 100) << QRect(100, 140, 300, 200);
        QTest::newRow("no room either")
            << QRect(100, 0, 300, 700) << QPoint(200, 100) << QRect(100, 0, 300, 700);
    }
    void dialogMovesClearOfTheCaret()
    {
        QFETCH(QRect, dialog);
        QFETCH(QPoint, point);
        QFETCH(QRect, moved);
        QCOMPARE(findDialogRectClearOf(dialog, point, QRect(0, 0, 1024, 768)), moved);
    }
};

MARQUILL_TEST_MAIN(TestFindReplace)
#include "tst_find_replace.moc"
