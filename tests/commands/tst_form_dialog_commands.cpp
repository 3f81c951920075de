#include "commands/command_modules.h"
#include "commands/selection_text.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "editor/rules/lower_tag_case.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QComboBox>
#include <QLineEdit>

// The form dialog commands of the view, end to end: the command opens its
// dialog through the dialog seam, the test answers it like a user, and the
// text of the document shows where the element went. The selected text
// handed in as a label comes back byte for byte.
class TestFormDialogCommands : public QObject
{
    Q_OBJECT

    // Answers the next dialog: types text into the control named control
    // (none when empty), then presses OK, or Cancel when ok is false.
    static void answer(const QString& control, const QString& text, bool ok,
                       QStringList* captions = nullptr)
    {
        UiSeam::setDialogHook([=](QDialog& dialog) {
            if (captions)
                captions->append(dialog.windowTitle());
            if (control.isEmpty())
                ;
            else if (auto* combo = dialog.findChild<QComboBox*>(control))
                combo->setEditText(text);
            else if (auto* edit = dialog.findChild<QLineEdit*>(control))
                edit->setText(text);
            else
                qFatal("no control %s", qPrintable(control));
            if (!ok) {
                dialog.reject();
                return int(QDialog::Rejected);
            }
            dialog.accept();
            return dialog.result();
        });
    }

    struct Document
    {
        CMarquillDoc doc;
        CMarquillView* view = new CMarquillView;
        Document() { doc.setView(view); }
        ~Document() { delete view; }

        void select(const QByteArray& before, const QByteArray& selected, const QByteArray& after)
        {
            view->loadBytes(before + selected + after);
            view->setSel(before.size(), before.size() + selected.size());
        }
    };

private Q_SLOTS:
    void initTestCase() { CommandModules::install(); }
    void init()
    {
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("SmallLetter"), 0);
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("AutoColor"), 0);
    }
    void cleanup()
    {
        UiSeam::setDialogHook({});
        TestSupport::clearSettings();
    }

    void commands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("form area")
            << int(Cmd::FormArea) << "フォーム領域の作成"
            << "actionCombo"
            << QByteArray("go <FORM METHOD=POST ACTION=\"a\">\r\n\r\nYes\r\n\r\n</FORM>\r\n now");
        QTest::newRow("list box area")
            << int(Cmd::SelectArea) << "リストボックス領域の作成"
            << "nameEdit" << QByteArray("go <SELECT NAME=\"a\" SIZE=5>\r\nYes\r\n</SELECT> now");
        QTest::newRow("list box item")
            << int(Cmd::OptionItem) << "リストボックスの項目"
            << "sentDataEdit" << QByteArray("go <OPTION VALUE=\"a\">Yes now");
        QTest::newRow("one-line text input")
            << int(Cmd::LineInput) << "一行テキスト入力領域の設定"
            << "nameEdit"
            << QByteArray("go <INPUT TYPE=\"TEXT\" NAME=\"a\" SIZE=40 MAXLENGTH=40> now");
        QTest::newRow("multi-line text input")
            << int(Cmd::TextArea) << "複数行テキスト入力領域の設定"
            << "nameEdit" << QByteArray("go <TEXTAREA NAME=\"a\" COLS=60 ROWS=8></TEXTAREA> now");
        QTest::newRow("check box")
            << int(Cmd::CheckBox) << "チェックボックスの設定"
            << "nameCombo"
            << QByteArray("go <INPUT TYPE=\"CHECKBOX\" NAME=\"a\" VALUE=\"\">Yes now");
        QTest::newRow("radio button")
            << int(Cmd::RadioButton) << "ラジオボタンの設定"
            << "nameCombo" << QByteArray("go <INPUT TYPE=\"RADIO\" NAME=\"a\" VALUE=\"\">Yes now");
        QTest::newRow("submit button")
            << int(Cmd::SubmitButton) << "送信ボタンの設定"
            << "" << QByteArray("go <INPUT TYPE=\"SUBMIT\" VALUE=\"Yes\"> now");
        QTest::newRow("reset button")
            << int(Cmd::ResetButton) << "取り消しボタンの設定"
            << "" << QByteArray("go <INPUT TYPE=\"RESET\" VALUE=\"Yes\"> now");
    }
    void commands()
    {
        QFETCH(int, command);
        QFETCH(QString, caption);
        QFETCH(QString, control);
        QFETCH(QByteArray, result);
        Document d;
        d.select("go ", "Yes", " now");
        QStringList captions;
        answer(control, QStringLiteral("a"), false, &captions);
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(d.view->textBytes(), QByteArray("go Yes now"));
        answer(control, QStringLiteral("a"), true, &captions);
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(captions, QStringList(2, caption));
        QCOMPARE(d.view->textBytes(), result);

        // With "SmallLetter" as it is by default, the element is lowered.
        TestSupport::clearSettings();
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("AutoColor"), 0);
        d.select("go ", "Yes", " now");
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(d.view->textBytes(), LowerTagCase(result));
    }

    void labelComesBackWhole_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("selected");
        QTest::addColumn<QByteArray>("before"); // what the element puts before the label
        QTest::addColumn<QByteArray>("after");

        const QByteArray raw("\x82\xcd\x82\xa2 \xff");
        QTest::newRow("bytes that are no UTF-8")
            << int(Cmd::CheckBox) << "nameCombo" << raw
            << QByteArray("<INPUT TYPE=\"CHECKBOX\" NAME=\"名前\" VALUE=\"\">") << QByteArray();
        QTest::newRow("inside the tag")
            << int(Cmd::SubmitButton) << "" << raw << QByteArray("<INPUT TYPE=\"SUBMIT\" VALUE=\"")
            << QByteArray("\">");
        const QByteArray lines = QByteArray(40000, 'x') + "\r\n" + QByteArray(100, 'y');
        QTest::newRow("longer than an edit holds, over two lines")
            << int(Cmd::OptionItem) << "sentDataEdit" << lines
            << QByteArray("<OPTION VALUE=\"名前\">") << QByteArray();
    }
    void labelComesBackWhole()
    {
        QFETCH(int, command);
        QFETCH(QString, control);
        QFETCH(QByteArray, selected);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Document d;
        d.select("[", selected, "]");
        answer(control, QStringLiteral("名前"), true);
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(d.view->textBytes(), "[" + before + selected + after + "]");
    }

    void selectionText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("encoded");

        QTest::newRow("Shift_JIS")
            << QByteArray("\x82\xcd\x82\xa2") << "名" << QByteArray("\x82\xcd\x82\xa2名");
        QTest::newRow("a cut sequence")
            << QByteArray("\xe3\x81") << "a" << QByteArray("\xe3\x81") + "a";
        QTest::newRow("an encoded surrogate")
            << QByteArray("\xed\xb2\x80") << "" << QByteArray("\xed\xb2\x80");
        QTest::newRow("beyond the basic plane, NUL and U+FFFD")
            << QByteArray("😀\0\xef\xbf\xbd", 8) << "😀" << QByteArray("😀\0\xef\xbf\xbd😀", 12);
    }
    void selectionText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, typed);
        QFETCH(QByteArray, encoded);
        QCOMPARE(SelectionText::encode(SelectionText::decode(bytes) + typed), encoded);
    }
};

MARQUILL_TEST_MAIN(TestFormDialogCommands)
#include "tst_form_dialog_commands.moc"
