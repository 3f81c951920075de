#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "editor/find_replace.h"
#include "editor/my_find_replace_dialog.h"
#include "editor/my_rich_edit_view.h"
#include "editor/tag_colorizer.h"
#include "test_support.h"

#include <QCheckBox>

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

QByteArray formatMap(const CMyRichEditView& view)
{
    QByteArray out;
    for (qint64 i = 0; i < view.textLength(); ++i)
        out += char('0' + view.styleAt(i));
    return out;
}

} // namespace

// Find and replace with 正規表現 on, on a real view.
class TestFindReplaceRegex : public QObject
{
    Q_OBJECT

    int m_beeps = 0;
    QStringList m_messages;

private Q_SLOTS:
    void init()
    {
        m_beeps = 0;
        m_messages.clear();
        UiSeam::setBeepHook([this] { ++m_beeps; });
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages << text;
                return QMessageBox::Ok;
            });
        sharedFindState() = FindState();
    }

    void cleanup()
    {
        if (CMyFindReplaceDialog* dialog = sharedFindState().dialog)
            dialog->close();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
        UiSeam::setBeepHook({});
        UiSeam::setMessageHook({});
        TestSupport::clearSettings();
    }

    // Catches: the colours of the text around the matches lost (a text put
    // back whole), group offsets off by the Japanese before them, and a
    // replace all that leaves undo able to take back half of it.
    void replaceAllKeepsTheColors()
    {
        const QByteArray page =
            "<HTML>\r\n<P>日本 <A HREF=\"a.htm\">x</A> and <a href=\"b\">y</a>\r\n";
        CMyRichEditView view;
        view.loadBytes(page);
        TagColorizer::colorWhole(view, [](int) { return true; });
        QByteArray formats = formatMap(view);
        view.setSel(20, 20);
        QCOMPARE(CFindReplace::of(&view)->replaceAll(QStringLiteral("h(re)f="),
                                                     QStringLiteral("H\\1F="), false, false, true),
                 2);
        QCOMPARE(
            view.textBytes(),
            QByteArray("<HTML>\r\n<P>日本 <A HREF=\"a.htm\">x</A> and <a HreF=\"b\">y</a>\r\n"));
        // The new text takes the default format, as a plain replacement's does.
        for (qsizetype at : {page.indexOf("HREF"), page.indexOf("href")})
            formats.replace(at, 5, "00000");
        QCOMPARE(formatMap(view), formats);
        QVERIFY(!view.sci(QsciScintillaBase::SCI_CANUNDO));
        QCOMPARE(m_beeps, 1);
    }

    // Catches: a pattern with an error taken as "not found" (the sound, the
    // series restarted) or acted on in part.
    void badPatternChangesNothing()
    {
        CMyRichEditView view;
        view.loadBytes("abc (abc)");
        view.setSel(1, 2);
        CFindReplace* find = CFindReplace::of(&view);
        QVERIFY(!find->findNext(QStringLiteral("(abc"), true, false, true));
        QCOMPARE(find->replaceAll(QStringLiteral("a(b)"), QStringLiteral("\\2"), true, false, true),
                 0);
        QCOMPARE(m_messages.size(), 2);
        QVERIFY(m_messages[0].startsWith(QStringLiteral("正規表現の終わりに誤りがあります。")));
        QVERIFY(m_messages[1].contains(QStringLiteral("\\2")));
        QCOMPARE(view.textBytes(), QByteArray("abc (abc)"));
        QCOMPARE(selOf(view), (Sel{1, 2}));
        QCOMPARE(m_beeps, 0);
    }

    // Catches: a pattern the engine gives up on (nested repeats on a long
    // line) taken as "not found", or replace all making the replacements
    // before that place and passing for done.
    void tooComplexChangesNothing()
    {
        CMyRichEditView view;
        const QByteArray text = "a\n<p>" + QByteArray("abc ").repeated(100) + "</p>\nb";
        view.loadBytes(text);
        view.setSel(0, 0);
        CFindReplace* find = CFindReplace::of(&view);
        const QString pattern = QStringLiteral("(\\w+\\s?)*$");
        QCOMPARE(find->replaceAll(pattern, QStringLiteral("X"), false, false, true), 0);
        QCOMPARE(view.textBytes(), text);
        view.setSel(2, 2);
        QVERIFY(!find->findNext(pattern, false, false, true));
        QCOMPARE(m_messages.size(), 2);
        QVERIFY(m_messages[1].startsWith(QStringLiteral("正規表現の照合が複雑になりすぎた")));
        QCOMPARE(m_beeps, 0);

        // An empty match at the very end is no such place.
        view.loadBytes("a\nb");
        view.setSel(0, 0);
        QVERIFY(find->findNext(QStringLiteral("$"), false, false, true));
        QVERIFY(find->findNext(QStringLiteral("$"), false, false, true));
        QCOMPARE(selOf(view), (Sel{3, 3}));
        QVERIFY(!find->findNext(QStringLiteral("$"), false, false, true));
        QCOMPARE(m_beeps, 1);
        QCOMPARE(find->replaceAll(QStringLiteral("$"), QStringLiteral(";"), false, false, true), 2);
        QCOMPARE(view.textBytes(), QByteArray("a;\nb;"));
        QCOMPARE(m_messages.size(), 2);
    }

    // Catches: find next stuck on an empty match, and replace current
    // replacing a selection that is no match or losing its groups.
    void emptyMatchesAndReplaceCurrent()
    {
        CMyRichEditView view;
        view.loadBytes("a\nb\nc");
        view.setSel(0, 0);
        CFindReplace* find = CFindReplace::of(&view);
        QList<Sel> found;
        while (find->findNext(QStringLiteral("^"), true, false, true) && found.size() < 5)
            found << selOf(view);
        QCOMPARE(found, (QList<Sel>{{0, 0}, {2, 2}, {4, 4}}));
        // After the sound, the next search starts over from there.
        QVERIFY(find->findNext(QStringLiteral("^"), true, false, true));
        QCOMPARE(selOf(view), (Sel{0, 0}));

        view.loadBytes("x=1 y=2 z");
        view.setSel(0, 3);
        const QString pattern = QStringLiteral("(\\w)=(\\d)");
        QVERIFY(find->replaceCurrent(pattern, QStringLiteral("\\2=\\1"), true, false, true));
        QCOMPARE(view.textBytes(), QByteArray("1=x y=2 z"));
        QCOMPARE(selOf(view), (Sel{4, 7}));
        view.setSel(8, 9);
        find->replaceCurrent(pattern, QStringLiteral("\\2=\\1"), true, false, true);
        QCOMPARE(view.textBytes(), QByteArray("1=x y=2 z"));
    }

    // Catches: the choice forgotten when the dialog closes without a search,
    // or a new dialog not showing it.
    void regexChoiceIsRemembered()
    {
        CMyRichEditView view;
        view.loadBytes("text");
        CFindReplace::of(&view)->openDialog(true);
        sharedFindState().dialog->findChild<QCheckBox*>("regex")->setChecked(true);
        sharedFindState().dialog->close();
        QCOMPARE(getProfileInt("History\\Find", "Regex", 0), 1);
        CFindReplace::of(&view)->openDialog(false);
        QVERIFY(sharedFindState().dialog->findChild<QCheckBox*>("regex")->isChecked());
    }
};

MARQUILL_TEST_MAIN(TestFindReplaceRegex)
#include "tst_find_replace_regex.moc"
