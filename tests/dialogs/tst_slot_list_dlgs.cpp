// The registered-tag and tool list dialogs driven through their buttons, the
// edit dialogs answered through the dialog seam: the list they show, the
// buttons they enable, and what they store (OK) or leave stored (Cancel).

#include "test_support.h"

#include "core/slot_records.h"
#include "core/ui_seam.h"
#include "dialogs/reg_tag_dlgs.h"
#include "dialogs/tool_dlgs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

template <typename T = QWidget> T* child(QObject& parent, const QString& name)
{
    auto* found = parent.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Every field derived from a name, so that each field's moves can be followed.
// A tool is "name" or "name:mode:show code".
RegisteredTagRecord tagNamed(const QString& name)
{
    if (name.isEmpty())
        return {};
    return {name, "<" + name + ">", name + "=", "</" + name + ">"};
}

ToolRecord toolNamed(const QString& fields)
{
    ToolRecord tool;
    const QStringList parts = fields.split(QLatin1Char(':'));
    if (fields.isEmpty())
        return tool;
    tool.view = parts[0];
    tool.path = "/opt/" + parts[0] + "/run";
    tool.folder = "/tmp/" + parts[0];
    if (parts.size() == 3) {
        tool.cmdType = parts[1].toInt();
        tool.cmdShow = parts[2].toInt();
    }
    return tool;
}

void fillTag(QDialog& edit, const QString& name)
{
    const RegisteredTagRecord tag = tagNamed(name);
    child<QLineEdit>(edit, "viewEdit")->setText(tag.view);
    child<QLineEdit>(edit, "beforeEdit")->setText(tag.before);
    child<QLineEdit>(edit, "middleEdit")->setText(tag.middle);
    child<QLineEdit>(edit, "afterEdit")->setText(tag.after);
}

void fillTool(QDialog& edit, const QString& fields)
{
    const ToolRecord tool = toolNamed(fields);
    child<QLineEdit>(edit, "viewEdit")->setText(tool.view);
    child<QLineEdit>(edit, "pathEdit")->setText(tool.path);
    child<QLineEdit>(edit, "folderEdit")->setText(tool.folder);
    if (fields.count(QLatin1Char(':')) == 2) {
        const char* modes[] = {"noArgumentButton", "fileArgumentButton", "selectionArgumentButton"};
        child<QRadioButton>(edit, modes[tool.cmdType])->click();
        child<QComboBox>(edit, "sizeCombo")
            ->setCurrentIndex(SlotRecords::sizeIndexFromShowCode(tool.cmdShow));
    }
}

// Carries out the operations: "sel:N", "del", "up", "down", "new:X" and
// "chg:X" (the edit dialog filled in from X and accepted), "new-" and "chg-"
// (the edit dialog cancelled).
void operate(QDialog& dialog, const QStringList& operations, void (*fill)(QDialog&, const QString&))
{
    const QHash<QString, QString> buttons = {{"del", "deleteButton"},
                                             {"up", "upButton"},
                                             {"down", "downButton"},
                                             {"new", "newButton"},
                                             {"chg", "changeButton"}};
    for (const QString& op : operations) {
        const QString verb = op.section(QLatin1Char(':'), 0, 0).remove(QLatin1Char('-'));
        const QString argument = op.section(QLatin1Char(':'), 1);
        if (verb == QLatin1String("sel")) {
            child<QListWidget>(dialog, "slotList")->setCurrentRow(argument.toInt());
            continue;
        }
        UiSeam::setDialogHook([&](QDialog& edit) {
            if (op.endsWith(QLatin1Char('-')))
                return int(QDialog::Rejected);
            fill(edit, argument);
            edit.accept();
            return edit.result();
        });
        child<QPushButton>(dialog, buttons[verb])->click();
    }
}

// The buttons' state: R new, C change, D delete, T up, B down; '-' disabled.
QString buttonState(QDialog& dialog)
{
    QString state;
    for (const char* b :
         {"newButton:R", "changeButton:C", "deleteButton:D", "upButton:T", "downButton:B"}) {
        const QString name = QString::fromLatin1(b).section(QLatin1Char(':'), 0, 0);
        state += child(dialog, name)->isEnabled() ? QString::fromLatin1(b).right(1)
                                                  : QStringLiteral("-");
    }
    return state;
}

QStringList shownLines(QDialog& dialog)
{
    QStringList lines;
    auto* list = child<QListWidget>(dialog, "slotList");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

int selectedLine(QDialog& dialog)
{
    auto* list = child<QListWidget>(dialog, "slotList");
    return list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().first());
}

template <typename Record>
SlotRecords::Slots<Record> slotsOf(const QStringList& names, Record (*named)(const QString&))
{
    SlotRecords::Slots<Record> records;
    for (int i = 0; i < names.size(); ++i)
        records[i] = named(names[i]);
    return records;
}

void addColumns()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("lines"); // the records behind the lines, slot by slot
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("buttons");
}

// Runs one row on a list dialog: shows the lines, selection and buttons the
// row expects, and on OK stores exactly the records behind the lines; on
// Cancel the stored slots stay as they were.
template <typename Dialog, typename Record>
void runListRow(SlotRecords::Slots<Record> (*read)(),
                void (*write)(const SlotRecords::Slots<Record>&), Record (*named)(const QString&),
                void (*fill)(QDialog&, const QString&))
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, operations);
    QFETCH(bool, ok);
    QFETCH(QStringList, lines);
    QFETCH(int, selected);
    QFETCH(QString, buttons);
    write(slotsOf(stored, named));
    const SlotRecords::Slots<Record> before = read();

    Dialog dialog;
    operate(dialog, operations, fill);
    QStringList names;
    for (const QString& line : lines)
        names << line.section(QLatin1Char(':'), 0, 0);
    QCOMPARE(shownLines(dialog), names);
    QCOMPARE(selectedLine(dialog), selected);
    QCOMPARE(buttonState(dialog), buttons);
    dialog.template findChild<QDialogButtonBox*>()
        ->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
        ->click();
    QVERIFY(read() == (ok ? slotsOf(lines, named) : before));
}

const QStringList kTen = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

} // namespace

class TestSlotListDlgs : public QObject
{
    Q_OBJECT

    QStringList m_messages;

private Q_SLOTS:
    void init()
    {
        TestSupport::clearSettings();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
                m_messages << text;
                return QMessageBox::Ok;
            });
    }
    void cleanup()
    {
        m_messages.clear();
        UiSeam::setDialogHook({});
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
    }

    void registeredTagList_data()
    {
        using L = QStringList;
        addColumns();
        QTest::newRow("nothing stored") << L{} << L{} << true << L{} << -1 << "R----";
        QTest::newRow("new goes last and is selected")
            << L{"A", "B"} << L{"new:C"} << true << L{"A", "B", "C"} << 2 << "RCDT-";
        QTest::newRow("new cancelled") << L{"A"} << L{"new-"} << true << L{"A"} << -1 << "R----";
        QTest::newRow("ten: no new, nothing selected")
            << kTen << L{} << true << kTen << -1 << "-----";
        QTest::newRow("deleting one of ten allows new")
            << kTen << L{"sel:3", "del"} << true << L{"A", "B", "C", "E", "F", "G", "H", "I", "J"}
            << 3 << "RCDTB";
        QTest::newRow("deleting the last line selects the new last")
            << L{"A", "B", "C"} << L{"sel:2", "del"} << true << L{"A", "B"} << 1 << "RCDT-";
        QTest::newRow("deleting the only line")
            << L{"A"} << L{"sel:0", "del"} << true << L{} << -1 << "R----";
        QTest::newRow("up to the first line")
            << L{"A", "B", "C"} << L{"sel:1", "up"} << true << L{"B", "A", "C"} << 0 << "RCD-B";
        QTest::newRow("down to the last line")
            << L{"A", "B", "C"} << L{"sel:1", "down"} << true << L{"A", "C", "B"} << 2 << "RCDT-";
        QTest::newRow("change") << L{"A", "B"} << L{"sel:1", "chg:Z"} << true << L{"A", "Z"} << 1
                                << "RCDT-";
        QTest::newRow("change cancelled")
            << L{"A", "B"} << L{"sel:0", "chg-"} << true << L{"A", "B"} << 0 << "RCD-B";
        QTest::newRow("a gap in the stored slots is closed")
            << L{"A", "", "C"} << L{"sel:1", "up"} << true << L{"C", "A"} << 0 << "RCD-B";
        QTest::newRow("cancel keeps what is stored")
            << L{"A", "B"} << L{"sel:0", "del", "new:X", "sel:0", "down"} << false << L{"X", "B"}
            << 1 << "RCDT-";
        const QString odd = " a&b \"q\" ;#=\\ $(x) `y` 日本 ";
        QTest::newRow("text kept exactly")
            << L{} << L{"new:" + odd} << true << L{odd} << 0 << "RCD--";
    }

    void registeredTagList()
    {
        runListRow<CRegTagListDlg>(&SlotRecords::readRegisteredTags,
                                   &SlotRecords::writeRegisteredTags, &tagNamed, &fillTag);
    }

    void toolList_data()
    {
        using L = QStringList;
        addColumns();
        QTest::newRow("new tool: no argument, normal window")
            << L{} << L{"new:A"} << true << L{"A:0:5"} << 0 << "RCD--";
        QTest::newRow("argument modes and sizes")
            << L{} << L{"new:A:2:2", "new:B:1:3"} << true << L{"A:2:2", "B:1:3"} << 1 << "RCDT-";
        QTest::newRow("delete moves all five fields")
            << L{"A:1:3", "B:2:2", "C"} << L{"sel:0", "del"} << true << L{"B:2:2", "C"} << 0
            << "RCD-B";
        QTest::newRow("up moves all five fields") << L{"A:1:3", "B:2:2"} << L{"sel:1", "up"} << true
                                                  << L{"B:2:2", "A:1:3"} << 0 << "RCD-B";
        QTest::newRow("change keeps mode and size as shown")
            << L{"A:2:2"} << L{"sel:0", "chg:Z"} << true << L{"Z:2:2"} << 0 << "RCD--";
        QTest::newRow("unknown show code: normal once changed, kept otherwise")
            << L{"A:0:7", "B:0:7"} << L{"sel:0", "chg:A"} << true << L{"A:0:5", "B:0:7"} << 0
            << "RCD-B";
        QTest::newRow("ten: no new") << kTen << L{"sel:9"} << true << kTen << 9 << "-CDT-";
        QTest::newRow("cancel keeps what is stored") << L{"A"} << L{"sel:0", "chg:Z:1:2", "new:Y"}
                                                     << false << L{"Z:1:2", "Y"} << 1 << "RCDT-";
    }

    void toolList()
    {
        runListRow<CToolListDlg>(&SlotRecords::readTools, &SlotRecords::writeTools, &toolNamed,
                                 &fillTool);
    }

    // A name left empty would drop the entry from every menu: the edit
    // dialogs refuse OK without one, say why and stay open.
    void emptyNameRefused_data()
    {
        QTest::addColumn<bool>("tool");
        QTest::addColumn<QString>("message");
        QTest::newRow("registered tag") << false << "表示を入力して下さい。";
        QTest::newRow("tool") << true << "メニュー表示を入力して下さい。";
    }

    void emptyNameRefused()
    {
        QFETCH(bool, tool);
        QFETCH(QString, message);
        std::unique_ptr<QDialog> edit;
        if (tool)
            edit = std::make_unique<CToolEditDlg>();
        else
            edit = std::make_unique<CRegTagEditDlg>();
        edit->open();
        edit->accept();
        QCOMPARE(std::make_pair(edit->isVisible(), m_messages),
                 std::make_pair(true, QStringList{message}));
    }

    // The browse buttons put the chosen path in and keep the other fields.
    void toolBrowse_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("fields"); // menu text|path|folder afterwards
        QTest::newRow("program") << "pathBrowseButton"
                                 << "/usr/my tools/run"
                                 << "T|/usr/my tools/run|/work/typed";
        QTest::newRow("program, cancelled") << "pathBrowseButton"
                                            << ""
                                            << "T|typed path|/work/typed";
        QTest::newRow("folder") << "folderBrowseButton"
                                << "/home/u/a b"
                                << "T|typed path|/home/u/a b";
    }

    void toolBrowse()
    {
        QFETCH(QString, button);
        QFETCH(QString, chosen);
        QFETCH(QString, fields);
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest&) { return chosen; });
        CToolEditDlg edit;
        edit.setRecord(toolNamed("T"));
        child<QLineEdit>(edit, "pathEdit")->setText("typed path");
        child<QLineEdit>(edit, "folderEdit")->setText("/work/typed");
        child<QPushButton>(edit, button)->click();
        const ToolRecord result = edit.record();
        QCOMPARE(QStringList({result.view, result.path, result.folder}).join('|'), fields);
    }
};

MARQUILL_TEST_MAIN(TestSlotListDlgs)
#include "tst_slot_list_dlgs.moc"
