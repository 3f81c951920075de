#include "commands/view_commands.h"

#include "core/ui_seam.h"
#include "dialogs/html/dropped_file.h"
#include "dialogs/html/image_size.h"
#include "dialogs/jump_dialog.h"
#include "document/document_file.h"
#include "document/my_rich_edit_doc.h"
#include "editor/marquill_view.h"
#include "editor/rules/inserted_file.h"
#include "resources/command_ids.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

// Enough for the header of any GIF or JPEG file, however much comes before
// its frame header.
constexpr qint64 kImageHeaderLimit = 32 * 1024 * 1024;

void jump(CMarquillView& view)
{
    CJumpDialog dialog(view.lineCount(), view.lineFromChar() + 1, &view);
    if (UiSeam::execDialog(dialog) != QDialog::Accepted)
        return;
    const qint64 pos = view.lineIndex(dialog.line() - 1);
    if (pos >= 0)
        view.setSel(pos, pos);
}

// Reads and decodes the file as opened files are; returns false (having
// said why) when it cannot be read or holds no text.
bool readInsertedFile(CMarquillView& view, const QString& path, QByteArray& text)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DocumentFile::Text file;
    QString error;
    const bool read = DocumentFile::read(path, file, error);
    QApplication::restoreOverrideCursor();
    if (!read) {
        UiSeam::messageBox(&view, error, QMessageBox::Warning);
        return false;
    }
    if (InsertedFile::isBinary(file.bytes)) {
        UiSeam::messageBox(
            &view,
            QStringLiteral("%1 を挿入できません。\nテキスト ファイルではありません。").arg(path),
            QMessageBox::Warning);
        return false;
    }
    text = InsertedFile::withLineEnds(file.bytes);
    return true;
}

void insertFile(CMarquillView& view)
{
    UiSeam::FileDialogRequest request;
    request.title = QStringLiteral("ファイルの挿入");
    request.filter =
        QStringLiteral("HTML ファイル (*.htm);;テキストファイル (*.txt);;すべてのファイル (*)");
    request.directory = QDir::currentPath();
    const QString path = UiSeam::fileDialog(&view, request);
    QByteArray text;
    if (path.isEmpty() || !readInsertedFile(view, path, text))
        return;
    view.InsertText(text, false);
}

} // namespace

void dropFile(CMarquillView& view, const QString& path)
{
    const QString folder = view.document() ? view.document()->folder() : QString();
    if (!DroppedFile::isImage(path)) {
        view.WrapSelection(DroppedFile::linkStart(path, folder).toUtf8(), "</A>", true);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        UiSeam::messageBox(&view, QStringLiteral("%1 を読み込めません。").arg(path),
                           QMessageBox::Warning);
        return;
    }
    const QByteArray header = file.read(kImageHeaderLimit);
    const ImageSize::Reading size = ImageSize::read(header);
    view.InsertText(DroppedFile::imageTag(path, folder, size).toUtf8(), true);
}

void registerViewCommands(CCommandMapOf<CMarquillView>& map)
{
    map.on(Cmd::Jump, jump);
    map.on(Cmd::InsertFile, insertFile);
    // One full-width space in place of the selection, as typed: no colour,
    // no lower-casing, not remembered for re-insertion.
    map.on(Cmd::FullWidthSpace,
           [](CMarquillView& view) { view.replaceSel(QByteArrayLiteral("\xE3\x80\x80"), false); });
}
