#include "resources/command_table.h"
#include "resources/icons.h"
#include "test_support.h"

#include <QSet>

// Every toolbar button has an image of its own, drawn sharp at 1x and 2x, and
// the program icon ships at every size the desktop asks for.
class TestIcons : public QObject
{
    Q_OBJECT

private:
    static int drawnPixels(const QImage& image)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qAlpha(image.pixel(x, y)) > 0;
        return n;
    }

private Q_SLOTS:
    void everyButtonHasItsOwnImage()
    {
        QSet<QByteArray> seen;
        for (const auto& button : Resources::toolbarButtons()) {
            const QByteArray id = QByteArray::number(button.commandId);
            const QIcon icon = Resources::toolbarIcon(button.commandId);
            QVERIFY2(!icon.isNull(), id);
            for (int size : {16, 32}) {
                const QImage image = icon.pixmap(size, size).toImage();
                QVERIFY2(image.size() == QSize(size, size), id);
                QVERIFY2(drawnPixels(image) > size * size / 16, id);
            }
            const QImage small =
                icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
            const QByteArray pixels(reinterpret_cast<const char*>(small.constBits()),
                                    small.sizeInBytes());
            QVERIFY2(!seen.contains(pixels), id + " looks like another button");
            seen.insert(pixels);
        }
    }

    void imagesAreDrawnAgainAtDoubleRatio()
    {
        // A scalable image gives twice the pixels on a 2x screen instead of
        // blowing up the 16 px one.
        const QPixmap pixmap = Resources::toolbarIcon(35005).pixmap(QSize(16, 16), 2.0);
        QCOMPARE(pixmap.size(), QSize(32, 32));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    }

    void commandsWithoutButtonHaveNoImage()
    {
        QVERIFY(Resources::toolbarIcon(0).isNull());
        QVERIFY(Resources::toolbarIcon(32842).isNull());
    }

    void programIconAtEverySize()
    {
        const QIcon icon = Resources::programIcon();
        for (int size : Resources::programIconSizes()) {
            const QString file = QStringLiteral(":/icons/app/marquill-%1.png").arg(size);
            QCOMPARE(QImage(file).size(), QSize(size, size));
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
        const QIcon scalable(QStringLiteral(":/icons/app/marquill.svg"));
        QCOMPARE(scalable.pixmap(512, 512).size(), QSize(512, 512));
    }
};

MARQUILL_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
