#include "dialogs/customize_toolbar_dlg.h"
#include "test_support.h"

#include <QListWidget>
#include <QPushButton>

// The toolbar customise dialog, worked through its own lists and buttons.
class TestCustomizeToolbar : public QObject
{
    Q_OBJECT

    static QString ids(const QList<int>& list)
    {
        QStringList parts;
        for (int id : list)
            parts << QString::number(id);
        return parts.join(QLatin1Char(','));
    }

    // Carries out one step of a script: "a<row>" adds available row <row>
    // before the selected row, "a<row>@<at>" before row <at>; "r<at>",
    // "u<at>" and "d<at>" remove, move up and move down row <at>; "reset".
    static void step(CCustomizeToolbarDlg& dialog, const QString& token)
    {
        auto* available = dialog.findChild<QListWidget*>(QStringLiteral("availableList"));
        auto* current = dialog.findChild<QListWidget*>(QStringLiteral("currentList"));
        auto press = [&dialog](const char* name) {
            dialog.findChild<QPushButton*>(QLatin1String(name))->click();
        };
        if (token == QLatin1String("reset")) {
            press("resetButton");
            return;
        }
        const QStringList numbers = token.mid(1).split(QLatin1Char('@'));
        switch (token[0].toLatin1()) {
        case 'a':
            available->setCurrentRow(numbers[0].toInt());
            if (numbers.size() > 1)
                current->setCurrentRow(numbers[1].toInt());
            press("addButton");
            break;
        case 'r':
            current->setCurrentRow(numbers[0].toInt());
            press("removeButton");
            break;
        case 'u':
            current->setCurrentRow(numbers[0].toInt());
            press("moveUpButton");
            break;
        case 'd':
            current->setCurrentRow(numbers[0].toInt());
            press("moveDownButton");
            break;
        }
    }

private Q_SLOTS:
    void operationsChangeTheList_data()
    {
        // The toolbar holds new, a separator and open; save (57603) is the
        // first button on offer after the separator.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("nothing") << ""
                                 << "57600,0,57601";
        QTest::newRow("add before the first") << "a1@0"
                                              << "57603,57600,0,57601";
        QTest::newRow("add on the empty last row") << "a1@3"
                                                   << "57600,0,57601,57603";
        QTest::newRow("add a separator") << "a0@1"
                                         << "57600,0,0,57601";
        QTest::newRow("two adds keep their order") << "a1@1 a1"
                                                   << "57600,57603,32923,0,57601";
        QTest::newRow("remove a button") << "r0"
                                         << "0,57601";
        QTest::newRow("a removed button is on offer again") << "r0 a1@2"
                                                            << "0,57601,57600";
        QTest::newRow("the empty last row stays") << "r3"
                                                  << "57600,0,57601";
        QTest::newRow("move up") << "u2"
                                 << "57600,57601,0";
        QTest::newRow("the first cannot move up") << "u0"
                                                  << "57600,0,57601";
        QTest::newRow("move down") << "d0"
                                   << "0,57600,57601";
        QTest::newRow("the last cannot move down") << "d2"
                                                   << "57600,0,57601";
        QTest::newRow("reset") << "a1@0 r2 reset"
                               << "35005,0,35006";
    }

    void operationsChangeTheList()
    {
        QFETCH(QString, script);
        QFETCH(QString, buttons);
        CCustomizeToolbarDlg dialog(QStringLiteral("標準ツールバーの変更"), {57600, 0, 57601},
                                    {35005, 0, 35006});
        for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            step(dialog, token);
        QCOMPARE(ids(dialog.buttons()), buttons);
    }
};

MARQUILL_TEST_MAIN(TestCustomizeToolbar)
#include "tst_customize_toolbar.moc"
