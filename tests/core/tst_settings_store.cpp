#include "test_support.h"

#include "core/settings_store.h"

#include <QSaveFile>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { TestSupport::clearSettings(); }

    // Fault: the file read once and never again, so the user's own edits of
    // it (or a value they removed) are ignored until the next start.
    void changeFromOutsideIsReadAgain()
    {
        const IntSetting width{"Window", "Width", 0};
        width.write(1);
        QCOMPARE(width.read(), 1);
        const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tollbury"), QStringLiteral("Marquill"))
                                 .fileName();
        const struct
        {
            QByteArray text;
            int expected;
        } changes[] = {
            {"[Window]\nWidth=22\n", 22},
            // Not the size of the text before: a rewrite of the same size within
            // the file system's time granularity looks unchanged to QSettings.
            {"[Window]\nHeight=50\n", 0},
        };
        for (const auto& change : changes) {
            // Written as another program would, not through a settings object.
            QSaveFile save(file);
            QVERIFY(save.open(QIODevice::WriteOnly));
            save.write(change.text);
            QVERIFY(save.commit());
            QTRY_COMPARE(width.read(), change.expected);
        }
        // A write after them still reaches the file.
        width.write(7);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("Width=7"));
    }
};

MARQUILL_TEST_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
