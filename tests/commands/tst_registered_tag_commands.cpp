// Registered-tag insertion routed to a real view: the texts a record gives,
// the value prompt between the halves of its start tag, and the prompt's
// Cancel.

#include "test_support.h"

#include "commands/command_modules.h"
#include "core/settings_store.h"
#include "core/slot_records.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

#include <QLineEdit>

class TestRegisteredTagCommands : public QObject
{
    Q_OBJECT

    struct Document
    {
        CMarquillDoc doc;
        CMarquillView* view = new CMarquillView;
        Document() { doc.setView(view); }
        ~Document() { delete view; }
    };

    static void store(const QList<RegisteredTagRecord>& tags)
    {
        SlotRecords::Slots<RegisteredTagRecord> all;
        for (int i = 0; i < tags.size(); ++i)
            all[i] = tags[i];
        SlotRecords::writeRegisteredTags(all);
    }

private Q_SLOTS:
    void initTestCase() { CommandModules::install(); }
    void init()
    {
        TestSupport::clearSettings();
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("AutoColor"), 0);
    }
    void cleanup() { UiSeam::setDialogHook({}); }

    void insertion_data()
    {
        QTest::addColumn<QStringList>("tag"); // display, first half, second half, end tag
        QTest::addColumn<int>("smallLetter");
        QTest::addColumn<QString>("value"); // typed into the prompt; null: Cancel
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("slot");

        QTest::newRow("start and end tag, no prompt")
            << QStringList{"Bold", "<B>", "", "</B>"} << 0 << QString() << QStringList{}
            << QByteArray("go <B>index</B> now") << 1;
        QTest::newRow("value between the halves")
            << QStringList{"文字色", "<FONT COLOR=\"", "\">", "</FONT>"} << 0 << "red"
            << QStringList{"文字色"} << QByteArray("go <FONT COLOR=\"red\">index</FONT> now") << 1;
        QTest::newRow("prompt cancelled")
            << QStringList{"文字色", "<FONT COLOR=\"", "\">", "</FONT>"} << 0 << QString()
            << QStringList{"文字色"} << QByteArray("go index now") << 1;
        QTest::newRow("empty value still completes the tag")
            << QStringList{"幅", "<TD WIDTH=", ">", "</TD>"} << 0 << "" << QStringList{"幅"}
            << QByteArray("go <TD WIDTH=>index</TD> now") << 1;
        QTest::newRow("lowered, the quoted value kept")
            << QStringList{"Face", "<FONT FACE=\"", "\" CLASS=X>", "</FONT>"} << 1 << "Arial"
            << QStringList{"Face"} << QByteArray("go <font face=\"Arial\" class=x>index</font> now")
            << 1;
        QTest::newRow("empty texts wrap with nothing")
            << QStringList{"Nothing", "", "", ""} << 0 << QString() << QStringList{}
            << QByteArray("go index now") << 1;
        QTest::newRow("the last slot, Ctrl+9")
            << QStringList{"Bold", "<B>", "", "</B>"} << 0 << QString() << QStringList{}
            << QByteArray("go <B>index</B> now") << 9;
    }

    void insertion()
    {
        QFETCH(QStringList, tag);
        QFETCH(int, smallLetter);
        QFETCH(QString, value);
        QFETCH(QStringList, prompts);
        QFETCH(QByteArray, text);
        QFETCH(int, slot);
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("SmallLetter"), smallLetter);
        QList<RegisteredTagRecord> tags(slot, {QStringLiteral("other"), "<I>", "", "</I>"});
        store(tags << RegisteredTagRecord{tag[0], tag[1], tag[2], tag[3]});
        QStringList shown;
        UiSeam::setDialogHook([&](QDialog& prompt) {
            shown << prompt.windowTitle();
            if (value.isNull())
                return int(QDialog::Rejected);
            prompt.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->setText(value);
            return int(QDialog::Accepted);
        });

        Document d;
        d.view->loadBytes("go index now");
        d.view->setSel(3, 8);
        QVERIFY(d.view->executeCommand(Cmd::RegisteredTag0 + slot));
        QCOMPARE(shown, prompts);
        QCOMPARE(d.view->textBytes(), text);
        // Inserted or not, the word stays selected.
        QCOMPARE(d.view->selectedBytes(), QByteArray("index"));
    }

    // A slot with no tag (Ctrl+5 with three tags) changes nothing at all:
    // not the text, its modified state, its undo history or what re-insert
    // would repeat.
    void freeSlotChangesNothing()
    {
        store({{"a", "<A>", "", "</A>"}, {"b", "<B>", "", "</B>"}, {"c", "<C>", "", "</C>"}});
        Document d;
        d.view->loadBytes("go index now");
        d.view->setSel(3, 8);
        QTest::keyClicks(d.view, QStringLiteral("word"));
        d.doc.setModifiedFlag(false);
        QVERIFY(d.view->executeCommand(Cmd::RegisteredTag0 + 5));
        QCOMPARE(std::make_tuple(d.view->textBytes(), d.doc.isModified(), d.view->canUndoEdit(),
                                 d.view->lastStartText()),
                 std::make_tuple(QByteArray("go word now"), false, true, QByteArray()));
    }
};

MARQUILL_TEST_MAIN(TestRegisteredTagCommands)
#include "tst_registered_tag_commands.moc"
