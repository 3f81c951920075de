// The view commands 37001, 37003 and 37004 end to end: routed to a real
// view, the dialog answered through the dialog seam, the result inserted.

#include "test_support.h"

#include "commands/command_modules.h"
#include "core/command_target.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/image_dlg.h"
#include "dialogs/list_dlg.h"
#include "dialogs/table_dlg.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"
#include "widgets/spin_edit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>

namespace {

void pressOk(QDialog& dlg)
{
    dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestImageListTableCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CommandModules::install(); }
    void init();
    void cleanup();
    void imageGetsTheDocumentFolder();
    void imageInUntitledDocument();
    void listTakesTheSelection();
    void listKeepsRawBytes();
    void numberingSurvivesLowerCaseTags();
    void tableInsertsAtTheCaret();
    void cancelLeavesTheText();

private:
    // Opens a document on path (empty: untitled) holding text.
    void open(const QString& path, const QByteArray& text);
    bool run(int id) { return CommandRouting::execute({m_view.get()}, id); }

    QTemporaryDir m_dir;
    std::unique_ptr<CMarquillDoc> m_doc;
    std::unique_ptr<CMarquillView> m_view;
};

void TestImageListTableCommands::init()
{
    TestSupport::clearSettings();
    writeProfileInt(QStringLiteral("Options"), QStringLiteral("SmallLetter"), 0);
    writeProfileInt(QStringLiteral("Options"), QStringLiteral("StringSelect"), 0);
    writeProfileInt(QStringLiteral("Options"), QStringLiteral("AutoColor"), 0);
}

void TestImageListTableCommands::cleanup()
{
    UiSeam::setDialogHook({});
    m_view.reset();
    m_doc.reset();
}

void TestImageListTableCommands::open(const QString& path, const QByteArray& text)
{
    m_doc = std::make_unique<CMarquillDoc>();
    m_view = std::make_unique<CMarquillView>();
    m_doc->setView(m_view.get());
    if (path.isEmpty()) {
        m_view->loadBytes(text);
        return;
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    QString error;
    QVERIFY2(m_doc->onOpenDocument(path, &error), qPrintable(error));
}

void TestImageListTableCommands::imageGetsTheDocumentFolder()
{
    open(m_dir.filePath(QStringLiteral("index.htm")), "<P>x</P>\r\n");
    m_view->setSel(3, 4);
    QString folder;
    UiSeam::setDialogHook([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CImageDlg*>(&dialog);
        if (!dlg)
            return int(QDialog::Rejected);
        folder = dlg->documentFolder();
        dlg->findChild<QComboBox*>(QStringLiteral("source"))->setEditText("a.gif");
        pressOk(*dlg);
        return dlg->result();
    });
    QVERIFY(run(Cmd::Image));
    QCOMPARE(folder, m_dir.path() + QLatin1Char('/'));
    QCOMPARE(m_view->textBytes(), QByteArray("<P><IMG SRC=\"a.gif\"></P>\r\n"));
}

void TestImageListTableCommands::imageInUntitledDocument()
{
    open(QString(), QByteArray());
    QString folder = QStringLiteral("unset");
    UiSeam::setDialogHook([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CImageDlg*>(&dialog);
        if (!dlg)
            return int(QDialog::Rejected);
        folder = dlg->documentFolder();
        dlg->findChild<QComboBox*>(QStringLiteral("source"))->setEditText("画像.jpg");
        pressOk(*dlg);
        return dlg->result();
    });
    QVERIFY(run(Cmd::Image));
    QCOMPARE(folder, QString());
    QCOMPARE(m_view->textBytes(), QStringLiteral("<IMG SRC=\"画像.jpg\">").toUtf8());
}

void TestImageListTableCommands::listTakesTheSelection()
{
    open(QString(), "before\r\nりんご\r\n\r\nみかん\r\nafter");
    m_view->setSel(8, 8 + QByteArray("りんご\r\n\r\nみかん\r\n").size());
    QString items;
    UiSeam::setDialogHook([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CListDlg*>(&dialog);
        if (!dlg)
            return int(QDialog::Rejected);
        items = dlg->items();
        pressOk(*dlg);
        return dlg->result();
    });
    QVERIFY(run(Cmd::List));
    QCOMPARE(items.split(QLatin1Char('\n')).mid(0, 3),
             (QStringList{QStringLiteral("りんご"), QString(), QStringLiteral("みかん")}));
    QCOMPARE(
        m_view->textBytes(),
        QStringLiteral("before\r\n<UL TYPE=circle>\r\n<LI>りんご\r\n<LI>みかん\r\n</UL>\r\nafter")
            .toUtf8());
}

// A file kept as raw bytes (not UTF-8): the selected bytes come back as they
// were inside the list.
void TestImageListTableCommands::listKeepsRawBytes()
{
    const QByteArray raw("\x82\xa0\xff\r\nz\x80");
    open(QString(), raw);
    m_view->setSel(0, raw.size());
    UiSeam::setDialogHook([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CListDlg*>(&dialog);
        if (!dlg)
            return int(QDialog::Rejected);
        pressOk(*dlg);
        return dlg->result();
    });
    QVERIFY(run(Cmd::List));
    QCOMPARE(m_view->textBytes(),
             QByteArray("<UL TYPE=circle>\r\n<LI>\x82\xa0\xff\r\n<LI>z\x80\r\n</UL>\r\n"));
}

// With "SmallLetter" on, tags are lowered on insertion; the upper-case
// numberings I and A must still come out as such.
void TestImageListTableCommands::numberingSurvivesLowerCaseTags()
{
    writeProfileInt(QStringLiteral("Options"), QStringLiteral("SmallLetter"), 1);
    for (const char* numbering : {"numbering1", "numbering3"}) {
        open(QString(), "x");
        m_view->setSel(0, 1);
        UiSeam::setDialogHook([&](QDialog& dialog) {
            auto* dlg = qobject_cast<CListDlg*>(&dialog);
            if (!dlg)
                return int(QDialog::Rejected);
            dlg->findChild<QAbstractButton*>(QStringLiteral("kind1"))->click();
            dlg->findChild<QAbstractButton*>(QLatin1String(numbering))->click();
            pressOk(*dlg);
            return dlg->result();
        });
        QVERIFY(run(Cmd::List));
        const QByteArray type = numbering == QByteArray("numbering1") ? "I" : "A";
        QCOMPARE(m_view->textBytes(), "<ol type=\"" + type + "\">\r\n<li>x\r\n</ol>\r\n");
    }
}

void TestImageListTableCommands::tableInsertsAtTheCaret()
{
    open(QString(), "ab");
    m_view->setSel(1, 1);
    UiSeam::setDialogHook([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CTableDlg*>(&dialog);
        if (!dlg)
            return int(QDialog::Rejected);
        dlg->findChild<CSpinEdit*>(QStringLiteral("rows"))->setText(QStringLiteral("1"));
        pressOk(*dlg);
        return dlg->result();
    });
    QVERIFY(run(Cmd::Table));
    QCOMPARE(m_view->textBytes(),
             QByteArray("a<TABLE ALIGN=CENTER>\r\n<TR><TD></TD><TD></TD><TD></TD></TR>\r\n"
                        "</TABLE>\r\nb"));
}

void TestImageListTableCommands::cancelLeavesTheText()
{
    open(QString(), "keep");
    m_view->setSel(0, 4);
    int shown = 0;
    UiSeam::setDialogHook([&](QDialog& dialog) {
        ++shown;
        dialog.reject();
        return int(QDialog::Rejected);
    });
    for (int id : {Cmd::Image, Cmd::List, Cmd::Table})
        QVERIFY(run(id));
    QCOMPARE(shown, 3);
    QCOMPARE(m_view->textBytes(), QByteArray("keep"));
    QVERIFY(!m_doc->isModified());
}

MARQUILL_TEST_MAIN(TestImageListTableCommands)
#include "tst_image_list_table_commands.moc"
