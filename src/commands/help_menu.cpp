#include "commands/help_menu.h"

#include "core/internet_shortcut.h"
#include "core/program_files.h"
#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString kGuidePage = QStringLiteral("help/index.html");
const QString kHomePageFile = QStringLiteral("marquill.url");
constexpr qint64 kShortcutSizeLimit = 64 * 1024;
} // namespace

namespace HelpMenu {

bool openGuide(QWidget* parent)
{
    const QString page = ProgramFiles::locate(kGuidePage);
    if (page.isEmpty()) {
        UiSeam::messageBox(parent,
                           QStringLiteral("ヘルプ ファイル %1 が見つかりません。\n"
                                          "Marquill をインストールし直してください。")
                               .arg(kGuidePage),
                           QMessageBox::Warning);
        return false;
    }
    return WebBrowser::show(parent, QUrl::fromLocalFile(page));
}

bool openHomePage(QWidget* parent)
{
    // The user's own shortcut, beside the settings, before the installed one.
    const QString ownPath = QDir(settingsFolder()).filePath(kHomePageFile);
    const QString path =
        QFileInfo(ownPath).isFile() ? ownPath : ProgramFiles::locate(kHomePageFile);
    if (path.isEmpty()) {
        UiSeam::messageBox(
            parent,
            QStringLiteral("ホームページのショートカット ファイル %1 がありません。\n"
                           "ホームページのアドレスを書いたこのファイルを、"
                           "%2 に置いてください。\n"
                           "(内容の例: 1 行目に [InternetShortcut]、"
                           "2 行目に URL=https://...)")
                .arg(kHomePageFile, QDir::toNativeSeparators(settingsFolder())),
            QMessageBox::Information);
        return false;
    }
    QFile file(path);
    QUrl url;
    if (file.open(QIODevice::ReadOnly))
        url = InternetShortcut::address(file.read(kShortcutSizeLimit));
    if (url.isEmpty()) {
        UiSeam::messageBox(parent,
                           QStringLiteral("%1\nにホームページのアドレスがありません。")
                               .arg(QDir::toNativeSeparators(path)),
                           QMessageBox::Warning);
        return false;
    }
    return WebBrowser::show(parent, url);
}

} // namespace HelpMenu
