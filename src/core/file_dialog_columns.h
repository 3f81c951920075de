#pragma once

#include <QDateTime>
#include <QString>

class QFileDialog;
class QFileInfo;

// The program's file dialogs are Qt's own (the same on every desktop), in
// Japanese throughout: sizes, kinds and dates in the Japanese form, and a
// size and column widths that show names, sizes, kinds and dates whole.
namespace FileDialogColumns {

// Makes dialog Qt's own detail view with the Japanese columns and sizes it.
// Call before exec().
void prepare(QFileDialog& dialog);

// The texts of the size, kind and date columns ("27 バイト", "120.6 KB";
// "フォルダー", "HTML ファイル", "PNG ファイル"; "2024/05/01 9:05").
QString sizeText(qint64 bytes);
QString kindText(const QFileInfo& info);
QString dateText(const QDateTime& time);

} // namespace FileDialogColumns
