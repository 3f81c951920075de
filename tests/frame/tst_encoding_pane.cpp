#include "app/marquill_app.h"
#include "app_under_test.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/encoding_pane.h"
#include "frame/main_frame.h"
#include "resources/command_ids.h"
#include "test_support.h"

#include <QMdiArea>
#include <QMenu>

// Files in their own encodings as the user meets them: the encoding pane of
// the status bar, reopening and saving in another encoding, the question
// before UTF-8 is mixed into a file open without conversion, and files too
// large to open.
class TestEncodingPane : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CMarquillApp* m_app = nullptr;
    QStringList m_messages;
    QMessageBox::StandardButton m_answer = QMessageBox::Ok;

    CMainFrame* frame() const { return m_app->mainFrame(); }
    CEncodingPane* pane() const { return frame()->encodingPane(); }
    CMarquillView* viewOf(CMarquillDoc* doc) const
    {
        return m_app->documentManager()->frameOf(doc)->view();
    }

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write(bytes);
        return path;
    }

    QByteArray readFile(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    // Chooses an encoding from one of the pane's submenus, as a click would.
    void choose(const QString& submenu, const QString& encoding)
    {
        QMetaObject::invokeMethod(pane()->paneMenu(), "aboutToShow");
        QMenu* sub = pane()->paneMenu()->findChild<QMenu*>(submenu);
        QVERIFY(sub);
        QVERIFY(sub->isEnabled());
        for (QAction* action : sub->actions()) {
            if (action->text() == encoding) {
                action->trigger();
                return;
            }
        }
        QFAIL("encoding not in the menu");
    }

    void typeAtEnd(CMarquillDoc* doc, const QByteArray& text)
    {
        CMarquillView* view = viewOf(doc);
        view->setSel(view->textLength(), view->textLength());
        view->replaceSel(text, true);
    }

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        m_messages.clear();
        m_answer = QMessageBox::Ok;
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages.append(text);
                return m_answer;
            });
        m_app = new CMarquillApp;
        QVERIFY(m_app->initInstance({QStringLiteral("marquill")}));
    }

    void cleanup()
    {
        TestSupport::tearDownApp(m_app);
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
    }

    void paneShowsTheEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("label");
        QTest::newRow("utf-8") << QByteArray("<p>日本語</p>") << "UTF-8";
        QTest::newRow("shift_jis") << QByteArray("<p>\x93\xfa\x96\x7b</p>") << "Shift_JIS";
        QTest::newRow("euc-jp half-width katakana")
            << QByteArray::fromHex("8eb18eb28eb38eb48eb5208eb68ede8eb78ede") << "EUC-JP";
        QTest::newRow("utf-16 with byte-order mark")
            << QByteArray::fromHex("fffe41004200") << "UTF-16LE";
        QTest::newRow("unrecognised bytes") << QByteArray("\x80\xff\xfd") << "変換なし";
    }

    void paneShowsTheEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, label);
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(
            writeFile(QStringLiteral("page.htm"), bytes));
        QVERIFY(doc);
        QTRY_COMPARE(pane()->text(), label);
    }

    void paneFollowsTheActiveWindow()
    {
        CMarquillDoc* sjis = m_app->documentManager()->openDocumentFile(
            writeFile(QStringLiteral("a.htm"), "\x93\xfa\x96\x7b"));
        CMarquillDoc* utf8 =
            m_app->documentManager()->openDocumentFile(writeFile(QStringLiteral("b.htm"), "日本"));
        QVERIFY(sjis && utf8);
        QTRY_COMPARE(pane()->text(), QStringLiteral("UTF-8"));
        frame()->mdiArea()->setActiveSubWindow(m_app->documentManager()->frameOf(sjis));
        QTRY_COMPARE(pane()->text(), QStringLiteral("Shift_JIS"));
        m_app->documentManager()->closeAllDocumentsWithoutAsking();
        QTRY_COMPARE(pane()->text(), QString());
    }

    void reopenInAnotherEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("label");   // afterwards
        QTest::addColumn<QByteArray>("text"); // afterwards
        QTest::addColumn<bool>("refused");
        const QByteArray eucKana = QByteArray::fromHex("8eb18eb2");
        QTest::newRow("euc-jp kana taken as shift_jis")
            << eucKana << "Shift_JIS"
            << "Shift_JIS" << QByteArray("竺軸") << false;
        QTest::newRow("unrecognised bytes as windows-1252")
            << QByteArray("\x93q\x94\xff") << "Windows-1252"
            << "Windows-1252" << QByteArray("“q”ÿ") << false;
        QTest::newRow("shift_jis cannot be euc-jp") << QByteArray("\x93\xfa\x96\x7b") << "EUC-JP"
                                                    << "Shift_JIS" << QByteArray("日本") << true;
        QTest::newRow("utf-8 without byte-order mark cannot be utf-16")
            << QByteArray("ab") << "UTF-16"
            << "UTF-8" << QByteArray("ab") << true;
    }

    void reopenInAnotherEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, chosen);
        QFETCH(QString, label);
        QFETCH(QByteArray, text);
        QFETCH(bool, refused);
        const QString path = writeFile(QStringLiteral("reopen.htm"), bytes);
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
        QVERIFY(doc);
        choose(QStringLiteral("ReopenEncodingMenu"), chosen);
        QCOMPARE(m_messages.size(), refused ? 1 : 0);
        QCOMPARE(viewOf(doc)->textBytes(), text);
        QCOMPARE(pane()->text(), label);
        QVERIFY(!doc->isModified());
        QCOMPARE(readFile(path), bytes);
    }

    // Read again, the text keeps the options' fonts and colours.
    void reopenKeepsTheFormats()
    {
        writeProfileInt(QStringLiteral("Font"), QStringLiteral("DefaultColor"), 0x123456);
        writeProfileInt(QStringLiteral("Font"), QStringLiteral("DefaultHeight"), 280);
        const QString path = writeFile(QStringLiteral("formats.htm"), "ab <B>\x8e\xb1</B> cd");
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
        QVERIFY(doc);
        choose(QStringLiteral("ReopenEncodingMenu"), QStringLiteral("Shift_JIS"));
        CMarquillView* view = viewOf(doc);
        QCOMPARE(view->textBytes(), QByteArray("ab <B>竺</B> cd"));
        for (const long at : {0L, long(view->textLength() - 1)}) {
            const long style = view->sci(QsciScintillaBase::SCI_GETSTYLEAT, at);
            QCOMPARE(view->sci(QsciScintillaBase::SCI_STYLEGETFORE, style), 0x123456L);
            QCOMPARE(view->sci(QsciScintillaBase::SCI_STYLEGETSIZEFRACTIONAL, style), 1400L);
        }
    }

    // Reopening drops unsaved changes only when the user agrees.
    void reopenAModifiedDocumentAsksFirst()
    {
        const QString path = writeFile(QStringLiteral("edited.htm"), "\x8e\xb1");
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
        QVERIFY(doc);
        typeAtEnd(doc, "typed");
        m_answer = QMessageBox::No;
        choose(QStringLiteral("ReopenEncodingMenu"), QStringLiteral("Shift_JIS"));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(doc->isModified());
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray("ｱtyped"));
        m_answer = QMessageBox::Yes;
        choose(QStringLiteral("ReopenEncodingMenu"), QStringLiteral("Shift_JIS"));
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray("竺"));
        QVERIFY(!doc->isModified());
    }

    void saveInAnotherEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QByteArray>("saved"); // empty: refused
        QTest::addColumn<QString>("named");    // in the refusal
        QTest::newRow("utf-8 as shift_jis") << QByteArray("日本") << QByteArray() << "Shift_JIS"
                                            << QByteArray("\x93\xfa\x96\x7b") << QString();
        QTest::newRow("shift_jis as utf-16")
            << QByteArray("\x93\xfa") << QByteArray("a") << "UTF-16"
            << QByteArray::fromHex("fffee5656100") << QString();
        QTest::newRow("wave dash cannot be shift_jis")
            << QByteArray("a\n") << QByteArray("〜") << "Shift_JIS" << QByteArray()
            << "「〜」(U+301C、2 行目)";
        QTest::newRow("unrecognised bytes cannot be utf-8")
            << QByteArray("ok\r\n\xff") << QByteArray() << "UTF-8" << QByteArray()
            << "0xFF (2 行目)";
        QTest::newRow("utf-8 as iso-2022-jp")
            << QByteArray("日本") << QByteArray() << "ISO-2022-JP"
            << QByteArray::fromHex("1b2442467c4b5c1b2842") << QString();
        QTest::newRow("a shift_jis page as utf-8 declares utf-8")
            << QByteArray("<meta charset=\"Shift_JIS\">\x93\xfa") << QByteArray() << "UTF-8"
            << QByteArray("<meta charset=\"UTF-8\">日") << QString();
        QTest::newRow("a declaration naming the encoding stays as written")
            << QByteArray("<?xml encoding=\"sjis\"?>日") << QByteArray() << "Shift_JIS"
            << QByteArray("<?xml encoding=\"sjis\"?>\x93\xfa") << QString();
    }

    // Saving in another encoding writes the file in it from then on; an
    // encoding that cannot hold the text is refused, naming the character.
    void saveInAnotherEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, typed);
        QFETCH(QString, chosen);
        QFETCH(QByteArray, saved);
        QFETCH(QString, named);
        const QString path = writeFile(QStringLiteral("save.htm"), bytes);
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
        QVERIFY(doc);
        const QString before = doc->encodingLabel();
        typeAtEnd(doc, typed);
        choose(QStringLiteral("SaveEncodingMenu"), chosen);
        if (saved.isEmpty()) {
            QCOMPARE(m_messages.size(), 1);
            QVERIFY2(m_messages[0].contains(named), qPrintable(m_messages[0]));
            QCOMPARE(readFile(path), bytes);
            QCOMPARE(doc->encodingLabel(), before);
        } else {
            QCOMPARE(m_messages, QStringList());
            QCOMPARE(readFile(path), saved);
            QVERIFY(!doc->isModified());
            QVERIFY(pane()->text().startsWith(chosen));
        }
    }

    void unconvertedFileAsksBeforeMixingInUtf8_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("written");
        QTest::newRow("ascii typed")
            << QByteArray("<br>") << int(QMessageBox::Cancel) << false << true;
        QTest::newRow("japanese typed, cancelled")
            << QByteArray("日本") << int(QMessageBox::Cancel) << true << false;
        QTest::newRow("japanese typed, saved as utf-8")
            << QByteArray("日本") << int(QMessageBox::Save) << true << true;
    }

    void unconvertedFileAsksBeforeMixingInUtf8()
    {
        QFETCH(QByteArray, typed);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, written);
        const QByteArray bytes("\x80\xff\xfe caf\xc3\xa9");
        const QString path = writeFile(QStringLiteral("raw.htm"), bytes);
        CMarquillDoc* doc = m_app->documentManager()->openDocumentFile(path);
        QVERIFY(doc);
        QVERIFY(doc->isUnconverted());
        typeAtEnd(doc, typed);
        m_answer = QMessageBox::StandardButton(answer);
        frame()->routeCommand(Cmd::FileSave);
        QCOMPARE(m_messages.size(), asked ? 1 : 0);
        QCOMPARE(readFile(path), written ? bytes + typed : bytes);
        QCOMPARE(doc->isModified(), !written);
    }

    // A file the editor cannot hold opens nothing and leaves the other
    // documents as they were.
    void fileTooLargeLeavesOtherDocumentsAlone()
    {
        CMarquillDoc* doc =
            m_app->documentManager()->openDocumentFile(writeFile(QStringLiteral("a.htm"), "a"));
        QVERIFY(doc);
        typeAtEnd(doc, "unsaved");
        const QString huge = m_dir.filePath(QStringLiteral("huge.htm"));
        {
            QFile f(huge);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(Q_INT64_C(100) * 1024 * 1024 * 1024));
        }
        QVERIFY(!m_app->documentManager()->openDocumentFile(huge));
        QFile::remove(huge);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(
                     huge + QStringLiteral(" を読み込めません。\nファイルが大きすぎます")),
                 qPrintable(m_messages[0]));
        QCOMPARE(m_app->documentManager()->documents(), QList<CMarquillDoc*>{doc});
        QCOMPARE(frame()->mdiArea()->subWindowList().size(), 1);
        QCOMPARE(viewOf(doc)->textBytes(), QByteArray("aunsaved"));
        QVERIFY(doc->isModified());
    }
};

MARQUILL_TEST_MAIN(TestEncodingPane)
#include "tst_encoding_pane.moc"
