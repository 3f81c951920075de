#include "editor/my_rich_edit_view.h"
#include "test_support.h"

#include <QInputMethod>
#include <QInputMethodEvent>
#include <QTextCharFormat>

namespace {

using Sci = QsciScintillaBase;

// One input-method event, as the ibus input context builds it from what the
// engine sends: a composition update, a commit, or a deletion around the caret.
struct Step
{
    QString commit;
    QString preedit;
    bool converted = false; // the composition shows a conversion candidate
    int replaceFrom = 0;
    int replaceLength = 0;
    int selectionStart = -1;
    int selectionLength = 0;
    bool reconvert = false; // the conversion key pressed on a selection
    bool restore = false;   // reconversion given up: the text taken comes back
};
using Steps = QList<Step>;

Step reading(const QString& text)
{
    return {.preedit = text};
}

Step candidate(const QString& text)
{
    return {.preedit = text, .converted = true};
}

Step commit(const QString& text)
{
    return {.commit = text};
}

Step deleteAround(int from, int length)
{
    return {.replaceFrom = from, .replaceLength = length};
}

void send(CMyRichEditView& view, const Step& step)
{
    QList<QInputMethodEvent::Attribute> attributes;
    if (!step.preedit.isEmpty()) {
        QTextCharFormat format;
        if (step.converted) {
            format.setUnderlineStyle(QTextCharFormat::DashUnderline);
            format.setBackground(QColor(0xd1, 0xea, 0xff));
            format.setForeground(Qt::black);
        } else {
            format.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        }
        attributes.append({QInputMethodEvent::TextFormat, 0, int(step.preedit.size()), format});
        // A reading has its cursor at the end, a candidate at the start.
        attributes.append(
            {QInputMethodEvent::Cursor, step.converted ? 0 : int(step.preedit.size()), 1, {}});
    }
    if (step.selectionStart >= 0)
        attributes.append(
            {QInputMethodEvent::Selection, step.selectionStart, step.selectionLength, {}});
    QInputMethodEvent event(step.preedit, attributes);
    event.setCommitString(step.commit, step.replaceFrom, step.replaceLength);
    QApplication::sendEvent(&view, &event);
}

QVariant ask(CMyRichEditView& view, Qt::InputMethodQuery query)
{
    QInputMethodQueryEvent event(query);
    QApplication::sendEvent(&view, &event);
    return event.value(query);
}

// What mozc does on the conversion key: it reads the selection from the
// surrounding text it was told, deletes it around the caret and shows it as
// a conversion candidate. Returns the text taken.
QString reconvert(CMyRichEditView& view)
{
    const QString text = ask(view, Qt::ImSurroundingText).toString();
    const int cursor = ask(view, Qt::ImCursorPosition).toInt();
    const int anchor = ask(view, Qt::ImAnchorPosition).toInt();
    const int start = qMin(cursor, anchor);
    const int length = qAbs(cursor - anchor);
    send(view, deleteAround(start - cursor, length));
    const QString taken = text.mid(start, length);
    send(view, candidate(taken));
    return taken;
}

void select(CMyRichEditView& view, qint64 anchor, qint64 caret)
{
    view.sci(Sci::SCI_SETSEL, static_cast<unsigned long>(anchor), static_cast<long>(caret));
}

} // namespace

Q_DECLARE_METATYPE(Steps)

// The view's answers to the input method and its handling of what the input
// method sends, on a real control.
class TestEditorInputMethod : public QObject
{
    Q_OBJECT

    void showView(CMyRichEditView& view)
    {
        view.resize(600, 300);
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }

    // What the input method is told around the caret: the caret's line, cut
    // to a bounded stretch of a long line, counted in UTF-16 units.
    void surroundingText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("surrounding");
        QTest::addColumn<int>("cursorPosition");
        QTest::addColumn<int>("anchorPosition");
        QTest::addColumn<QString>("selection");

        QTest::newRow("caret's line only") << QByteArray("abc\r\ndef\r\nghi") << 6 << 6
                                           << QStringLiteral("def") << 1 << 1 << QString();
        QTest::newRow("selection of multi-byte text")
            << QByteArray("<p>日本語</p>") << 3 << 12 << QStringLiteral("<p>日本語</p>") << 6 << 3
            << QStringLiteral("日本語");
        QTest::newRow("selection made backwards")
            << QByteArray("<p>日本語</p>") << 12 << 3 << QStringLiteral("<p>日本語</p>") << 3 << 6
            << QStringLiteral("日本語");
        QTest::newRow("selection over lines")
            << QByteArray("x\r\nab\r\n日本\r\ncd\r\ny") << 4 << 13 << QStringLiteral("ab\r\n日本")
            << 6 << 1 << QStringLiteral("b\r\n日本");
        QTest::newRow("character beyond 16 bits")
            << QByteArray("a😀b") << 5 << 5 << QStringLiteral("a😀b") << 3 << 3 << QString();
        QTest::newRow("long line, ASCII") << QByteArray(10000, 'x') << 5000 << 5000
                                          << QString(2048, 'x') << 1024 << 1024 << QString();
        // 1024 bytes before and after the caret hold 341 whole characters each.
        QTest::newRow("long line, three-byte characters")
            << QString(3000, QChar(0x3042)).toUtf8() << 4500 << 4500 << QString(682, QChar(0x3042))
            << 341 << 341 << QString();
        QTest::newRow("huge selection cut near the caret")
            << QByteArray(10000, 'x') << 0 << 9000 << QString(6120, 'x') << 5120 << 1024
            << QString(4096, 'x');
    }

    void surroundingText()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, surrounding);
        QFETCH(int, cursorPosition);
        QFETCH(int, anchorPosition);
        QFETCH(QString, selection);
        CMyRichEditView view;
        view.loadBytes(text);
        select(view, anchor, caret);
        QCOMPARE(ask(view, Qt::ImSurroundingText).toString(), surrounding);
        QCOMPARE(ask(view, Qt::ImCursorPosition).toInt(), cursorPosition);
        QCOMPARE(ask(view, Qt::ImAnchorPosition).toInt(), anchorPosition);
        QCOMPARE(ask(view, Qt::ImCurrentSelection).toString(), selection);
    }

    // While composing, the input method sees the text without the
    // composition, and the caret where the composition began; the caret
    // rectangle is at the caret inside the composition.
    void compositionIsLeftOutOfTheText()
    {
        CMyRichEditView view;
        showView(view);
        view.loadBytes("<p>ab</p>");
        select(view, 5, 5);
        QTRY_COMPARE(QGuiApplication::focusObject(), &view);
        // The ibus input context asks as soon as the view reports a change,
        // while the view is still handling the event.
        QStringList asked;
        connect(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged, &view,
                [&] { asked.append(ask(view, Qt::ImSurroundingText).toString()); });
        send(view, reading(QStringLiteral("にほん")));
        QCOMPARE(view.textBytes(), QByteArray("<p>abにほん</p>"));
        QVERIFY(!asked.isEmpty());
        asked.removeDuplicates();
        QCOMPARE(asked, QStringList{QStringLiteral("<p>ab</p>")});
        QCOMPARE(ask(view, Qt::ImCursorPosition).toInt(), 5);
        QCOMPARE(ask(view, Qt::ImAnchorPosition).toInt(), 5);
        const int caretX = int(view.sci(Sci::SCI_POINTXFROMPOSITION, 0, 14));
        QCOMPARE(ask(view, Qt::ImCursorRectangle).toRect().left(),
                 view.viewport()->mapTo(&view, QPoint(caretX, 0)).x());
    }

    // Event sequences as ibus with mozc sends them (seen on the bus), and
    // what the document holds afterwards. Byte positions.
    void events_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<int>("resultAnchor");
        QTest::addColumn<int>("resultCaret");
        QTest::addColumn<bool>("modified");

        const QString nihongo = QStringLiteral("日本語");
        // Conversion key on a selection, then Escape twice: mozc deletes the
        // selection around the caret, shows it as a candidate, goes back to
        // its reading, then commits the original text.
        const Step conversionKey{.reconvert = true};
        const Steps givenUp = {
            conversionKey, reading(QStringLiteral("にほんご")), {.restore = true}, {}};
        QTest::newRow("reconversion given up") << QByteArray("<p>日本語</p>") << 3 << 12 << givenUp
                                               << QByteArray("<p>日本語</p>") << 12 << 12 << true;
        QTest::newRow("reconversion of a backward selection")
            << QByteArray("<p>日本語</p>") << 12 << 3 << givenUp << QByteArray("<p>日本語</p>")
            << 12 << 12 << true;
        QTest::newRow("reconversion on a later line")
            << QByteArray("<p>a\r\n<p>日本語</p>") << 9 << 18 << givenUp
            << QByteArray("<p>a\r\n<p>日本語</p>") << 18 << 18 << true;
        QTest::newRow("reconversion to another candidate")
            << QByteArray("<p>日本語</p>") << 3 << 12
            << Steps{conversionKey,
                     candidate(QStringLiteral("二ホン語")),
                     commit(QStringLiteral("二ホン語")),
                     {}}
            << QByteArray("<p>二ホン語</p>") << 15 << 15 << true;
        // Ctrl+BackSpace after a commit: the committed text is deleted and
        // comes back as a composition; another candidate replaces it.
        QTest::newRow("commit taken back") << QByteArray("<p>") << 3 << 3
                                           << Steps{reading(QStringLiteral("かんじ")),
                                                    candidate(QStringLiteral("感じ")),
                                                    commit(QStringLiteral("感じ")),
                                                    {},
                                                    deleteAround(-2, 2),
                                                    candidate(QStringLiteral("感じ")),
                                                    candidate(QStringLiteral("幹事")),
                                                    commit(QStringLiteral("幹事")),
                                                    {}}
                                           << QByteArray("<p>幹事") << 9 << 9 << true;
        QTest::newRow("deletion counts a 4-byte character as two units")
            << QByteArray("a😀b") << 5 << 5 << Steps{deleteAround(-2, 2)} << QByteArray("ab") << 1
            << 1 << true;
        QTest::newRow("commit replacing text before the caret")
            << QByteArray("abcdef") << 4 << 4
            << Steps{{.commit = QStringLiteral("Z"), .replaceFrom = -2, .replaceLength = 1}}
            << QByteArray("abZdef") << 3 << 3 << true;
        QTest::newRow("deletion ahead of the caret")
            << QByteArray("日本語です") << 6 << 6 << Steps{deleteAround(0, 1)}
            << QByteArray("日本です") << 6 << 6 << true;
        QTest::newRow("deletion stops at the start of the text")
            << QByteArray("abc") << 1 << 1 << Steps{deleteAround(-5, 2)} << QByteArray("c") << 0
            << 0 << true;
        QTest::newRow("commit and composition in one event")
            << QByteArray("ab") << 2 << 2
            << Steps{{.commit = QStringLiteral("日"), .preedit = QStringLiteral("ほん")}}
            << QByteArray("ab日ほん") << 11 << 11 << true;
        QTest::newRow("selection set by the input method")
            << QByteArray("x\r\nabc 日本") << 3 << 3
            << Steps{{.selectionStart = 4, .selectionLength = 2}} << QByteArray("x\r\nabc 日本")
            << 7 << 13 << false;
        QTest::newRow("composition given up")
            << QByteArray("abc") << 3 << 3
            << Steps{reading(QStringLiteral("に")), reading(QStringLiteral("にほ")), {}}
            << QByteArray("abc") << 3 << 3 << false;
        QTest::newRow("composition over a selection given up")
            << QByteArray("abc def") << 0 << 3
            << Steps{reading(QStringLiteral("に")), reading(QStringLiteral("にほ")), {}}
            << QByteArray(" def") << 0 << 0 << true;
    }

    void events()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(Steps, steps);
        QFETCH(QByteArray, result);
        QFETCH(int, resultAnchor);
        QFETCH(int, resultCaret);
        QFETCH(bool, modified);
        CMyRichEditView view;
        showView(view);
        view.loadBytes(text);
        select(view, anchor, caret);
        QString taken;
        for (const Step& step : steps) {
            if (step.reconvert)
                taken = reconvert(view);
            else
                send(view, step.restore ? commit(taken) : step);
        }
        QCOMPARE(view.textBytes(), result);
        QCOMPARE(int(view.sci(Sci::SCI_GETANCHOR)), resultAnchor);
        QCOMPARE(int(view.sci(Sci::SCI_GETCURRENTPOS)), resultCaret);
        QCOMPARE(view.modifyFlag(), modified);
    }

    // The input method hears of every caret move, so its candidate window
    // opens at the caret rather than where the caret was before.
    void caretMovesAreReported()
    {
        CMyRichEditView view;
        showView(view);
        view.loadBytes("<p>ここに入力します:\r\n<p>");
        QInputMethod* im = QGuiApplication::inputMethod();
        QTRY_COMPARE(QGuiApplication::focusObject(), &view);
        view.viewport()->repaint();
        QSignalSpy moved(im, &QInputMethod::cursorRectangleChanged);
        view.sci(Sci::SCI_GOTOPOS, 28);
        QTRY_VERIFY(!moved.isEmpty());
        const int caretX = int(view.sci(Sci::SCI_POINTXFROMPOSITION, 0, 28));
        QVERIFY(caretX > 100);
        QCOMPARE(im->cursorRectangle().toRect().left(),
                 view.viewport()->mapTo(&view, QPoint(caretX, 0)).x());
    }

    // A document window moved inside the main window moves the view with it
    // without telling the view; the next caret move still reports the caret
    // where it is in the window.
    void caretPlaceFollowsAMovedDocumentWindow()
    {
        QWidget window;
        window.resize(700, 400);
        auto* frame = new QWidget(&window);
        frame->setGeometry(0, 0, 500, 300);
        auto* view = new CMyRichEditView(frame);
        view->setGeometry(10, 10, 400, 200);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view->setFocus();
        QTRY_COMPARE(QGuiApplication::focusObject(), view);
        view->loadBytes("abc");
        frame->move(150, 80);
        view->sci(Sci::SCI_GOTOPOS, 3);
        const QPoint caret(int(view->sci(Sci::SCI_POINTXFROMPOSITION, 0, 3)),
                           int(view->sci(Sci::SCI_POINTYFROMPOSITION, 0, 3)));
        QTRY_COMPARE(QGuiApplication::inputMethod()->cursorRectangle().toRect().topLeft(),
                     view->viewport()->mapTo(&window, caret));
    }
};

MARQUILL_TEST_MAIN(TestEditorInputMethod)
#include "tst_editor_input_method.moc"
