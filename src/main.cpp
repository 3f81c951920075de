#include "app/marquill_app.h"
#include "app/qt_translations.h"
#include "core/file_names.h"
#include "editor/editor_fonts.h"
#include "resources/icons.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tollbury"));
    QApplication::setApplicationName(QStringLiteral("Marquill"));
    // Ties the windows to the installed desktop entry (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("marquill"));
    QApplication::setWindowIcon(Resources::programIcon());
    QtTranslations::install();
    EditorFonts::registerSubstitutions();

    // The arguments as given, not as Qt reads them: a file name that is not
    // UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(FileNames::decode(QByteArray(argv[i])));
    CMarquillApp marquill;
    if (!marquill.initInstance(arguments, true))
        return marquill.handOffResult() >= 0 ? marquill.handOffResult() : 1;
    const int result = app.exec();
    marquill.exitInstance();
    return result;
}
