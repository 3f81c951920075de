#include "core/web_browser.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace {
std::function<bool(const QUrl&)>& testHook()
{
    static std::function<bool(const QUrl&)> instance;
    return instance;
}
} // namespace

namespace WebBrowser {

Launcher choose(const QString& browserVariable, const QString& display,
                const std::function<QString(const QString&)>& findProgram)
{
    const QString sensible = findProgram(QStringLiteral("sensible-browser"));
    if (sensible.isEmpty())
        return {};
    // sensible-browser falls back to a text-mode browser without an X
    // display, so it is only asked when it has a graphical one to start.
    const bool haveBrowser =
        !browserVariable.trimmed().isEmpty() ||
        (!display.isEmpty() && !findProgram(QStringLiteral("x-www-browser")).isEmpty());
    return haveBrowser ? Launcher{sensible} : Launcher{};
}

bool open(const QUrl& url)
{
    if (testHook())
        return testHook()(url);
    const Launcher launcher =
        choose(qEnvironmentVariable("BROWSER"), qEnvironmentVariable("DISPLAY"),
               [](const QString& name) { return QStandardPaths::findExecutable(name); });
    if (!launcher.program.isEmpty() &&
        QProcess::startDetached(launcher.program, {url.toString(QUrl::FullyEncoded)}))
        return true;
    return QDesktopServices::openUrl(url);
}

void setHook(std::function<bool(const QUrl&)> hook)
{
    testHook() = std::move(hook);
}

} // namespace WebBrowser
