#include "document/marquill_doc.h"

#include "core/file_names.h"
#include "core/options.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"
#include "document/document_text.h"
#include "document/external_tool.h"
#include "document/recent_file_list.h"
#include "document/save_name.h"
#include "document/text_encoding.h"
#include "resources/command_ids.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QScopedValueRollback>
#include <QUrl>

namespace {

CMarquillDoc::NewDocumentStep& newDocumentStep()
{
    static CMarquillDoc::NewDocumentStep step;
    return step;
}

} // namespace

CMarquillDoc::CMarquillDoc(QObject* parent) : CMyRichEditDoc(parent)
{
    // A file read anew is written in the encoding it was read in.
    connect(this, &CMyRichEditDoc::opened, this, [this] { m_declarationFollows = false; });
}

CCommandMapOf<CMarquillDoc>& CMarquillDoc::commands()
{
    static CCommandMapOf<CMarquillDoc> map = [] {
        CCommandMapOf<CMarquillDoc> m;
        m.on(Cmd::BrowserPreview, &CMarquillDoc::browserPreview);
        m.on(Cmd::OpenFolder, &CMarquillDoc::openFolder);
        m.on(Cmd::FileSave, [](CMarquillDoc& doc) { doc.doFileSave(); });
        m.on(Cmd::FileSaveAs, [](CMarquillDoc& doc) { doc.doSaveAs(); });
        m.on(Cmd::Tool0, Cmd::Tool9,
             [](CMarquillDoc& doc, int id) { ExternalTool::run(doc, id - Cmd::Tool0); });
        return m;
    }();
    return map;
}

void CMarquillDoc::setNewDocumentStep(NewDocumentStep step)
{
    newDocumentStep() = std::move(step);
}

void CMarquillDoc::setModifiedFlag(bool modified)
{
    const QString t = title();
    if (modified) {
        if (!(t.size() > 1 && t.endsWith(QLatin1String(" *"))))
            setTitle(t + QStringLiteral(" *"));
    } else if (t.size() >= 3 && t.endsWith(QLatin1String(" *"))) {
        setTitle(t.left(t.size() - 2));
    }
    CMyRichEditDoc::setModifiedFlag(modified);
}

bool CMarquillDoc::onNewDocument()
{
    if (!CMyRichEditDoc::onNewDocument())
        return false;
    // The installed step reads "Dialog" itself and does nothing when it is
    // 0; the document stays empty then.
    if (!newDocumentStep() || !view())
        return true;
    newDocumentStep()(*this);
    return true;
}

bool CMarquillDoc::doFileSave()
{
    return doSave(pathName());
}

bool CMarquillDoc::doSaveAs()
{
    if (m_recentFiles)
        m_recentFiles->setWorkingFolderToLastUsed();
    return doSave(QString());
}

bool CMarquillDoc::doSave(const QString& path, const QByteArray* fileBytes)
{
    QString target = path;
    if (target.isEmpty()) {
        UiSeam::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("名前を付けて保存");
        request.filter = QStringLiteral("HTML ファイル (*.htm);;すべてのファイル (*)");
        request.defaultSuffix = QStringLiteral("htm");
        request.proposedName = saveAsProposedName(pathName(), title());
        // The dialog reads a name that is not UTF-8 with U+FFFD in it.
        target = FileNames::findLossyName(UiSeam::fileDialog(viewWidget(), request));
        if (target.isEmpty())
            return false;
    }
    if (target == pathName() && !agreeToWriteOverChange())
        return false;
    QByteArray bytes;
    if (fileBytes)
        bytes = *fileBytes;
    else if (!encodeForSaving(bytes, path.isEmpty() || m_declarationFollows))
        return false;
    QString error;
    if (!saveBytes(target, bytes, &error)) {
        UiSeam::messageBox(viewWidget(), error, QMessageBox::Warning);
        return false;
    }
    Q_EMIT saved(pathName());
    return true;
}

bool CMarquillDoc::encodeForSaving(QByteArray& fileBytes, bool declareEncoding)
{
    QString bad;
    if (!view())
        return true;
    if (isUnconverted()) {
        if (!agreeOnMixing())
            return false;
        return encodeText(fileBytes, bad);
    }
    // The declaration's name is ASCII: changing it changes nothing about
    // whether the encoding can hold the text.
    const bool wasModified = isModified();
    const TextDecoding::DeclarationChange undo =
        declareEncoding ? declare(declarationFor(encoding())) : TextDecoding::DeclarationChange{};
    if (encodeText(fileBytes, bad))
        return true;
    // The text holds a character the file's encoding cannot store: rather
    // than leave the work unsavable, offer to store the file as UTF-8.
    const QString what = bad.isEmpty() ? QStringLiteral("この文書") : bad;
    const TextDecoding::DeclarationChange toUtf8 = declarationFor(QString());
    QString question =
        QStringLiteral("%1 は文字コード %2 で保存できません。\nUTF-8 に変えて保存しますか？")
            .arg(what, encoding());
    if (toUtf8.offset >= 0)
        question += QStringLiteral("\n(文書の中の文字コードの指定 %1 も UTF-8 に書き換えます。)")
                        .arg(QString::fromLatin1(
                            view()->textRange(toUtf8.offset, toUtf8.offset + toUtf8.length)));
    const auto answer = UiSeam::messageBox(viewWidget(), question, QMessageBox::Question,
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        // Nothing is saved: the declaration stays as the user wrote it.
        if (undo.offset >= 0) {
            declare(undo);
            setModifiedFlag(wasModified);
        }
        return false;
    }
    setEncoding(QString());
    declare(toUtf8);
    m_declarationFollows = true;
    return encodeText(fileBytes, bad);
}

TextDecoding::DeclarationChange CMarquillDoc::declarationFor(const QString& encoding) const
{
    if (!view())
        return {};
    return TextDecoding::declarationChange(view()->textRange(0, 4096), encoding);
}

TextDecoding::DeclarationChange CMarquillDoc::declare(const TextDecoding::DeclarationChange& change)
{
    if (change.offset < 0 || !view())
        return {};
    const QByteArray old = view()->textRange(change.offset, change.offset + change.length);
    view()->replaceBytes(change.offset, change.offset + change.length, change.name);
    return {change.offset, change.name.size(), old};
}

bool CMarquillDoc::agreeOnMixing()
{
    if (!wouldMixInUtf8())
        return true;
    const QString name = pathName().isEmpty() ? untitledName() : FileNames::display(pathName());
    const auto answer = UiSeam::messageBox(
        viewWidget(),
        QStringLiteral("%1 は文字コードを判別できなかったため、変換せずに開いています。\n"
                       "このまま保存すると、新しく入力した文字は UTF-8 で書き込まれ、"
                       "ファイルの中で文字コードが混ざります。\n\n"
                       "UTF-8 で書き込んで保存しますか？\n"
                       "(ファイルの文字コードが分かっている場合は、キャンセルして"
                       "ステータスバーの文字コード欄から開き直してください。)")
            .arg(name),
        QMessageBox::Warning, QMessageBox::Save | QMessageBox::Cancel, QMessageBox::Cancel);
    return answer == QMessageBox::Save;
}

bool CMarquillDoc::reopenInEncoding(const QString& encoding)
{
    if (pathName().isEmpty() || !view())
        return false;
    if (isModified()) {
        const auto answer = UiSeam::messageBox(
            viewWidget(),
            QStringLiteral("%1 への変更は失われます。\n文字コード %2 で開き直しますか？")
                .arg(FileNames::display(pathName()), encoding),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    QString error;
    if (!reloadAs(encoding, &error)) {
        UiSeam::messageBox(viewWidget(), error, QMessageBox::Warning);
        return false;
    }
    return true;
}

bool CMarquillDoc::saveInEncoding(const QString& encoding)
{
    if (!view())
        return false;
    const QString name = TextEncoding::canonicalName(encoding);
    const bool utf8 = name == QLatin1String(TextEncoding::kUtf8);
    QByteArray bytes;
    QString bad;
    if (name.isEmpty() || !encodeText(name, bytes, bad)) {
        UiSeam::messageBox(
            viewWidget(),
            QStringLiteral("%1 は文字コード %2 で保存できないため、保存しませんでした。")
                .arg(bad.isEmpty() ? QStringLiteral("この文書") : bad, encoding),
            QMessageBox::Warning);
        return false;
    }
    const QString written = utf8 ? QString() : name;
    const bool wasModified = isModified();
    // The page's own declaration names the encoding written; put back when
    // nothing is saved.
    const TextDecoding::DeclarationChange undo = declare(declarationFor(written));
    const QString previous = this->encoding();
    const bool wasUnconverted = isUnconverted();
    setEncoding(written);
    if ((undo.offset < 0 || encodeText(name, bytes, bad)) && doSave(pathName(), &bytes)) {
        m_declarationFollows = true;
        return true;
    }
    setEncoding(previous, wasUnconverted);
    if (undo.offset >= 0) {
        declare(undo);
        setModifiedFlag(wasModified);
    }
    return false;
}

bool CMarquillDoc::saveModified()
{
    if (!isModified())
        return true;
    const QString name = pathName().isEmpty() ? untitledName() : FileNames::display(pathName());
    const auto answer = UiSeam::messageBox(
        viewWidget(), QStringLiteral("%1 への変更を保存しますか？").arg(name), QMessageBox::Warning,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    return doFileSave();
}

bool CMarquillDoc::agreeToWriteOverChange()
{
    const DiskState now = DiskState::of(pathName());
    const DiskChange change = ::diskChange(knownDiskState(), now);
    if (change != DiskChange::Changed && change != DiskChange::ReplacedByLink)
        return true;
    const QString name = FileNames::display(pathName());
    const QString text =
        change == DiskChange::Changed
            ? QStringLiteral("%1 は、読み込んだ後 (または前回保存した後) に、ほかのプログラムに"
                             "よって変更されています。\n上書きすると、ほかのプログラムが保存した"
                             "内容は失われます。\n\n上書きして保存しますか？")
                  .arg(name)
            : QStringLiteral("%1 は、ほかのプログラムによってシンボリックリンク (リンク先: %2) "
                             "に置き換えられています。\n保存すると、リンク先のファイルに書き込み"
                             "ます。\n\n保存しますか？")
                  .arg(name, FileNames::display(FileNames::decode(now.linkTarget)));
    return UiSeam::messageBox(viewWidget(), text, QMessageBox::Warning,
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

void CMarquillDoc::checkFileOnDisk()
{
    if (pathName().isEmpty() || m_asking || !view())
        return;
    const DiskState now = DiskState::of(pathName());
    const DiskChange change = ::diskChange(knownDiskState(), now);
    if (change == DiskChange::None || now == m_askedAbout)
        return;
    m_askedAbout = now;
    const QScopedValueRollback asking(m_asking, true);
    const QString name = FileNames::display(pathName());
    if (change == DiskChange::Removed || change == DiskChange::ReplacedByLink) {
        UiSeam::messageBox(
            viewWidget(),
            change == DiskChange::Removed
                ? QStringLiteral("%1 は、ほかのプログラムによって削除されたか、名前を変えられ"
                                 "ました。\n編集中の内容はこのウィンドウに残っています。"
                                 "保存すると、ファイルを作り直します。")
                      .arg(name)
                : QStringLiteral("%1 は、ほかのプログラムによってシンボリックリンク (リンク先: "
                                 "%2) に置き換えられました。\n編集中の内容はこのウィンドウに"
                                 "残っています。")
                      .arg(name, FileNames::display(FileNames::decode(now.linkTarget))),
            QMessageBox::Warning);
        setModifiedFlag(true);
        return;
    }
    if (!isModified()) {
        if (UiSeam::messageBox(viewWidget(),
                               QStringLiteral("%1 は、ほかのプログラムによって変更されました。\n"
                                              "読み込み直しますか？")
                                   .arg(name),
                               QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes)
            reloadFromDisk();
        return;
    }
    if (UiSeam::messageBox(viewWidget(),
                           QStringLiteral("%1 は、ほかのプログラムによって変更されました。\n"
                                          "このウィンドウには保存していない変更があります。\n\n"
                                          "ほかのプログラムが保存した内容を読み込みますか？\n"
                                          "「はい」を選ぶと、このウィンドウの変更は失われます。"
                                          "「いいえ」を選ぶと、このウィンドウの内容を残します。")
                               .arg(name),
                           QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::No) == QMessageBox::Yes)
        reloadFromDisk();
}

void CMarquillDoc::reloadFromDisk()
{
    QString error;
    if (!reload(&error))
        UiSeam::messageBox(viewWidget(), error, QMessageBox::Warning);
}

void CMarquillDoc::browserPreview()
{
    if (pathName().isEmpty()) {
        UiSeam::messageBox(
            viewWidget(),
            QStringLiteral("この文書は保存されていません。\n保存されていない文書はブラウザ"
                           "で表示できません。\n文書を保存してから実行して下さい。"),
            QMessageBox::Warning);
        return;
    }
    // The show command (BrowserShow) cannot be imposed on another program's
    // window here. The saved file goes to the web browser rather than to the
    // desktop's handler for HTML, which may be an editor such as this one.
    Q_UNUSED(Options::kBrowserShow.read());
    WebBrowser::show(viewWidget(), QUrl::fromLocalFile(pathName()));
}

void CMarquillDoc::openFolder()
{
    QString dir = folder();
    if (!dir.isEmpty())
        dir.chop(1);
    if (dir.isEmpty())
        dir = m_recentFiles ? m_recentFiles->folderOfMostRecentFile() : QString();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    QDesktopServices::openUrl(QUrl::fromLocalFile(dir));
}
