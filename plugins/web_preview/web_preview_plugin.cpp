#include "page_scheme.h"
#include "web_engine_preview.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QObject>
#include <QOpenGLContext>
#include <unistd.h>

// Qt's own hook for the context every OpenGL context shares with, which Qt
// WebEngine needs; Qt creates it at start only for programs that ask for it
// (Qt::AA_ShareOpenGLContexts), at a cost to every start.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

// The plugin's entry: makes previews, and readies Qt WebEngine before the
// first one.
class CWebEnginePreviewFactory : public QObject, public CWebPreviewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID CWebPreviewFactory_iid)
    Q_INTERFACES(CWebPreviewFactory)

public:
    QString unavailable() const override;
    CWebPreview* createPreview(QWidget* parent) override;

private:
    bool m_ready = false;
};

QString CWebEnginePreviewFactory::unavailable() const
{
    // Qt WebEngine ends the program when it misses these, so they are looked
    // for first.
    const QString process = qEnvironmentVariableIsSet("QTWEBENGINEPROCESS_PATH")
                                ? qEnvironmentVariable("QTWEBENGINEPROCESS_PATH")
                                : QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                                      QStringLiteral("/QtWebEngineProcess");
    if (!QFileInfo(process).isExecutable())
        return QStringLiteral("Qt WebEngine のプログラム %1 が見つかりません。").arg(process);
    const QString resources = QLibraryInfo::path(QLibraryInfo::DataPath) +
                              QStringLiteral("/resources/qtwebengine_resources.pak");
    if (!QFileInfo::exists(resources))
        return QStringLiteral("Qt WebEngine のデータ %1 が見つかりません。").arg(resources);
    return QString();
}

CWebPreview* CWebEnginePreviewFactory::createPreview(QWidget* parent)
{
    if (!m_ready) {
        // Chromium refuses to start its sandbox for root; the program run as
        // root (as in a container) then goes without it.
        if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!QOpenGLContext::globalShareContext()) {
            auto* shared = new QOpenGLContext(qApp);
            shared->create();
            qt_gl_set_global_share_context(shared);
        }
        // Qt WebEngine reports its graphics set-up on every start.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        PageScheme::registerScheme();
        m_ready = true;
    }
    return new CWebEnginePreview(parent);
}

#include "web_preview_plugin.moc"
