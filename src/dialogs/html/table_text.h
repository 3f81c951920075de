#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The choices of the table dialog, as plain values.
struct TableChoices
{
    enum Placement { NoFlow = 0, FlowRight = 1, FlowLeft = 2 };

    QString caption;
    int rows = 3;
    int columns = 3;
    QString border;
    QString cellSpacing;
    bool headerRow = false;
    bool headerColumn = false;
    int placement = NoFlow;
    QList<QStringList> cells; // cells[row][column]; missing cells are empty
};

// Bounds of the row and column counts the table dialog builds.
constexpr int kTableMinCount = 1;
constexpr int kTableMaxCount = 999;

// A row or column count kept within kTableMinCount..kTableMaxCount, so a
// count below 1 gives one row or column and a huge count stays bounded.
int boundedTableCount(int count);

// The whole TABLE element: start tag, optional caption line, one line per row
// with all its cells, end tag, each line ended by CR LF. Texts are copied
// unchanged; an empty border or spacing leaves its attribute out. Counts are
// bounded with boundedTableCount.
QString buildTable(const TableChoices& choices);

// Reads an integer as a dialog box holds it: optional blanks, an optional
// sign, decimal digits, optional blanks, and within the range of int.
// Anything else (an empty box too) gives no value.
std::optional<int> parseDialogInteger(const QString& text);
