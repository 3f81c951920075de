#include "core/program_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFiles {

QString locate(const QString& name)
{
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {dir + QLatin1Char('/') + name, dir + QStringLiteral("/../share/marquill/") + name}) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                  QStringLiteral("marquill/") + name);
}

} // namespace ProgramFiles
