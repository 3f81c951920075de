#include "core/settings_store.h"
#include "test_support.h"
#include "widgets/color_combo_box.h"
#include "widgets/color_table.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSet>

// The colour table and the colour picker built on it.
class TestColorComboBox : public QObject
{
    Q_OBJECT

    static QImage renderItem(int value, bool highlighted)
    {
        QImage image(120, CColorComboBox::kItemHeight, QImage::Format_RGB32);
        image.fill(Qt::green);
        QPainter painter(&image);
        QPalette palette;
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
        CColorComboBox::paintColorItem(painter, image.rect(), value, highlighted, palette);
        return image;
    }

private Q_SLOTS:
    void cleanup() { TestSupport::clearSettings(); }

    void entryZeroIsNotSelected()
    {
        QCOMPARE(colorEntry(0).value, -1);
        QCOMPARE(QLatin1String(colorEntry(0).name), QLatin1String("not selected"));
    }

    // Qt knows the SVG / CSS colour keywords: each value must be the standard one.
    void valuesAreTheCssKeywordValues()
    {
        QSet<int> values;
        for (int i = 1; i < kColorTableSize; ++i) {
            const ColorEntry& entry = colorEntry(i);
            const QColor css = QColor::fromString(QLatin1String(entry.name));
            QVERIFY2(css.isValid(), entry.name);
            const int expected = css.red() | (css.green() << 8) | (css.blue() << 16);
            QVERIFY2(entry.value == expected, entry.name);
            values.insert(entry.value);
        }
        QCOMPARE(values.size(), kColorTableSize - 1);
    }

    void synonymsAreAbsent()
    {
        for (const char* name : {"cyan", "magenta", "darkgrey", "darkslategrey", "dimgrey", "grey",
                                 "lightgray", "lightslategrey", "slategrey"})
            QCOMPARE(ColorFromName(QLatin1String(name)), -1);
        QVERIFY(ColorFromName(QStringLiteral("lightgrey")) != -1);
    }

    void lookups()
    {
        QCOMPARE(ColorFromName(QStringLiteral("silver")), 0xC0C0C0);
        QCOMPARE(ColorFromName(QStringLiteral("aliceblue")), 0xFFF8F0);
        QCOMPARE(ColorFromName(QStringLiteral("Silver")), -1);
        QCOMPARE(ColorFromName(QString()), -1);
        QCOMPARE(colorNameFromValue(0x0000FF), QStringLiteral("red"));
        QCOMPARE(colorNameFromValue(-1), QStringLiteral("not selected"));
        QCOMPARE(colorNameFromValue(0x123456), QStringLiteral("undefined"));
        QCOMPARE(colorHexFromValue(ColorFromName(QStringLiteral("chocolate"))),
                 QStringLiteral("d2691e"));
    }

    void attributeFollowsHexColorAtEachCall()
    {
        QCOMPARE(colorAttributeValue(QStringLiteral("aliceblue")), QStringLiteral("aliceblue"));
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("HexColor"), 1);
        QCOMPARE(colorAttributeValue(QStringLiteral("aliceblue")), QStringLiteral("\"#f0f8ff\""));
        QCOMPARE(colorAttributeValue(QStringLiteral("silver")), QStringLiteral("\"#c0c0c0\""));
        QCOMPARE(colorAttributeValue(QString()), QString());
        writeProfileInt(QStringLiteral("Options"), QStringLiteral("HexColor"), 0);
        QCOMPARE(colorAttributeValue(QStringLiteral("silver")), QStringLiteral("silver"));
        QCOMPARE(colorAttributeValue(QString()), QString());
    }

    void comboListsTheTableAndSelectsByName()
    {
        CColorComboBox combo;
        QCOMPARE(combo.count(), kColorTableSize);
        QVERIFY(!combo.isEditable());
        QCOMPARE(combo.currentIndex(), 0);
        QCOMPARE(combo.GetColorName(), QString());
        QCOMPARE(combo.itemData(10).toInt(), colorEntry(10).value);

        combo.SelectColorName(QStringLiteral("aliceblue"));
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(combo.GetColorName(), QStringLiteral("aliceblue"));
        QCOMPARE(combo.GetColorHex(), QStringLiteral("f0f8ff"));

        combo.SelectColorName(QStringLiteral("yellowgreen"));
        QCOMPARE(combo.currentIndex(), kColorTableSize - 1);
        for (const QString& unknown :
             {QStringLiteral("cyan"), QStringLiteral("Silver"), QString()}) {
            combo.SelectColorName(QStringLiteral("red"));
            combo.SelectColorName(unknown);
            QCOMPARE(combo.currentIndex(), 0);
            QCOMPARE(combo.GetColorName(), QString());
        }

        combo.setCurrentIndex(-1);
        QCOMPARE(combo.GetColorName(), QString());
    }

    void fillingAgainDoesNotDuplicate()
    {
        CColorComboBox combo;
        combo.SelectColorName(QStringLiteral("navy"));
        combo.FillColors();
        QCOMPARE(combo.count(), kColorTableSize);
        QCOMPARE(combo.currentIndex(), 0);
    }

    // Rows are 16 pixels high, or taller where the font's line needs it; the
    // name stands whole in the middle of its row, in the list and in the box.
    void namesAreDrawnWholeInTheMiddle_data()
    {
        QTest::addColumn<int>("pixels"); // the font's size
        QTest::newRow("small font, 16-pixel rows") << 9;
        QTest::newRow("font taller than 16 pixels") << 22;
    }
    void namesAreDrawnWholeInTheMiddle()
    {
        QFETCH(int, pixels);
        CColorComboBox combo;
        QFont font = combo.view()->font();
        font.setPixelSize(pixels);
        combo.view()->setFont(font);
        QStyleOptionViewItem option;
        option.initFrom(combo.view());
        const int height =
            combo.view()->itemDelegate()->sizeHint(option, combo.model()->index(5, 0)).height();
        QVERIFY(height >= 16 && height >= QFontMetrics(font).height());
        if (pixels < 12)
            QCOMPARE(height, 16);

        QImage image(120, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        // A name reaching up (l, h, t) and down (g, y).
        CColorComboBox::paintColorItem(painter, image.rect(), ColorFromName("lightgoldenrodyellow"),
                                       false, QPalette(Qt::white, Qt::white));
        painter.end();
        int first = height, last = -1; // rows with ink of the name
        for (int y = 0; y < height; ++y)
            for (int x = 20; x < 120; ++x)
                if (image.pixelColor(x, y).lightness() < 128)
                    first = qMin(first, y), last = qMax(last, y);
        QVERIFY(first > 0 && last < height - 1); // nothing cut at either edge
        QVERIFY2(qAbs(first - (height - 1 - last)) <= qMax(2, pixels / 4),
                 qPrintable(QStringLiteral("%1..%2 of %3").arg(first).arg(last).arg(height)));
    }

    void swatchIsFramedAndFilled()
    {
        const QImage image = renderItem(ColorFromName(QStringLiteral("red")), false);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));   // background
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));   // frame corner
        QCOMPARE(image.pixelColor(14, 14), QColor(Qt::black)); // frame, 14 x 14
        QCOMPARE(image.pixelColor(15, 15), QColor(Qt::white)); // outside the frame
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::red));     // fill
        QCOMPARE(image.pixelColor(13, 13), QColor(Qt::red));
        bool textDrawn = false; // the name starts at x = 20
        for (int x = 15; x < 20; ++x)
            for (int y = 0; y < 16; ++y)
                QVERIFY(image.pixelColor(x, y) == QColor(Qt::white));
        for (int x = 20; x < 60 && !textDrawn; ++x)
            for (int y = 2; y < 16; ++y)
                textDrawn = textDrawn || image.pixelColor(x, y).lightness() < 128;
        QVERIFY(textDrawn);
    }

    // "not selected" is hatched with lines running down from left to right.
    void noColorIsHatched()
    {
        const QImage image = renderItem(-1, false);
        // Two colours, constant along every falling diagonal.
        QSet<QRgb> colours;
        for (int y = 2; y < 14; ++y)
            for (int x = 2; x < 14; ++x)
                colours.insert(image.pixel(x, y));
        QCOMPARE(colours.size(), 2);
        for (int y = 2; y < 13; ++y)
            for (int x = 2; x < 13; ++x)
                QCOMPARE(image.pixel(x, y), image.pixel(x + 1, y + 1));
    }

    void highlightedItemUsesSelectionColors()
    {
        const QImage image = renderItem(ColorFromName(QStringLiteral("white")), true);
        QCOMPARE(image.pixelColor(17, 8), QColor(0, 0, 128));
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
    }
};

MARQUILL_TEST_MAIN(TestColorComboBox)
#include "tst_color_combo_box.moc"
