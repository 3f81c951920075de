#include "commands/command_modules.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/doc_info_dlg.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"
#include "test_support.h"
#include "widgets/color_combo_box.h"
#include "widgets/history_combo_box.h"

#include <QLineEdit>
#include <QRadioButton>

#include <functional>

Q_DECLARE_METATYPE(std::function<void(QDialog&)>)

// The dialog commands of the view and the new-document step, end to end:
// the command opens its dialog through the dialog seam, the test answers it
// like a user, and the text of the document shows the result.
class TestElementDialogCommands : public QObject
{
    Q_OBJECT

    using Answer = std::function<void(QDialog&)>;

    // Answers the next dialogs: fills them in with fill, then presses OK, or
    // Cancel when fill is empty.
    static void answer(const Answer& fill, QStringList* captions = nullptr)
    {
        UiSeam::setDialogHook([fill, captions](QDialog& dialog) {
            if (captions)
                captions->append(dialog.windowTitle());
            if (!fill) {
                dialog.reject();
                return int(QDialog::Rejected);
            }
            fill(dialog);
            dialog.accept();
            return int(QDialog::Accepted);
        });
    }

    static void setText(QDialog& dialog, const char* name, const QString& text)
    {
        if (auto* combo = dialog.findChild<QComboBox*>(QLatin1String(name)))
            combo->setEditText(text);
        else if (auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name)))
            edit->setText(text);
        else
            qFatal("no control %s", name);
    }

    struct Document
    {
        CMarquillDoc doc;
        CMarquillView* view = new CMarquillView;
        Document() { doc.setView(view); }
        ~Document() { delete view; }
    };

    static void selectWord(CMarquillView& view, const QByteArray& text, const QByteArray& word)
    {
        view.loadBytes(text);
        const qint64 at = text.indexOf(word);
        view.setSel(at, at + word.size());
    }

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

    void wrapCommands_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<Answer>("fill");
        QTest::addColumn<QByteArray>("result");

        QTest::newRow("link") << int(Cmd::Link) << "他のURLへリンク" << Answer([](QDialog& d) {
            setText(d, "urlCombo", "index.html");
            setText(d, "targetCombo", "_blank  (新規ウィンドウ)");
        }) << QByteArray("go <A HREF=\"index.html\" TARGET=\"_blank\">index</A> now");
        QTest::newRow("same-document link")
            << int(Cmd::SameDocLink) << "同一文書内へのリンク"
            << Answer([](QDialog& d) { setText(d, "fieldCombo", "top"); })
            << QByteArray("go <A HREF=\"#top\">index</A> now");
        QTest::newRow("bookmark") << int(Cmd::Bookmark) << "ブックマークの設定"
                                  << Answer([](QDialog& d) { setText(d, "fieldCombo", "top"); })
                                  << QByteArray("go <A NAME=\"top\">index</A> now");
        QTest::newRow("mail") << int(Cmd::MailLink) << "メールの送信先"
                              << Answer([](QDialog& d) { setText(d, "fieldCombo", "x@y.jp"); })
                              << QByteArray("go <A HREF=\"mailto:x@y.jp\">index</A> now");
        QTest::newRow("font") << int(Cmd::FontTag) << "フォント" << Answer([](QDialog& d) {
            d.findChild<QRadioButton*>("sizeButton9")->click();
            d.findChild<CColorComboBox*>("colorCombo")->SelectColorName("red");
        }) << QByteArray("go <FONT SIZE=\"+1\" COLOR=red>index</FONT> now");
        QTest::newRow("heading") << int(Cmd::HeadingDialog) << "見出し" << Answer([](QDialog&) {})
                                 << QByteArray("go <H3>index</H3> now");
        QTest::newRow("document information")
            << int(Cmd::DocumentInfo) << "文書情報の設定" << Answer([](QDialog& d) {
                   setText(d, "titleEdit", "T");
                   for (auto* combo : d.findChildren<CColorComboBox*>())
                       combo->setCurrentIndex(0);
               })
            << QByteArray(
                   "go <!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n\r\n"
                   "<HTML>\r\n\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n\r\n<BODY>\r\n\r\n"
                   "index\r\n\r\n</BODY>\r\n\r\n</HTML>\r\n now");
    }
    void wrapCommands()
    {
        QFETCH(int, command);
        QFETCH(QString, caption);
        QFETCH(Answer, fill);
        QFETCH(QByteArray, result);
        Document d;
        QStringList captions;
        selectWord(*d.view, "go index now", "index");
        answer(fill, &captions);
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(captions, QStringList{caption});
        QCOMPARE(d.view->textBytes(), result);
        QVERIFY(d.view->lastWasPair());
        // The selected word stays selected inside the new element.
        QCOMPARE(d.view->selectedBytes(), QByteArray("index"));

        // Cancelled, the same command changes nothing.
        const QByteArray lastStart = d.view->lastStartText();
        answer({});
        QVERIFY(d.view->executeCommand(command));
        QCOMPARE(d.view->textBytes(), result);
        QCOMPARE(d.view->lastStartText(), lastStart);
    }

    void ruleReplacesTheSelection()
    {
        Document d;
        selectWord(*d.view, "go index now", "index");
        answer({});
        QVERIFY(d.view->executeCommand(Cmd::RuleDialog));
        QCOMPARE(d.view->textBytes(), QByteArray("go index now"));
        answer([](QDialog&) {});
        QVERIFY(d.view->executeCommand(Cmd::RuleDialog));
        QCOMPARE(d.view->textBytes(), QByteArray("go <HR SIZE=2 WIDTH=\"100%\"> now"));
        QVERIFY(!d.view->lastWasPair());
        qint64 s, e;
        d.view->getSel(s, e);
        QCOMPARE(s, e);
        QCOMPARE(s, qint64(QByteArray("go <HR SIZE=2 WIDTH=\"100%\">").size()));
    }

    void tagsAreLoweredOutsideQuotes()
    {
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("SmallLetter"), 1);
        Document d;
        selectWord(*d.view, "go index now", "index");
        answer([](QDialog& dlg) {
            setText(dlg, "urlCombo", "Index.HTML");
            setText(dlg, "targetCombo", "Main");
        });
        QVERIFY(d.view->executeCommand(Cmd::Link));
        QCOMPARE(d.view->textBytes(),
                 QByteArray("go <a href=\"Index.HTML\" target=\"Main\">index</a> now"));
    }

    void documentInfoGetsTheDocumentFolder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.htm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        Document d;
        QVERIFY(d.doc.onOpenDocument(path, nullptr));
        QString folder = QStringLiteral("unset");
        answer(
            [&folder](QDialog& dlg) { folder = static_cast<CDocInfoDlg&>(dlg).documentFolder(); });
        QVERIFY(d.view->executeCommand(Cmd::DocumentInfo));
        QCOMPARE(folder, dir.path() + QLatin1Char('/'));
    }

    void newDocumentWithoutTheOption()
    {
        Document d;
        QStringList captions;
        answer([](QDialog&) {}, &captions);
        QVERIFY(d.doc.onNewDocument());
        QVERIFY(captions.isEmpty());
        QCOMPARE(d.view->textBytes(), QByteArray());
    }

    void newDocumentDialogAccepted()
    {
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("Dialog"), 1);
        Document d;
        QStringList captions;
        answer([](QDialog&) {}, &captions);
        QVERIFY(d.doc.onNewDocument());
        QCOMPARE(captions, QStringList{QStringLiteral("文書情報の設定")});
        const QByteArray start = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n\r\n"
                                 "<HTML>\r\n\r\n<BODY BGCOLOR=silver TEXT=black LINK=blue "
                                 "VLINK=purple ALINK=red>\r\n\r\n";
        const QByteArray end = "\r\n\r\n</BODY>\r\n\r\n</HTML>\r\n";
        QCOMPARE(d.view->textBytes(), start + end);
        qint64 s, e;
        d.view->getSel(s, e);
        QCOMPARE(s, qint64(start.size()));
        QCOMPARE(e, s);
        QVERIFY(d.doc.isModified());
        QCOMPARE(d.doc.title(), QStringLiteral("無題 *"));
    }

    void newDocumentDialogCancelled()
    {
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("Dialog"), 1);
        Document d;
        QStringList captions;
        answer({}, &captions);
        QVERIFY(d.doc.onNewDocument());
        QCOMPARE(captions.size(), 1);
        QCOMPARE(d.view->textBytes(), QByteArray());
        QVERIFY(!d.doc.isModified());
        QCOMPARE(d.doc.title(), QStringLiteral("無題"));
    }
};

MARQUILL_TEST_MAIN(TestElementDialogCommands)
#include "tst_element_dialog_commands.moc"
