#include "core/settings_store.h"
#include "dialogs/font_tag_dlg.h"
#include "dialogs/heading_dlg.h"
#include "dialogs/rule_dlg.h"
#include "test_support.h"
#include "widgets/color_combo_box.h"
#include "widgets/preview_frame.h"
#include "widgets/spin_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

// The font, heading and rule dialogs driven through their controls.
class TestFontHeadingRuleDlg : public QObject
{
    Q_OBJECT

    template <typename T> static T* child(QWidget& dialog, const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    static QImage previewImage(QWidget& dialog)
    {
        // The drawing area inside the frame line.
        const QImage image = child<CPreviewFrame>(dialog, "preview")->grab().toImage();
        return image.copy(image.rect().adjusted(1, 1, -1, -1));
    }

    static int countPixels(const QImage& image, QColor color)
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == color;
        return n;
    }

    static QString header(const char* entry)
    {
        return getProfileString(QStringLiteral("History\\Header"), QLatin1String(entry),
                                QStringLiteral("missing"));
    }
    static QString bar(const char* entry)
    {
        return getProfileString(QStringLiteral("History\\HorizonBar"), QLatin1String(entry),
                                QStringLiteral("missing"));
    }
    static void setBar(const char* entry, const QVariant& value)
    {
        if (value.typeId() == QMetaType::Int)
            writeProfileInt(QStringLiteral("History\\HorizonBar"), QLatin1String(entry),
                            value.toInt());
        else
            writeProfileString(QStringLiteral("History\\HorizonBar"), QLatin1String(entry),
                               value.toString());
    }

private Q_SLOTS:
    void cleanup() { TestSupport::clearSettings(); }

    void fontOpensEmptyAndBuildsItsElement()
    {
        CFontTagDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("フォント"));
        for (int i = 0; i < 13; ++i)
            QVERIFY(!child<QRadioButton>(dlg, qPrintable(QStringLiteral("sizeButton%1").arg(i)))
                         ->isChecked());
        QCOMPARE(child<CColorComboBox>(dlg, "colorCombo")->currentIndex(), 0);
        dlg.accept();
        QCOMPARE(dlg.startText(), QStringLiteral("<FONT>"));
        QCOMPARE(dlg.endText(), QStringLiteral("</FONT>"));
    }

    void fontReadsHexColorOnOk()
    {
        for (int hex : {0, 1}) {
            writeProfileInt(QStringLiteral("Options"), QStringLiteral("HexColor"), hex);
            CFontTagDlg dlg;
            child<QRadioButton>(dlg, "sizeButton9")->click();
            child<CColorComboBox>(dlg, "colorCombo")->SelectColorName(QStringLiteral("red"));
            dlg.accept();
            QCOMPARE(dlg.startText(), hex ? QStringLiteral("<FONT SIZE=\"+1\" COLOR=\"#ff0000\">")
                                          : QStringLiteral("<FONT SIZE=\"+1\" COLOR=red>"));
        }
    }

    void fontPreviewFollowsSizeAndColor()
    {
        CFontTagDlg dlg;
        dlg.show();
        const QImage plain = previewImage(dlg);
        QCOMPARE(plain.pixelColor(plain.width() / 2, 3), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(countPixels(plain, Qt::black) > 0);

        child<QRadioButton>(dlg, "sizeButton0")->click();
        const QImage large = previewImage(dlg);
        QVERIFY(countPixels(large, Qt::black) > 2 * countPixels(plain, Qt::black));

        child<CColorComboBox>(dlg, "colorCombo")->SelectColorName(QStringLiteral("red"));
        const QImage red = previewImage(dlg);
        QCOMPARE(countPixels(red, Qt::black), 0);
        QVERIFY(countPixels(red, Qt::red) > 0);
        dlg.close();
    }

    // Tab goes through the controls as they are laid out: sizes, colour, OK.
    void fontTabOrderFollowsTheLayout()
    {
        CFontTagDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QVERIFY(qobject_cast<QRadioButton*>(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child<CColorComboBox>(dlg, "colorCombo"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->property("text").toString(), QStringLiteral("OK"));
        dlg.close();
    }

    // The sample at the largest size fits between the preview's edges.
    void fontPreviewHoldsTheLargestSample()
    {
        CFontTagDlg dlg;
        dlg.show();
        child<QRadioButton>(dlg, "sizeButton0")->click();
        const QImage image = previewImage(dlg);
        int first = image.width();
        int last = -1;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) != QColor(0xC0, 0xC0, 0xC0)) {
                    first = qMin(first, x);
                    last = x;
                }
        QVERIFY(first > 0);
        QVERIFY(last >= first && last < image.width() - 1);
        dlg.close();
    }

    void headingOpensWithRememberedChoices_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("alignIndex");
        QTest::newRow("defaults") << QString() << -99 << 2 << 0;
        QTest::newRow("above the range") << "9" << 3 << 2 << 3;
        QTest::newRow("below the range") << "-1" << 1 << 2 << 1;
        QTest::newRow("not a number") << "x" << 2 << 0 << 2;
        QTest::newRow("alignment out of the list") << "5" << 4 << 5 << -1;
    }
    void headingOpensWithRememberedChoices()
    {
        QFETCH(QString, size);
        QFETCH(int, align);
        QFETCH(int, button);
        QFETCH(int, alignIndex);
        if (!size.isNull())
            writeProfileString(QStringLiteral("History\\Header"), QStringLiteral("Size"), size);
        if (align != -99)
            writeProfileInt(QStringLiteral("History\\Header"), QStringLiteral("Align"), align);
        CHeadingDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("見出し"));
        QVERIFY(child<QRadioButton>(dlg, qPrintable(QStringLiteral("sizeButton%1").arg(button)))
                    ->isChecked());
        QCOMPARE(child<QComboBox>(dlg, "alignCombo")->currentIndex(), alignIndex);
    }

    void headingOkRemembersAndCancelDoesNot()
    {
        {
            CHeadingDlg dlg;
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<H3>"));
            QCOMPARE(dlg.endText(), QStringLiteral("</H3>"));
        }
        {
            CHeadingDlg dlg;
            child<QRadioButton>(dlg, "sizeButton0")->click();
            child<QComboBox>(dlg, "alignCombo")->setCurrentIndex(3);
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<H1 ALIGN=RIGHT>"));
            QCOMPARE(dlg.endText(), QStringLiteral("</H1>"));
        }
        QCOMPARE(header("Size"), QStringLiteral("0"));
        QCOMPARE(getProfileInt(QStringLiteral("History\\Header"), QStringLiteral("Align"), -5), 3);
        {
            CHeadingDlg dlg;
            QVERIFY(child<QRadioButton>(dlg, "sizeButton0")->isChecked());
            child<QRadioButton>(dlg, "sizeButton4")->click();
            child<QComboBox>(dlg, "alignCombo")->setCurrentIndex(1);
            dlg.reject();
        }
        QCOMPARE(header("Size"), QStringLiteral("0"));
        QCOMPARE(getProfileInt(QStringLiteral("History\\Header"), QStringLiteral("Align"), -5), 3);
    }

    void headingPreviewMovesWithAlignment()
    {
        CHeadingDlg dlg;
        dlg.show();
        const auto firstBlackColumn = [&dlg] {
            const QImage image = previewImage(dlg);
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (image.pixelColor(x, y) == QColor(Qt::black))
                        return x;
            return -1;
        };
        auto* align = child<QComboBox>(dlg, "alignCombo");
        align->setCurrentIndex(1);
        const int left = firstBlackColumn();
        QVERIFY(left >= 0 && left < 12);
        align->setCurrentIndex(2);
        const int centre = firstBlackColumn();
        align->setCurrentIndex(3);
        const int right = firstBlackColumn();
        QVERIFY(left < centre && centre < right);
        align->setCurrentIndex(0);
        QCOMPARE(firstBlackColumn(), centre);
        dlg.close();
    }

    void ruleDefaults()
    {
        CRuleDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("水平線-属性あり"));
        auto* height = child<CSpinEdit>(dlg, "heightEdit");
        auto* width = child<CSpinEdit>(dlg, "widthEdit");
        QCOMPARE(height->text(), QStringLiteral("2"));
        QCOMPARE(width->text(), QStringLiteral("100"));
        QCOMPARE(height->minimum(), 1);
        QCOMPARE(height->maximum(), 999);
        QCOMPARE(width->maximum(), 100);
        QVERIFY(child<QCheckBox>(dlg, "shadeCheck")->isChecked());
        dlg.accept();
        QCOMPARE(dlg.text(), QStringLiteral("<HR SIZE=2 WIDTH=\"100%\">"));
        QCOMPARE(bar("Size"), QStringLiteral("2"));
        QCOMPARE(bar("Width"), QStringLiteral("100"));
        QCOMPARE(bar("Percent"), QStringLiteral("1"));
        QCOMPARE(bar("3D"), QStringLiteral("1"));
        QCOMPARE(bar("Align"), QStringLiteral("0"));
    }

    void ruleRemembersWhatWasTyped()
    {
        {
            CRuleDlg dlg;
            child<CSpinEdit>(dlg, "heightEdit")->setText(QString());
            child<CSpinEdit>(dlg, "widthEdit")->setText(QStringLiteral("300"));
            child<QComboBox>(dlg, "unitCombo")->setCurrentIndex(0);
            child<QCheckBox>(dlg, "shadeCheck")->click();
            child<QComboBox>(dlg, "alignCombo")->setCurrentIndex(2);
            dlg.accept();
            QCOMPARE(dlg.text(), QStringLiteral("<HR WIDTH=300 ALIGN=CENTER NOSHADE>"));
        }
        QCOMPARE(bar("Size"), QString());
        QCOMPARE(bar("Width"), QStringLiteral("300"));
        QCOMPARE(bar("Percent"), QStringLiteral("0"));
        QCOMPARE(bar("3D"), QStringLiteral("0"));
        QCOMPARE(bar("Align"), QStringLiteral("2"));

        CRuleDlg again;
        QCOMPARE(child<CSpinEdit>(again, "heightEdit")->text(), QString());
        QCOMPARE(child<CSpinEdit>(again, "widthEdit")->maximum(), 9999);
        QVERIFY(!child<QCheckBox>(again, "shadeCheck")->isChecked());
        QCOMPARE(child<QComboBox>(again, "alignCombo")->currentIndex(), 2);
        child<CSpinEdit>(again, "widthEdit")->setText(QStringLiteral("12"));
        again.reject();
        QCOMPARE(bar("Width"), QStringLiteral("300"));
    }

    void ruleSpinStepsWithinItsRange()
    {
        setBar("Size", QStringLiteral("998"));
        CRuleDlg dlg;
        auto* height = child<CSpinEdit>(dlg, "heightEdit");
        height->stepBy(5);
        QCOMPARE(height->text(), QStringLiteral("999"));
        height->setText(QStringLiteral("abc"));
        height->stepBy(-1);
        QCOMPARE(height->text(), QStringLiteral("1"));
        height->setText(QStringLiteral("7 px"));
        height->stepBy(1);
        QCOMPARE(height->text(), QStringLiteral("8"));
    }

    void rulePreview_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("shaded");
        QTest::addColumn<bool>("notice");
        QTest::newRow("sunken") << "10" << 1 << false;
        QTest::newRow("solid") << "10" << 0 << false;
        QTest::newRow("too large") << "51" << 1 << true;
    }
    void rulePreview()
    {
        QFETCH(QString, height);
        QFETCH(int, shaded);
        QFETCH(bool, notice);
        setBar("Size", height);
        setBar("3D", shaded);
        CRuleDlg dlg;
        dlg.show();
        const QImage image = previewImage(dlg);
        const int grey = countPixels(image, QColor(0x90, 0x90, 0x90));
        const int light = countPixels(image, QColor(0xE0, 0xE0, 0xE0));
        const int black = countPixels(image, Qt::black);
        if (notice) {
            QCOMPARE(grey + light, 0);
            QVERIFY(black > 0);
        } else if (shaded) {
            QVERIFY(grey > 0 && light > 0);
            QVERIFY(grey < 2 * image.width());
        } else {
            QCOMPARE(light, 0);
            QVERIFY(grey > 9 * (image.width() - 20));
        }
        QCOMPARE(countPixels(image, Qt::black) > 0, notice);
        dlg.close();
    }

    void rulePreviewFollowsTyping()
    {
        CRuleDlg dlg;
        dlg.show();
        const QImage before = previewImage(dlg);
        QTest::keyClicks(child<CSpinEdit>(dlg, "heightEdit"), QStringLiteral("0")); // 20
        QTRY_VERIFY(previewImage(dlg) != before);
        dlg.close();
    }
};

MARQUILL_TEST_MAIN(TestFontHeadingRuleDlg)
#include "tst_font_heading_rule_dlg.moc"
