#include "core/web_browser.h"

#include "core/options.h"
#include "core/ui_seam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

std::function<bool(const QUrl&)>& testHook()
{
    static std::function<bool(const QUrl&)> instance;
    return instance;
}

constexpr int kQueryTimeoutMs = 3000;

QString pageText(const QUrl& url)
{
    return url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                             : url.toString(QUrl::FullyEncoded);
}

// The full path of a program named alone or by its path; empty when there is
// no such program.
QString findProgram(const QString& program)
{
    if (program.isEmpty())
        return QString();
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo file(QDir::cleanPath(
            program.startsWith(QLatin1String("~/")) ? QDir::homePath() + program.mid(1) : program));
        return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

// A command line with "%s" (or "%u") standing for the page, or the page
// appended; the program found. Empty program when it is not there.
WebBrowser::Launch commandLine(const QString& command, const QUrl& url)
{
    const QString page = url.toString(QUrl::FullyEncoded);
    // A program path with blanks in it may be given without quotes.
    QStringList words = findProgram(command.trimmed()).isEmpty() ? QProcess::splitCommand(command)
                                                                 : QStringList{command.trimmed()};
    if (words.isEmpty())
        return {};
    const QString program = findProgram(words.takeFirst());
    bool placed = false;
    for (QString& word : words) {
        for (const char* code : {"%s", "%u"}) {
            if (word.contains(QLatin1String(code))) {
                word.replace(QLatin1String(code), page);
                placed = true;
            }
        }
    }
    if (!placed)
        words.append(page);
    return {program, words, QString()};
}

// The keys of a desktop entry's [Desktop Entry] group, their values with the
// escapes of the format undone.
QHash<QString, QString> desktopEntry(const QString& path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inGroup = false;
    for (const QByteArray& raw : file.read(256 * 1024).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        QString value;
        const QString escaped = line.mid(equals + 1).trimmed();
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            if (escaped[i] != QLatin1Char('\\') || i + 1 == escaped.size()) {
                value += escaped[i];
                continue;
            }
            // Other escapes belong to the Exec value's own quoting.
            const QChar c = escaped[++i];
            if (c == QLatin1Char('s'))
                value += QLatin1Char(' ');
            else if (c == QLatin1Char('n'))
                value += QLatin1Char('\n');
            else if (c == QLatin1Char('t'))
                value += QLatin1Char('\t');
            else if (c == QLatin1Char('r'))
                value += QLatin1Char('\r');
            else if (c == QLatin1Char('\\'))
                value += c;
            else
                value += QLatin1Char('\\') + QString(c);
        }
        keys.insert(line.left(equals).trimmed(), value);
    }
    return keys;
}

// How the desktop entry at path starts url: empty when it is hidden, a text
// editor (which may take pages too) or this program, or its program is not
// there.
WebBrowser::Launch entryLaunch(const QString& path, const QUrl& url)
{
    const QHash<QString, QString> entry = desktopEntry(path);
    const QStringList categories =
        entry.value(QStringLiteral("Categories")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (entry.value(QStringLiteral("Hidden")) == QLatin1String("true") ||
        (categories.contains(QLatin1String("TextEditor")) &&
         !categories.contains(QLatin1String("WebBrowser"))))
        return {};
    QStringList arguments = WebBrowser::execArguments(entry.value(QStringLiteral("Exec")), url);
    if (arguments.isEmpty())
        return {};
    const QString program = findProgram(arguments.takeFirst());
    if (program.isEmpty() ||
        QFileInfo(program).canonicalFilePath() ==
            QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath() ||
        QFileInfo(program).fileName() == QLatin1String("marquill"))
        return {};
    return {program, arguments, QString()};
}

// The desktop's handler of http addresses, when it is a web browser.
WebBrowser::Launch desktopBrowser(const QUrl& url)
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return {};
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/http")});
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    const QString id =
        QString::fromUtf8(query.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1String("..")))
        return {};
    QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    // "vendor-name.desktop" may lie at vendor/name.desktop.
    if (path.isEmpty() && id.contains(QLatin1Char('-')))
        path = QStandardPaths::locate(
            QStandardPaths::ApplicationsLocation,
            QString(id).replace(id.indexOf(QLatin1Char('-')), 1, QLatin1Char('/')));
    return path.isEmpty() ? WebBrowser::Launch{} : entryLaunch(path, url);
}

// Any installed web browser: the first desktop entry of the category
// WebBrowser whose program is there.
WebBrowser::Launch installedBrowser(const QUrl& url)
{
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QStringList names =
            QDir(folder).entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        for (const QString& name : names) {
            const QString path = QDir(folder).filePath(name);
            if (!desktopEntry(path)
                     .value(QStringLiteral("Categories"))
                     .split(QLatin1Char(';'))
                     .contains(QLatin1String("WebBrowser")))
                continue;
            if (WebBrowser::Launch launch = entryLaunch(path, url); !launch.program.isEmpty())
                return launch;
        }
    }
    return {};
}

} // namespace

namespace WebBrowser {

QStringList execArguments(const QString& exec, const QUrl& url)
{
    // Words: blanks separate them, double quotes group them, and inside
    // quotes a backslash takes the next character as it is.
    QStringList words;
    QList<bool> quoted;
    QString word;
    bool inWord = false;
    bool inQuotes = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size())
                word += exec[++i];
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                word += c;
        } else if (c == QLatin1Char('"')) {
            inQuotes = inWord = wasQuoted = true;
        } else if (c.isSpace()) {
            if (inWord)
                words.append(word), quoted.append(wasQuoted);
            word.clear();
            inWord = wasQuoted = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word), quoted.append(wasQuoted);

    const QString page = url.toString(QUrl::FullyEncoded);
    const QString file = url.isLocalFile() ? url.toLocalFile() : page;
    QStringList arguments;
    bool placed = false;
    for (qsizetype w = 0; w < words.size(); ++w) {
        if (quoted[w]) {
            arguments.append(words[w]);
            continue;
        }
        QString out;
        bool dropped = false;
        const QString& in = words[w];
        for (qsizetype i = 0; i < in.size(); ++i) {
            if (in[i] != QLatin1Char('%') || i + 1 == in.size()) {
                out += in[i];
                continue;
            }
            const QChar code = in[++i];
            if (code == QLatin1Char('%')) {
                out += code;
            } else if (code == QLatin1Char('u') || code == QLatin1Char('U')) {
                out += page, placed = true;
            } else if (code == QLatin1Char('f') || code == QLatin1Char('F')) {
                out += file, placed = true;
            } else {
                dropped = true; // %i, %c, %k and the deprecated codes
            }
        }
        if (!(dropped && out.isEmpty()))
            arguments.append(out);
    }
    if (!placed && !arguments.isEmpty())
        arguments.append(page);
    return arguments;
}

Launch launchFor(const QUrl& url)
{
    const QString chosen = Options::kBrowserProgram.read().trimmed();
    if (!chosen.isEmpty()) {
        Launch launch = commandLine(chosen, url);
        if (launch.program.isEmpty())
            launch.message = QStringLiteral("一般設定で指定したブラウザ %1 が見つかりません。\n"
                                            "一般設定の [ファイル] ページで、ブラウザのプログラムを"
                                            "指定し直してください。")
                                 .arg(chosen);
        return launch;
    }
    if (Launch launch = desktopBrowser(url); !launch.program.isEmpty())
        return launch;
    for (const QString& command :
         qEnvironmentVariable("BROWSER").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (Launch launch = commandLine(command, url); !launch.program.isEmpty())
            return launch;
    }
    const bool display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (display) {
        if (Launch launch = commandLine(QStringLiteral("x-www-browser"), url);
            !launch.program.isEmpty())
            return launch;
    }
    if (Launch launch = installedBrowser(url); !launch.program.isEmpty())
        return launch;
    return {
        QString(),
        {},
        QStringLiteral("%1\nを表示する WWW ブラウザが見つかりません。\n"
                       "一般設定 ([ファイル] → [環境設定] → [一般設定]) の [ファイル] ページで、"
                       "使うブラウザのプログラム (例: firefox) を指定してください。")
            .arg(pageText(url))};
}

bool open(const QUrl& url, QString* message)
{
    if (testHook())
        return testHook()(url);
    const Launch launch = launchFor(url);
    if (launch.program.isEmpty()) {
        if (message)
            *message = launch.message;
        return false;
    }
    if (QProcess::startDetached(launch.program, launch.arguments))
        return true;
    if (message)
        *message = QStringLiteral("%1\nを表示するブラウザ %2 を起動できませんでした。")
                       .arg(pageText(url), launch.program);
    return false;
}

bool show(QWidget* parent, const QUrl& url)
{
    QString message;
    if (open(url, &message))
        return true;
    if (!message.isEmpty())
        UiSeam::messageBox(parent, message, QMessageBox::Warning);
    return false;
}

void setHook(std::function<bool(const QUrl&)> hook)
{
    testHook() = std::move(hook);
}

} // namespace WebBrowser
