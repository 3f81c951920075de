#include "test_support.h"

#include <QDirIterator>
#include <QRegularExpression>

// The folders under src/ are layers, and includes only point down:
//
//   app        application object, start-up, single instance
//   frame      main frame, document windows, menus
//   commands   glue that runs a dialog for a view and applies its result
//   dialogs    each dialog: values in, plain values out, no view; the HTML
//              they build in dialogs/html
//   editor     views, and the pure editing rules in editor/rules
//   document   document, document base, file reading and writing
//   widgets    reusable parts that know no document or view
//   core       command routing, dialog seam, settings store
//   resources  the command table and the other resource tables
//
// A layer may include itself and any layer below it; a subfolder belongs to
// the layer of its top folder (editor/rules is editor). core and resources
// are both at the bottom: core may include resources (command ids),
// resources includes nothing else. main.cpp, at the top of src/, may include
// anything.
namespace {

const QStringList kLayers = {
    QStringLiteral("resources"), QStringLiteral("core"),   QStringLiteral("widgets"),
    QStringLiteral("document"),  QStringLiteral("editor"), QStringLiteral("dialogs"),
    QStringLiteral("commands"),  QStringLiteral("frame"),  QStringLiteral("app")};

// The layer of a path below src/ ("editor/marquill_view.h" is in editor);
// the top of src/ itself is above every layer.
int rankOf(const QString& folder)
{
    return folder.isEmpty() ? int(kLayers.size()) : int(kLayers.indexOf(folder));
}

// Empty when a file in folder `from` may include one in folder `to`;
// otherwise why not.
QString refusal(const QString& from, const QString& to)
{
    const int fromRank = rankOf(from);
    const int toRank = rankOf(to);
    if (fromRank < 0)
        return QStringLiteral("%1 is no layer").arg(from);
    if (toRank < 0 || to.isEmpty())
        return QStringLiteral("%1 is no layer").arg(to.isEmpty() ? QStringLiteral("src/") : to);
    if (toRank > fromRank)
        return QStringLiteral("%1 lies above %2").arg(to, from);
    return QString();
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void directions_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("within a layer") << "editor"
                                        << "editor" << true;
        QTest::newRow("core on the resources") << "core"
                                               << "resources" << true;
        QTest::newRow("resources on core") << "resources"
                                           << "core" << false;
        QTest::newRow("widgets on core") << "widgets"
                                         << "core" << true;
        QTest::newRow("a widget on the document") << "widgets"
                                                  << "document" << false;
        QTest::newRow("document on the editor") << "document"
                                                << "editor" << false;
        QTest::newRow("editor on the document") << "editor"
                                                << "document" << true;
        QTest::newRow("a dialog on a view") << "dialogs"
                                            << "editor" << true;
        QTest::newRow("a view on the commands") << "editor"
                                                << "commands" << false;
        QTest::newRow("commands on the dialogs") << "commands"
                                                 << "dialogs" << true;
        QTest::newRow("frame on the application") << "frame"
                                                  << "app" << false;
        QTest::newRow("application on the frame") << "app"
                                                  << "frame" << true;
        QTest::newRow("main.cpp on the application") << ""
                                                     << "app" << true;
        QTest::newRow("a folder that is no layer") << "extras"
                                                   << "core" << false;
        QTest::newRow("onto a folder that is no layer") << "app"
                                                        << "extras" << false;
    }
    void directions()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, allowed);
        QCOMPARE(refusal(from, to).isEmpty(), allowed);
    }

    // Every #include "..." under src/ points to its own layer or one below.
    void includesPointDown()
    {
        const QDir src(QStringLiteral(MARQUILL_SOURCE_DIR "/src"));
        QVERIFY(src.exists());
        static const QRegularExpression include(
            QStringLiteral("^\\s*#\\s*include\\s*\"([^\"]+)\""));
        QStringList broken;
        int includes = 0;
        QDirIterator it(src.path(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = src.relativeFilePath(it.next());
            const QString folder =
                path.contains(QLatin1Char('/')) ? path.section(QLatin1Char('/'), 0, 0) : QString();
            QFile file(src.filePath(path));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            int line = 0;
            while (!file.atEnd()) {
                ++line;
                const QRegularExpressionMatch m = include.match(QString::fromUtf8(file.readLine()));
                if (!m.hasMatch())
                    continue;
                ++includes;
                const QString target = m.captured(1);
                // A bare name is found beside the including file.
                const QString to = target.contains(QLatin1Char('/'))
                                       ? target.section(QLatin1Char('/'), 0, 0)
                                       : folder;
                const QString why = refusal(folder, to);
                if (!why.isEmpty())
                    broken << QStringLiteral("src/%1:%2: includes \"%3\": %4")
                                  .arg(path)
                                  .arg(line)
                                  .arg(target, why);
            }
        }
        QVERIFY(includes > 0);
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
    }
};

MARQUILL_TEST_MAIN(TestLayers)
#include "tst_layers.moc"
