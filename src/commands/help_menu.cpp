#include "commands/help_menu.h"

#include "core/internet_shortcut.h"
#include "core/program_files.h"
#include "core/ui_seam.h"
#include "core/web_browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

namespace {
const QString kGuidePage = QStringLiteral("help/index.html");
const QString kHomePageFile = QStringLiteral("marquill.url");
constexpr qint64 kShortcutSizeLimit = 64 * 1024;

bool openInBrowser(QWidget* parent, const QUrl& url)
{
    if (WebBrowser::open(url))
        return true;
    UiSeam::messageBox(
        parent,
        QStringLiteral("%1\nを表示するブラウザを起動できませんでした。")
            .arg(url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString()),
        QMessageBox::Warning);
    return false;
}
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
    return openInBrowser(parent, QUrl::fromLocalFile(page));
}

bool openHomePage(QWidget* parent)
{
    const QString path = ProgramFiles::locate(kHomePageFile);
    if (path.isEmpty()) {
        UiSeam::messageBox(
            parent,
            QStringLiteral("ホームページのショートカット ファイル %1 がありません。\n"
                           "ホームページのアドレスを書いたこのファイルを、"
                           "プログラムと同じフォルダか %2 に置いてください。")
                .arg(kHomePageFile, QDir::toNativeSeparators(
                                        QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                        QStringLiteral("/../share/marquill")))),
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
    return openInBrowser(parent, url);
}

} // namespace HelpMenu
