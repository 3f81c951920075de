#include "document/marquill_doc.h"

#include "app/marquill_app.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "document/document_file.h"
#include "document/save_name.h"
#include "editor/marquill_view.h"
#include "resources/command_ids.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace {
constexpr IntSetting kBrowserShow{"Options", "BrowserShow", 5};

CMarquillDoc::NewDocumentDialog& newDocumentDialog()
{
    static CMarquillDoc::NewDocumentDialog dialog;
    return dialog;
}

} // namespace

CMarquillDoc::CMarquillDoc(QObject* parent) : CMyRichEditDoc(parent)
{
    onCommand(Cmd::BrowserPreview, [this] { browserPreview(); });
    onCommand(Cmd::OpenFolder, [this] { openFolder(); });
    onCommand(Cmd::FileSave, [this] { DoFileSave(); });
    onCommand(Cmd::FileSaveAs, [this] { DoSaveAs(); });
}

CMarquillView* CMarquillDoc::marquillView() const
{
    return static_cast<CMarquillView*>(view());
}

void CMarquillDoc::setNewDocumentDialog(NewDocumentDialog dialog)
{
    newDocumentDialog() = std::move(dialog);
}

void CMarquillDoc::SetModifiedFlag(bool modified)
{
    const QString t = title();
    if (modified) {
        if (!(t.size() > 1 && t.endsWith(QLatin1String(" *"))))
            setTitle(t + QStringLiteral(" *"));
    } else if (t.size() >= 3 && t.endsWith(QLatin1String(" *"))) {
        setTitle(t.left(t.size() - 2));
    }
    CMyRichEditDoc::SetModifiedFlag(modified);
}

bool CMarquillDoc::OnNewDocument()
{
    if (!CMyRichEditDoc::OnNewDocument())
        return false;
    // The installed dialog step reads "Dialog" itself and does nothing when
    // it is 0; the document stays empty then.
    if (!newDocumentDialog() || !marquillView())
        return true;
    newDocumentDialog()(*marquillView());
    return true;
}

bool CMarquillDoc::OnOpenDocument(const QString& path, QString* errorMessage)
{
    if (!CMyRichEditDoc::OnOpenDocument(path, errorMessage))
        return false;
    // "AutoColor" as it is now, not as it was when the view was created.
    if (CMarquillView::autoColorOption() && marquillView())
        marquillView()->ColorWholeDocument();
    return true;
}

bool CMarquillDoc::DoFileSave()
{
    return DoSave(pathName());
}

bool CMarquillDoc::DoSaveAs()
{
    CMarquillApp::setWorkingFolderToLastUsed();
    return DoSave(QString());
}

bool CMarquillDoc::DoSave(const QString& path)
{
    QString target = path;
    if (target.isEmpty()) {
        UiSeam::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("名前を付けて保存");
        request.filter = QStringLiteral("HTML ファイル (*.htm);;すべてのファイル (*)");
        request.defaultSuffix = QStringLiteral("htm");
        request.proposedName = SaveAsProposedName(pathName(), title());
        target = UiSeam::fileDialog(view(), request);
        if (target.isEmpty())
            return false;
    }
    if (!agreeOnEncoding())
        return false;
    QString error;
    if (!OnSaveDocument(target, &error)) {
        UiSeam::messageBox(view(), error, QMessageBox::Warning);
        return false;
    }
    if (CMarquillApp* app = CMarquillApp::instance())
        app->addToRecentFileList(pathName());
    return true;
}

bool CMarquillDoc::agreeOnEncoding()
{
    if (encoding().isEmpty() || !view())
        return true;
    QByteArray bytes;
    QString bad;
    if (DocumentFile::encode(view()->textBytes(), encoding(), bytes, bad))
        return true;
    // The text holds a character the file's encoding cannot store: rather
    // than leave the work unsavable, offer to store the file as UTF-8.
    const QString what = bad.isEmpty() ? QStringLiteral("この文書") : bad;
    const auto answer = UiSeam::messageBox(
        view(),
        QStringLiteral("%1 は文字コード %2 で保存できません。\nUTF-8 に変えて保存しますか？")
            .arg(what, encoding()),
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    setEncoding(QString());
    return true;
}

bool CMarquillDoc::SaveModified()
{
    if (!isModified())
        return true;
    const QString name = pathName().isEmpty() ? untitledName() : pathName();
    const auto answer = UiSeam::messageBox(
        view(), QStringLiteral("%1 への変更を保存しますか？").arg(name), QMessageBox::Warning,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    return DoFileSave();
}

void CMarquillDoc::browserPreview()
{
    if (pathName().isEmpty()) {
        UiSeam::messageBox(
            view(),
            QStringLiteral("この文書は保存されていません。\n保存されていない文書はブラウザ"
                           "で表示できません。\n文書を保存してから実行して下さい。"),
            QMessageBox::Warning);
        return;
    }
    // The show command (BrowserShow) cannot be imposed on another program's
    // window here; the saved file opens with the desktop's default handler.
    Q_UNUSED(kBrowserShow.read());
    QDesktopServices::openUrl(QUrl::fromLocalFile(pathName()));
}

void CMarquillDoc::openFolder()
{
    QString dir = folder();
    if (!dir.isEmpty())
        dir.chop(1);
    if (dir.isEmpty())
        dir = CMarquillApp::folderOfMostRecentFile();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
}
