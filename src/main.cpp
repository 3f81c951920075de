#include "app/marquill_app.h"
#include "app/qt_translations.h"
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

    CMarquillApp marquill;
    if (!marquill.initInstance(app.arguments(), true))
        return marquill.handOffResult() >= 0 ? marquill.handOffResult() : 1;
    const int result = app.exec();
    marquill.exitInstance();
    return result;
}
