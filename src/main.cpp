#include "app/marquill_app.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tollbury"));
    QApplication::setApplicationName(QStringLiteral("Marquill"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"),
                              QStringLiteral("Noto Sans Mono CJK JP"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"),
                              QStringLiteral("Noto Sans CJK JP"));

    CMarquillApp marquill;
    if (!marquill.InitInstance(app.arguments()))
        return 1;
    const int result = app.exec();
    marquill.ExitInstance();
    return result;
}
