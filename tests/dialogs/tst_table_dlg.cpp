// The table dialog driven through its controls: the table it builds, the
// grid following the counts and header boxes, the cell editor laid over the
// clicked cell, the integer check and the placement pictures.

#include "test_support.h"

#include "core/ui_seam.h"
#include "dialogs/html/sample_pictures.h"
#include "dialogs/table_dlg.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>

namespace {

template <typename T> T* child(QDialog& dlg, const QString& name)
{
    T* w = dlg.findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

void pressOk(QDialog& dlg)
{
    dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

// Clicks a cell of the grid as the user would, then types text into the box
// laid over it.
void typeIntoCell(CTableDlg& dlg, int row, int column, const QString& text)
{
    QTableWidget* grid = dlg.grid();
    grid->scrollTo(grid->model()->index(row, column));
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    dlg.cellEditor()->selectAll();
    dlg.cellEditor()->insert(text);
}

const QString kEmptyRow = QStringLiteral("<TR><TD></TD><TD></TD><TD></TD></TR>\r\n");

} // namespace

class TestTableDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void defaults();
    void result_data();
    void result();
    void headersStyleTheGrid();
    void countsResizeTheGrid();
    void cellEditorLandsOnTheClickedCell();
    void tabMovesTheCellEditor();
    void typingFollowsTabIntoHiddenColumns_data();
    void typingFollowsTabIntoHiddenColumns();
    void typingInTheGridEditsTheCurrentCell_data();
    void typingInTheGridEditsTheCurrentCell();
    void partlyHiddenCellIsEditedInSight();
    void countTypedDigitByDigitKeepsTheCells();
    void scrollingHidesTheCellEditor();
    void nonIntegerCountIsRefused();
    void countsOutOfRangeAreBounded();
    void placementPictures();

private:
    QStringList m_messages;
};

void TestTableDlg::init()
{
    m_messages.clear();
    UiSeam::setMessageHook([this](const QString& text, QMessageBox::Icon, auto) {
        m_messages.append(text);
        return QMessageBox::Ok;
    });
}

void TestTableDlg::cleanup()
{
    UiSeam::setMessageHook({});
}

void TestTableDlg::defaults()
{
    CTableDlg dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("表の作成"));
    QCOMPARE(child<CSpinEdit>(dlg, "rows")->text(), QStringLiteral("3"));
    QCOMPARE(child<CSpinEdit>(dlg, "columns")->text(), QStringLiteral("3"));
    QCOMPARE(child<CSpinEdit>(dlg, "rows")->maximum(), 999);
    QCOMPARE(child<CSpinEdit>(dlg, "border")->maximum(), 99);
    QCOMPARE(dlg.grid()->rowCount(), 3);
    QCOMPARE(dlg.grid()->columnCount(), 3);
    QVERIFY(child<QRadioButton>(dlg, "placement0")->isChecked());
    QVERIFY(!dlg.cellEditor()->isVisibleTo(&dlg));
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.focusWidget(), child<QLineEdit>(dlg, "caption"));
    pressOk(dlg);
    QCOMPARE(dlg.resultText(),
             "<TABLE ALIGN=CENTER>\r\n" + kEmptyRow + kEmptyRow + kEmptyRow + "</TABLE>\r\n");
    QCOMPARE(m_messages, QStringList());
}

void TestTableDlg::result_data()
{
    QTest::addColumn<QStringList>("settings"); // caption, rows, columns, border, spacing
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("both headers")
        << QStringList{"", "3", "3", "", ""} << QStringList{"headerRow", "headerColumn"}
        << "<TABLE ALIGN=CENTER>\r\n<TR><TH>a</TH><TH></TH><TH></TH></TR>\r\n"
           "<TR><TH></TH><TD>e</TD><TD></TD></TR>\r\n<TR><TH></TH><TD></TD><TD>i</TD></TR>\r\n"
           "</TABLE>\r\n";
    QTest::newRow("caption, border 1, spacing 0, flow right")
        << QStringList{"売上", "1", "1", "1", "0"} << QStringList{"placement1"}
        << "<TABLE BORDER=1 CELLSPACING=0 ALIGN=LEFT>\r\n<CAPTION>売上</CAPTION>\r\n"
           "<TR><TD>a</TD></TR>\r\n</TABLE>\r\n";
    QTest::newRow("three columns reduced to two, flow left")
        << QStringList{"", "2", "2", "", ""} << QStringList{"placement2"}
        << "<TABLE ALIGN=RIGHT>\r\n<TR><TD>a</TD><TD></TD></TR>\r\n"
           "<TR><TD></TD><TD>e</TD></TR>\r\n</TABLE>\r\n";
    QTest::newRow("header row switched on and off again")
        << QStringList{"", "1", "2", "", ""} << QStringList{"headerRow", "headerRow"}
        << "<TABLE ALIGN=CENTER>\r\n<TR><TD>a</TD><TD></TD></TR>\r\n</TABLE>\r\n";
}

// The cells on the diagonal of the 3 by 3 grid are typed first (a, e, i),
// then the settings are made, the caption last, just before OK.
void TestTableDlg::result()
{
    QFETCH(QStringList, settings);
    QFETCH(QStringList, clicks);
    QFETCH(QString, expected);
    CTableDlg dlg;
    typeIntoCell(dlg, 0, 0, QStringLiteral("a"));
    typeIntoCell(dlg, 1, 1, QStringLiteral("e"));
    typeIntoCell(dlg, 2, 2, QStringLiteral("i"));
    child<CSpinEdit>(dlg, "rows")->setText(settings[1]);
    child<CSpinEdit>(dlg, "columns")->setText(settings[2]);
    child<CSpinEdit>(dlg, "border")->setText(settings[3]);
    child<CSpinEdit>(dlg, "cellSpacing")->setText(settings[4]);
    for (const QString& name : clicks)
        child<QAbstractButton>(dlg, name)->click();
    child<QLineEdit>(dlg, "caption")->setText(settings[0]);
    pressOk(dlg);
    QCOMPARE(dlg.resultText(), expected);
    QCOMPARE(m_messages, QStringList());
}

void TestTableDlg::headersStyleTheGrid()
{
    CTableDlg dlg;
    typeIntoCell(dlg, 1, 1, QStringLiteral("x"));
    auto isHeader = [&](int row, int column) {
        const QTableWidgetItem* item = dlg.grid()->item(row, column);
        return item && item->font().bold() &&
               item->background().color() == dlg.palette().button().color();
    };
    child<QCheckBox>(dlg, "headerRow")->click();
    for (int c = 0; c < 3; ++c)
        QVERIFY(isHeader(0, c));
    QVERIFY(!isHeader(1, 0));
    QVERIFY(!isHeader(1, 1));
    child<QCheckBox>(dlg, "headerColumn")->click();
    QVERIFY(isHeader(1, 0) && isHeader(2, 0));
    // Rows and columns added later take the header look where it applies.
    child<CSpinEdit>(dlg, "rows")->setText(QStringLiteral("4"));
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("5"));
    QVERIFY(isHeader(3, 0));
    QVERIFY(isHeader(0, 4));
    QVERIFY(!isHeader(3, 4));
    child<QCheckBox>(dlg, "headerRow")->click();
    QVERIFY(!isHeader(0, 2));
    QVERIFY(isHeader(0, 0));
    QCOMPARE(dlg.grid()->item(1, 1)->text(), QStringLiteral("x"));
}

void TestTableDlg::countsResizeTheGrid()
{
    CTableDlg dlg;
    typeIntoCell(dlg, 2, 2, QStringLiteral("last"));
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("2"));
    QCOMPARE(dlg.grid()->columnCount(), 2);
    QVERIFY(!dlg.cellEditor()->isVisibleTo(&dlg));
    child<CSpinEdit>(dlg, "rows")->setText(QStringLiteral("7"));
    QCOMPARE(dlg.grid()->rowCount(), 7);
    child<CSpinEdit>(dlg, "rows")->stepBy(1);
    QCOMPARE(child<CSpinEdit>(dlg, "rows")->text(), QStringLiteral("8"));
    QCOMPARE(dlg.grid()->rowCount(), 8);
    pressOk(dlg);
    QVERIFY(!dlg.resultText().contains(QStringLiteral("last")));
    QCOMPARE(dlg.resultText().count(QStringLiteral("<TR>")), 8);
}

void TestTableDlg::cellEditorLandsOnTheClickedCell()
{
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTableWidget* grid = dlg.grid();
    QLineEdit* editor = dlg.cellEditor();
    typeIntoCell(dlg, 1, 2, QStringLiteral("右の列"));
    for (const auto& [row, column] : {std::pair{1, 2}, std::pair{0, 0}, std::pair{2, 1}}) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->parentWidget(), grid->viewport());
        QVERIFY(cell.contains(editor->geometry()));
        QVERIFY(editor->width() >= cell.width() - 2 && editor->height() >= cell.height() - 2);
        QTRY_COMPARE(QApplication::focusWidget(), editor);
        if (row == 1) {
            QCOMPARE(editor->text(), QStringLiteral("右の列"));
            QCOMPARE(editor->selectedText(), QStringLiteral("右の列"));
        }
    }
    // F2 opens the editor on the current cell, as a click would.
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QTRY_COMPARE(QApplication::focusWidget(), editor);
    QVERIFY(grid->visualRect(grid->model()->index(0, 1)).contains(editor->geometry()));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 1)).center());

    // Typing goes into the clicked cell at every keystroke.
    QTest::keyClicks(editor, "ab");
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("ab"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("a"));
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("右の列"));
    dlg.reject();
}

// Tab in the edit box makes the next cell current; typing then goes into that
// cell, not into the one left behind.
void TestTableDlg::tabMovesTheCellEditor()
{
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTableWidget* grid = dlg.grid();
    QLineEdit* editor = dlg.cellEditor();
    typeIntoCell(dlg, 0, 0, QStringLiteral("Name"));
    QTRY_COMPARE(QApplication::focusWidget(), editor);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(grid->currentRow(), 0);
    QCOMPARE(grid->currentColumn(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), editor);
    QVERIFY(grid->visualRect(grid->model()->index(0, 1)).contains(editor->geometry()));
    QTest::keyClicks(editor, "Price");
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Name"));
    QVERIFY(grid->item(0, 1));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Price"));
    dlg.reject();
}

// Keys typed from the first cell, Tab and Backtab (written "\t" and "\b")
// moving on: each text lands in the cell the grid shows as current, also
// in columns that were scrolled out of sight.
void TestTableDlg::typingFollowsTabIntoHiddenColumns_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("cells"); // row by row, joined by "|"
    QTest::newRow("four columns") << 4 << "A\tB\tC\tD\tE" << QStringList{"A|B|C|D", "E|||", "|||"};
    QTest::newRow("eight columns") << 8 << "A\tB\tC\tD\tE\tF\tG\tH\tI"
                                   << QStringList{"A|B|C|D|E|F|G|H", "I|||||||", "|||||||"};
    QTest::newRow("back into a hidden column")
        << 5 << "A\tB\tC\tD\tE\b\b\bX" << QStringList{"A|X|C|D|E", "||||", "||||"};
    QTest::newRow("back over the row start")
        << 4 << "A\tB\tC\tD\tE\b\bY" << QStringList{"A|B|Y|D", "E|||", "|||"};
    QTest::newRow("past the last cell the focus leaves the grid")
        << 2 << "A\tB\tC\tD\tE\tF\tG" << QStringList{"A|B", "C|D", "E|F"};
}

void TestTableDlg::typingFollowsTabIntoHiddenColumns()
{
    QFETCH(int, columns);
    QFETCH(QString, keys);
    QFETCH(QStringList, cells);
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    child<CSpinEdit>(dlg, "columns")->setText(QString::number(columns));
    typeIntoCell(dlg, 0, 0, QString());
    for (const QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        if (key == QLatin1Char('\t'))
            QTest::keyClick(focus, Qt::Key_Tab);
        else if (key == QLatin1Char('\b'))
            QTest::keyClick(focus, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClicks(focus, QString(key));
    }
    QStringList shown;
    for (int row = 0; row < dlg.grid()->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < dlg.grid()->columnCount(); ++column) {
            const QTableWidgetItem* item = dlg.grid()->item(row, column);
            texts << (item ? item->text() : QString());
        }
        shown << texts.join(QLatin1Char('|'));
    }
    QCOMPARE(shown, cells);
    dlg.reject();
}

// With the focus in the grid itself (after scrolling or moving by arrow
// keys), typed or composed text goes on after the current cell's text.
void TestTableDlg::typingInTheGridEditsTheCurrentCell_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("inputMethod");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("cell");
    QTest::newRow("keys into an empty cell") << "" << false << "ab"
                                             << "ab";
    QTest::newRow("keys after the text") << "x" << false << "yz"
                                         << "xyz";
    QTest::newRow("composed into an empty cell") << "" << true << "表"
                                                 << "表";
    QTest::newRow("composed after the text") << "x" << true << "表"
                                             << "x表";
}

void TestTableDlg::typingInTheGridEditsTheCurrentCell()
{
    QFETCH(QString, before);
    QFETCH(bool, inputMethod);
    QFETCH(QString, typed);
    QFETCH(QString, cell);
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    typeIntoCell(dlg, 1, 1, before);
    QTableWidget* grid = dlg.grid();
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    if (inputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(grid, &commit);
    } else {
        QTest::keyClicks(grid, typed);
    }
    QCOMPARE(grid->item(1, 1)->text(), cell);
    dlg.reject();
}

// A click on the sliver of a column at the grid's right edge brings that
// cell into view, so the box laid over it is seen whole.
void TestTableDlg::partlyHiddenCellIsEditedInSight()
{
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("6"));
    QTableWidget* grid = dlg.grid();
    const QRect viewport = grid->viewport()->rect();
    int column = 0;
    while (grid->visualRect(grid->model()->index(1, column)).right() <= viewport.right())
        ++column;
    const QRect sliver = grid->visualRect(grid->model()->index(1, column)).intersected(viewport);
    QVERIFY(sliver.width() > 4);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, sliver.center());
    QLineEdit* editor = dlg.cellEditor();
    QVERIFY(editor->isVisible());
    QVERIFY(viewport.contains(editor->geometry()));
    QVERIFY(grid->visualRect(grid->model()->index(1, column)).contains(editor->geometry()));
    QTest::keyClicks(editor, "z");
    QCOMPARE(grid->item(1, column)->text(), QStringLiteral("z"));
    dlg.reject();
}

// Typing 12 over the 3 of the rows box passes through 1 row; the texts of
// the rows and columns cut off on the way come back.
void TestTableDlg::countTypedDigitByDigitKeepsTheCells()
{
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    typeIntoCell(dlg, 2, 1, QStringLiteral("r3"));
    typeIntoCell(dlg, 0, 2, QStringLiteral("c3"));
    for (const char* name : {"rows", "columns"}) {
        auto* box = child<CSpinEdit>(dlg, name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "12");
        QCOMPARE(box->text(), QStringLiteral("12"));
    }
    QCOMPARE(dlg.grid()->rowCount(), 12);
    QCOMPARE(dlg.grid()->columnCount(), 12);
    auto cellText = [&](int row, int column) {
        const QTableWidgetItem* item = dlg.grid()->item(row, column);
        return item ? item->text() : QString();
    };
    QCOMPARE(cellText(2, 1), QStringLiteral("r3"));
    QCOMPARE(cellText(0, 2), QStringLiteral("c3"));

    // Whatever a lower count leaves out stays out of the table.
    child<CSpinEdit>(dlg, "rows")->setText(QStringLiteral("2"));
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("3"));
    pressOk(dlg);
    QCOMPARE(dlg.resultText(), QStringLiteral("<TABLE ALIGN=CENTER>\r\n"
                                              "<TR><TD></TD><TD></TD><TD>c3</TD></TR>\r\n") +
                                   kEmptyRow + QStringLiteral("</TABLE>\r\n"));
    QCOMPARE(m_messages, QStringList());
}

void TestTableDlg::scrollingHidesTheCellEditor()
{
    CTableDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    child<CSpinEdit>(dlg, "rows")->setText(QStringLiteral("60"));
    typeIntoCell(dlg, 0, 0, QStringLiteral("top"));
    QVERIFY(dlg.cellEditor()->isVisible());
    QScrollBar* bar = dlg.grid()->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(!dlg.cellEditor()->isVisible());
    // The grid stays where it was scrolled to.
    QCoreApplication::processEvents();
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(dlg.grid()->item(0, 0)->text(), QStringLiteral("top"));
    dlg.reject();
}

void TestTableDlg::nonIntegerCountIsRefused()
{
    CTableDlg dlg;
    auto* rows = child<CSpinEdit>(dlg, "rows");
    rows->setText(QString()); // the digits deleted
    QCOMPARE(m_messages, QStringList{QStringLiteral("整数を入力してください。")});
    QCOMPARE(dlg.grid()->rowCount(), 3);

    // Every reaction reads the boxes. The header box still changes, and the
    // grid catches up at the next reaction that succeeds.
    m_messages.clear();
    child<QCheckBox>(dlg, "headerRow")->click();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(!dlg.grid()->item(0, 0) || !dlg.grid()->item(0, 0)->font().bold());

    m_messages.clear();
    rows->setText(QStringLiteral("2x"));
    pressOk(dlg);
    QCOMPARE(m_messages.size(), 2);
    QVERIFY(dlg.resultText().isEmpty());

    m_messages.clear();
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("1.5"));
    rows->setText(QStringLiteral(" 2 "));
    QCOMPARE(m_messages.size(), 2);
    QCOMPARE(dlg.grid()->rowCount(), 3);
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("1"));
    QCOMPARE(dlg.grid()->rowCount(), 3);
    rows->setText(QStringLiteral("2"));
    QCOMPARE(dlg.grid()->rowCount(), 2);
    QVERIFY(dlg.grid()->item(0, 0)->font().bold());
    pressOk(dlg);
    QCOMPARE(dlg.resultText(),
             QStringLiteral("<TABLE ALIGN=CENTER>\r\n<TR><TH></TH></TR>\r\n<TR><TD></TD></TR>\r\n"
                            "</TABLE>\r\n"));
}

// Counts below 1 give one row or column; huge counts stop at 999. Both in
// the grid and in the table, and quickly.
void TestTableDlg::countsOutOfRangeAreBounded()
{
    CTableDlg dlg;
    child<CSpinEdit>(dlg, "rows")->setText(QStringLiteral("0"));
    child<CSpinEdit>(dlg, "columns")->setText(QStringLiteral("-4"));
    QCOMPARE(dlg.grid()->rowCount(), 1);
    QCOMPARE(dlg.grid()->columnCount(), 1);
    pressOk(dlg);
    QCOMPARE(dlg.resultText(),
             QStringLiteral("<TABLE ALIGN=CENTER>\r\n<TR><TD></TD></TR>\r\n</TABLE>\r\n"));
    QCOMPARE(m_messages, QStringList());

    CTableDlg big;
    QElapsedTimer timer;
    timer.start();
    child<CSpinEdit>(big, "rows")->setText(QStringLiteral("2000000000"));
    QCOMPARE(big.grid()->rowCount(), 999);
    pressOk(big);
    QCOMPARE(big.resultText().count(QStringLiteral("<TR>")), 999);
    QVERIFY(timer.elapsed() < 20000);
}

void TestTableDlg::placementPictures()
{
    CTableDlg dlg;
    auto* preview = child<QLabel>(dlg, "preview");
    QCOMPARE(preview->pixmap().toImage(), SamplePictures::tablePlacement(0).toImage());
    for (int p : {2, 1, 0}) {
        child<QRadioButton>(dlg, QStringLiteral("placement%1").arg(p))->click();
        QCOMPARE(preview->pixmap().toImage(), SamplePictures::tablePlacement(p).toImage());
    }
    QVERIFY(SamplePictures::tablePlacement(1).toImage() !=
            SamplePictures::tablePlacement(2).toImage());
    QVERIFY(SamplePictures::tablePlacement(0).toImage() !=
            SamplePictures::tablePlacement(1).toImage());
}

MARQUILL_TEST_MAIN(TestTableDlg)
#include "tst_table_dlg.moc"
