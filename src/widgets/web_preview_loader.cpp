#include "widgets/web_preview_loader.h"

#include "widgets/web_preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace WebPreviewLoader {
namespace {
const QString kFileName = QStringLiteral("marquill_web_preview.so");
} // namespace

CWebPreviewFactory* load(const QStringList& folders, QString& why)
{
    QString path;
    for (const QString& folder : folders) {
        const QString candidate = QDir(folder).filePath(kFileName);
        if (QFileInfo::exists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.isEmpty()) {
        why = QStringLiteral("プレビューの部品 %1 が見つかりません（探した場所: %2）。")
                  .arg(kFileName, folders.join(QStringLiteral(", ")));
        return nullptr;
    }
    // Never unloaded: Qt WebEngine cannot be started twice in one process.
    auto* loader = new QPluginLoader(path, qApp);
    QObject* root = loader->instance();
    auto* factory = qobject_cast<CWebPreviewFactory*>(root);
    if (!factory) {
        // Typically Qt WebEngine itself is not installed.
        why = QStringLiteral("プレビューの部品 %1 を読み込めません: %2")
                  .arg(path, root ? QStringLiteral("種類が違います") : loader->errorString());
        return nullptr;
    }
    why = factory->unavailable();
    return why.isEmpty() ? factory : nullptr;
}

QStringList defaultFolders()
{
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir::cleanPath(here + QStringLiteral("/../lib/marquill"))};
}

CWebPreviewFactory* factory(QString& why, const QStringList& folders)
{
    static bool tried = false;
    static CWebPreviewFactory* loaded = nullptr;
    static QString reason;
    if (!tried) {
        tried = true;
        loaded = load(folders, reason);
    }
    why = reason;
    return loaded;
}

} // namespace WebPreviewLoader
