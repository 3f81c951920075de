#include "test_support.h"

#include "core/settings_patch.h"
#include "core/settings_store.h"

namespace {

using Values = QList<QPair<QString, QVariant>>;

// Every key of an INI file with its value, as QSettings reads it.
QMap<QString, QVariant> readAll(const QString& file)
{
    QSettings settings(file, QSettings::IniFormat);
    QMap<QString, QVariant> all;
    for (const QString& key : settings.allKeys())
        all.insert(key, settings.value(key));
    return all;
}

bool write(const QString& file, const QByteArray& text)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace

class TestSettingsPatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsQSettings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Values>("values");

        const QByteArray file = "[History]\nURL\\History01=http://a/\nURL\\History02=http://b/\n\n"
                                "[Options]\nDate=3\nPath=/usr/bin\n\n"
                                "[Recent%20File%20List]\nFile1=/home/u/a.htm\n";
        QTest::newRow("replaced") << file << Values{{"Options/Date", 5}};
        QTest::newRow("added to its section") << file << Values{{"Options/Hex", 1}};
        QTest::newRow("new section") << file << Values{{"Tag/TagView0", "<B>"}};
        QTest::newRow("removed") << file << Values{{"History/URL/History02", QVariant()}};
        QTest::newRow("removing a missing key") << file << Values{{"Options/Gone", QVariant()}};
        QTest::newRow("section with blanks in its name")
            << file
            << Values{{"Recent File List/File1", "/b.htm"}, {"Recent File List/File2", "/c.htm"}};
        QTest::newRow("escaped value")
            << file << Values{{"History/URL/History01", "a;b,c=\"d\"\t\\n\n日本語 "}};
        QTest::newRow("bytes") << file
                               << Values{{"Recent File List/File1", QByteArray("/\x83y.htm")}};
        QTest::newRow("several sections at once")
            << file
            << Values{{"Options/Date", 1}, {"History/URL/History03", "x"}, {"Font/Size", 240}};
        QTest::newRow("section written twice")
            << QByteArray("[Options]\nDate=1\n\n[Tag]\nA=1\n\n[Options]\nPath=/x\n")
            << Values{{"Options/Path", "/y"}, {"Options/New", 2}};
        QTest::newRow("no final line end, blanks around =")
            << QByteArray("[Options]\nDate = 1\nPath=/x")
            << Values{{"Options/Date", 2}, {"A/B", 3}};
        QTest::newRow("line ends CR LF")
            << QByteArray("[Options]\r\nDate=1\r\nPath=/x\r\n") << Values{{"Options/Date", 2}};
    }

    // Catches a patch that loses or changes another key, puts a key in the
    // wrong section, or writes a value that reads back otherwise than the one
    // QSettings itself would have written.
    void sameAsQSettings()
    {
        QFETCH(QByteArray, file);
        QFETCH(Values, values);
        QTemporaryDir dir;
        const QString patched = dir.filePath(QStringLiteral("patched.conf"));
        const QString rewritten = dir.filePath(QStringLiteral("rewritten.conf"));
        QVERIFY(write(patched, file));
        QVERIFY(write(rewritten, file));
        QVERIFY(SettingsPatch::apply(patched, values));
        {
            QSettings settings(rewritten, QSettings::IniFormat);
            for (const auto& [key, value] : values) {
                if (value.isValid())
                    settings.setValue(key, value);
                else
                    settings.remove(key);
            }
        }
        QCOMPARE(readAll(patched), readAll(rewritten));
    }

    // Catches a value read back stale after a patch: QSettings keeps what it
    // read and reads again only when the file's size or time differs, which a
    // patch of the same size within the same moment would not change.
    void largeStoreReadsBackWhatItWrote()
    {
        const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tollbury"), QStringLiteral("Marquill"))
                                 .fileName();
        QDir().mkpath(QFileInfo(file).absolutePath());
        QVERIFY(write(file, "[Junk]\nText=" + QByteArray(SettingsPatch::kThreshold, 'j') +
                                "\n\n[Options]\nDate=1\n"));
        QCOMPARE(getProfileInt("Options", "Date", 0), 1);
        for (int date = 2; date <= 9; ++date) {
            QVERIFY(writeProfileValues(
                {{"Options", "Date", date}, {"History\\URL", "History01", "u"}}));
            QCOMPARE(getProfileInt("Options", "Date", 0), date);
        }
        QCOMPARE(getProfileString("History\\URL", "History01"), QStringLiteral("u"));
        QVERIFY(QFileInfo(file).size() < 2 * SettingsPatch::kThreshold);
    }
};

MARQUILL_TEST_MAIN(TestSettingsPatch)
#include "tst_settings_patch.moc"
