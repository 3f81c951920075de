#include "editor/my_rich_edit_view.h"
#include "test_support.h"

#include <QInputMethod>
#include <QInputMethodEvent>
#include <QTextCharFormat>

namespace {

using Sci = QsciScintillaBase;

// One input-method event as the ibus input context builds it from what mozc
// sends (seen on the bus): a composition update (a reading, or a conversion
// candidate), a commit, a deletion around the caret. reconvert stands for
// the conversion key on a selection, restore for giving the reconversion up.
struct Step
{
    QString commit;
    QString preedit;
    bool converted = false;
    int replaceFrom = 0;
    int replaceLength = 0;
    int selectionStart = -1;
    int selectionLength = 0;
    bool reconvert = false;
    bool restore = false;
};
using Steps = QList<Step>;

void send(CMyRichEditView& view, const Step& step)
{
    QList<QInputMethodEvent::Attribute> attributes;
    if (!step.preedit.isEmpty()) {
        QTextCharFormat format;
        format.setUnderlineStyle(step.converted ? QTextCharFormat::DashUnderline
                                                : QTextCharFormat::SingleUnderline);
        if (step.converted)
            format.setBackground(QColor(0xd1, 0xea, 0xff));
        const int length = int(step.preedit.size());
        attributes.append({QInputMethodEvent::TextFormat, 0, length, format});
        attributes.append({QInputMethodEvent::Cursor, step.converted ? 0 : length, 1, {}});
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

// What mozc does on the conversion key: it takes the selection from the
// surrounding text it was told, deletes it around the caret and shows it as
// a candidate. Returns the text taken.
QString reconvert(CMyRichEditView& view)
{
    const QString text = ask(view, Qt::ImSurroundingText).toString();
    const int cursor = ask(view, Qt::ImCursorPosition).toInt();
    const int anchor = ask(view, Qt::ImAnchorPosition).toInt();
    const int start = qMin(cursor, anchor);
    const QString taken = text.mid(start, qAbs(cursor - anchor));
    send(view, {.replaceFrom = start - cursor, .replaceLength = int(taken.size())});
    send(view, {.preedit = taken, .converted = true});
    return taken;
}

void showFocused(QWidget& window, QWidget* view)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    QTRY_COMPARE(QGuiApplication::focusObject(), view);
}

} // namespace

Q_DECLARE_METATYPE(Steps)

// The view's answers to the input method and its handling of what the input
// method sends, on a real control. Positions in the document are bytes.
class TestEditorInputMethod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }

    // The caret's line, cut to a bounded stretch, in UTF-16 units.
    void surroundingText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("surrounding");
        QTest::addColumn<int>("cursorPosition");
        QTest::addColumn<int>("anchorPosition");

        QTest::newRow("caret's line")
            << QByteArray("abc\r\ndef\r\nghi") << 6 << 6 << QStringLiteral("def") << 1 << 1;
        QTest::newRow("multi-byte selection")
            << QByteArray("<p>日本語</p>") << 12 << 3 << QStringLiteral("<p>日本語</p>") << 3 << 6;
        QTest::newRow("4-byte character")
            << QByteArray("a😀b") << 5 << 5 << QStringLiteral("a😀b") << 3 << 3;
        // 1024 bytes on each side hold 341 whole three-byte characters.
        QTest::newRow("long line") << QString(3000, QChar(0x3042)).toUtf8() << 4500 << 4500
                                   << QString(682, QChar(0x3042)) << 341 << 341;
        QTest::newRow("huge selection cut near the caret")
            << QByteArray(10000, 'x') << 0 << 9000 << QString(6120, 'x') << 5120 << 1024;
    }

    void surroundingText()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, surrounding);
        QFETCH(int, cursorPosition);
        QFETCH(int, anchorPosition);
        CMyRichEditView view;
        view.loadBytes(text);
        view.sci(Sci::SCI_SETSEL, anchor, caret);
        QCOMPARE(ask(view, Qt::ImSurroundingText).toString(), surrounding);
        QCOMPARE(ask(view, Qt::ImCursorPosition).toInt(), cursorPosition);
        QCOMPARE(ask(view, Qt::ImAnchorPosition).toInt(), anchorPosition);
    }

    // The composition is not part of the text reported, not even when the
    // input method asks while the view is still handling the event.
    void compositionIsLeftOutOfTheText()
    {
        CMyRichEditView view;
        view.loadBytes("<p>ab</p>");
        view.sci(Sci::SCI_GOTOPOS, 5);
        showFocused(view, &view);
        QStringList asked;
        connect(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged, &view,
                [&] { asked.append(ask(view, Qt::ImSurroundingText).toString()); });
        send(view, {.preedit = QStringLiteral("にほん")});
        QCOMPARE(view.textBytes(), QByteArray("<p>abにほん</p>"));
        asked.append(ask(view, Qt::ImSurroundingText).toString());
        asked.removeDuplicates();
        QCOMPARE(asked, QStringList{QStringLiteral("<p>ab</p>")});
    }

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

        // Conversion key, then Escape twice: back to the reading, then the
        // text taken is committed again.
        const Steps givenUp = {
            {.reconvert = true}, {.preedit = QStringLiteral("にほんご")}, {.restore = true}, {}};
        const QByteArray p = QByteArray("<p>日本語</p>");
        QTest::newRow("reconversion given up") << p << 3 << 12 << givenUp << p << 12 << 12 << true;
        QTest::newRow("reconversion of a backward selection")
            << p << 12 << 3 << givenUp << p << 12 << 12 << true;
        QTest::newRow("reconversion to another candidate")
            << p << 3 << 12 << Steps{{.reconvert = true}, {.commit = QStringLiteral("二ホン語")}}
            << QByteArray("<p>二ホン語</p>") << 15 << 15 << true;
        // Ctrl+BackSpace after a commit: the text committed is deleted and
        // shown again as a candidate; another candidate replaces it.
        QTest::newRow("commit taken back")
            << QByteArray("<p>") << 3 << 3
            << Steps{{.commit = QStringLiteral("感じ")},
                     {.replaceFrom = -2, .replaceLength = 2},
                     {.preedit = QStringLiteral("感じ"), .converted = true},
                     {.commit = QStringLiteral("幹事")}}
            << QByteArray("<p>幹事") << 9 << 9 << true;
        QTest::newRow("a 4-byte character is two units")
            << QByteArray("a😀b") << 5 << 5 << Steps{{.replaceFrom = -2, .replaceLength = 2}}
            << QByteArray("ab") << 1 << 1 << true;
        QTest::newRow("commit replacing text before the caret")
            << QByteArray("abcdef") << 4 << 4
            << Steps{{.commit = QStringLiteral("Z"), .replaceFrom = -2, .replaceLength = 1}}
            << QByteArray("abZdef") << 3 << 3 << true;
        QTest::newRow("commit and composition in one event")
            << QByteArray("ab") << 2 << 2
            << Steps{{.commit = QStringLiteral("日"), .preedit = QStringLiteral("ほん")}}
            << QByteArray("ab日ほん") << 11 << 11 << true;
        QTest::newRow("selection set by the input method")
            << QByteArray("x\r\nabc 日本") << 3 << 3
            << Steps{{.selectionStart = 4, .selectionLength = 2}} << QByteArray("x\r\nabc 日本")
            << 7 << 13 << false;
        QTest::newRow("composition over a selection given up")
            << QByteArray("abc def") << 0 << 3
            << Steps{{.preedit = QStringLiteral("に")}, {.preedit = QStringLiteral("にほ")}, {}}
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
        view.loadBytes(text);
        view.sci(Sci::SCI_SETSEL, anchor, caret);
        QString taken;
        for (const Step& step : steps) {
            if (step.reconvert)
                taken = reconvert(view);
            else
                send(view, step.restore ? Step{.commit = taken} : step);
        }
        QCOMPARE(view.textBytes(), result);
        QCOMPARE(int(view.sci(Sci::SCI_GETANCHOR)), resultAnchor);
        QCOMPARE(int(view.sci(Sci::SCI_GETCURRENTPOS)), resultCaret);
        QCOMPARE(view.modifyFlag(), modified);
    }

    // Every caret move is reported, with the caret where it is in the window
    // even after the document window around the view has moved.
    void caretMovesAreReported()
    {
        QWidget window;
        window.resize(700, 400);
        auto* frame = new QWidget(&window);
        frame->setGeometry(0, 0, 500, 300);
        auto* view = new CMyRichEditView(frame);
        view->setGeometry(10, 10, 400, 200);
        view->loadBytes("<p>ここに入力します:\r\n<p>");
        showFocused(window, view);
        view->viewport()->repaint();
        QSignalSpy reported(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged);
        frame->move(150, 80);
        view->sci(Sci::SCI_GOTOPOS, 28);
        QTRY_VERIFY(!reported.isEmpty());
        const QPoint caret(int(view->sci(Sci::SCI_POINTXFROMPOSITION, 0, 28)),
                           int(view->sci(Sci::SCI_POINTYFROMPOSITION, 0, 28)));
        QVERIFY(caret.x() > 100);
        QCOMPARE(QGuiApplication::inputMethod()->cursorRectangle().toRect().topLeft(),
                 view->viewport()->mapTo(&window, caret));
    }
};

MARQUILL_TEST_MAIN(TestEditorInputMethod)
#include "tst_editor_input_method.moc"
