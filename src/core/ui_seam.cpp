#include "core/ui_seam.h"

#include "core/file_dialog_columns.h"
#include "core/message_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QScreen>

namespace UiSeam {
namespace {
DialogHook& dialogHook()
{
    static DialogHook h;
    return h;
}
MessageHook& messageHook()
{
    static MessageHook h;
    return h;
}
FileDialogHook& fileHook()
{
    static FileDialogHook h;
    return h;
}
std::function<void()>& beepHook()
{
    static std::function<void()> h;
    return h;
}
} // namespace

int execDialog(QDialog& dialog)
{
    if (dialogHook())
        return dialogHook()(dialog);
    return dialog.exec();
}

QMessageBox::StandardButton messageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                       QMessageBox::StandardButtons buttons,
                                       QMessageBox::StandardButton defaultButton)
{
    if (messageHook())
        return messageHook()(text, icon, buttons);
    QMessageBox box(icon, QStringLiteral("Marquill"), QString(), buttons, parent);
    // Messages quote HTML tags ("<B> ～ </B>"); as rich text they would vanish.
    box.setTextFormat(Qt::PlainText);
    // A long path would make the box taller or wider than the screen.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int width = screen ? screen->availableGeometry().width() / 2 : 640;
    box.setText(MessageText::fitted(text, box.fontMetrics(), width));
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // Qt's Japanese "保存" has no mnemonic, unlike はい(&Y) and いいえ(&N).
    if (QAbstractButton* save = box.button(QMessageBox::Save);
        save && !save->text().contains(QLatin1Char('&')))
        save->setText(save->text() + QStringLiteral("(&S)"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString fileDialog(QWidget* parent, const FileDialogRequest& request)
{
    if (fileHook())
        return fileHook()(request);
    QFileDialog dlg(parent, request.title, request.directory, request.filter);
    FileDialogColumns::prepare(dlg);
    if (!request.selectedFilter.isEmpty())
        dlg.selectNameFilter(request.selectedFilter);
    if (request.save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        if (!request.defaultSuffix.isEmpty())
            dlg.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedName.isEmpty())
            dlg.selectFile(request.proposedName);
    } else if (request.folder) {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly, true);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

void beep()
{
    if (beepHook())
        beepHook()();
    else
        QApplication::beep();
}

void setDialogHook(DialogHook hook)
{
    dialogHook() = std::move(hook);
}

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

void setFileDialogHook(FileDialogHook hook)
{
    fileHook() = std::move(hook);
}

void setBeepHook(std::function<void()> hook)
{
    beepHook() = std::move(hook);
}

} // namespace UiSeam
