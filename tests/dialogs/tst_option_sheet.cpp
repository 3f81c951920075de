#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/option_sheet.h"
#include "dialogs/option_values.h"
#include "test_support.h"
#include "widgets/font_choice_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTranslator>

// The options sheet over the "Options" and "Font" settings: what it shows
// for stored values, what OK writes, that Cancel writes nothing, and the
// font dialog's size and style rules.
class TestOptionSheet : public QObject
{
    Q_OBJECT

private:
    // A control's state as one number: a check box 0/1, a list its row.
    static int shown(const COptionSheet& sheet, const QString& objectName)
    {
        if (auto* check = sheet.findChild<QCheckBox*>(objectName))
            return check->isChecked() ? 1 : 0;
        if (auto* combo = sheet.findChild<QComboBox*>(objectName))
            return combo->currentIndex();
        return -100;
    }

    static QStringList storedKeys()
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
                    QStringLiteral("Marquill"));
        return s.allKeys();
    }

    static void store(const QString& key, const QVariant& value)
    {
        const QStringList parts = key.split(QLatin1Char('/'));
        if (value.typeId() == QMetaType::QString)
            writeProfileString(parts[0], parts[1], value.toString());
        else
            writeProfileInt(parts[0], parts[1], value.toInt());
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Qt's Japanese texts rename the font styles ("Bold" is "太字").
        auto* translator = new QTranslator(this);
        if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                             QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
    }
    void init() { TestSupport::clearSettings(); }
    void cleanup() { UiSeam::setDialogHook({}); }

    // What each control shows for a stored value; a missing value shows
    // the sheet's default, and a value it cannot show a sane one.
    void showsStoredValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored"); // invalid: missing
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("expected");
        QTest::newRow("FileNew missing") << "Options/FileNew" << QVariant() << "fileNewCheck" << 0;
        QTest::newRow("FileNew set") << "Options/FileNew" << QVariant(1) << "fileNewCheck" << 1;
        QTest::newRow("Dialog missing: checked")
            << "Options/Dialog" << QVariant() << "dialogCheck" << 1;
        QTest::newRow("Dialog off") << "Options/Dialog" << QVariant(0) << "dialogCheck" << 0;
        QTest::newRow("BrowserShow missing")
            << "Options/BrowserShow" << QVariant() << "browserShowCombo" << 0;
        QTest::newRow("BrowserShow 2")
            << "Options/BrowserShow" << QVariant(2) << "browserShowCombo" << 1;
        QTest::newRow("BrowserShow 3")
            << "Options/BrowserShow" << QVariant(3) << "browserShowCombo" << 2;
        QTest::newRow("BrowserShow 7 unknown")
            << "Options/BrowserShow" << QVariant(7) << "browserShowCombo" << 0;
        QTest::newRow("DefaultFolder missing")
            << "Options/DefaultFolder" << QVariant() << "defaultFolderCheck" << 1;
        QTest::newRow("Recovery missing")
            << "Options/Recovery" << QVariant() << "recoveryCheck" << 1;
        QTest::newRow("Recovery off") << "Options/Recovery" << QVariant(0) << "recoveryCheck" << 0;
        QTest::newRow("SmallLetter off")
            << "Options/SmallLetter" << QVariant(0) << "smallLetterCheck" << 0;
        QTest::newRow("StringSelect missing")
            << "Options/StringSelect" << QVariant() << "stringSelectCheck" << 1;
        QTest::newRow("GetTagMessageBox missing")
            << "Options/GetTagMessageBox" << QVariant() << "getTagMessageBoxCheck" << 1;
        QTest::newRow("AutoColor off")
            << "Options/AutoColor" << QVariant(0) << "autoColorCheck" << 0;
        QTest::newRow("HexColor any non-zero")
            << "Options/HexColor" << QVariant(-5) << "hexColorCheck" << 1;
        QTest::newRow("Flatbar missing") << "Options/Flatbar" << QVariant() << "flatbarCheck" << 0;
        QTest::newRow("OwnerDraw missing")
            << "Options/OwnerDraw" << QVariant() << "ownerDrawCheck" << 1;
        QTest::newRow("Date missing") << "Options/Date" << QVariant() << "dateCombo" << 3;
        QTest::newRow("Date 11") << "Options/Date" << QVariant(11) << "dateCombo" << 11;
        QTest::newRow("Date too large: the last row the date command uses")
            << "Options/Date" << QVariant(99) << "dateCombo" << 15;
        QTest::newRow("Date negative") << "Options/Date" << QVariant(-1) << "dateCombo" << 0;
        QTest::newRow("CheckAccessibility beyond level 3")
            << "Options/CheckAccessibility" << QVariant(7) << "accessibilityCombo" << 3;
        QTest::newRow("CheckWarnings missing")
            << "Options/CheckWarnings" << QVariant() << "warningsCheck" << 1;
        // A page being written is not trusted until the user says so.
        QTest::newRow("PreviewTrusted missing")
            << "Options/PreviewTrusted" << QVariant() << "previewTrustedCheck" << 0;
    }
    void showsStoredValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, control);
        QFETCH(int, expected);
        if (stored.isValid())
            store(key, stored);
        COptionSheet sheet;
        QCOMPARE(shown(sheet, control), expected);
    }

    // OK writes every value, touched or not, with the sheet's defaults for
    // missing ones and a sane value for one it could not show.
    void okWritesEveryValue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("written");
        QTest::newRow("Dialog") << "Options/Dialog" << QVariant() << QVariant(1);
        QTest::newRow("BrowserShow") << "Options/BrowserShow" << QVariant() << QVariant(5);
        QTest::newRow("HexColor non-zero") << "Options/HexColor" << QVariant(9) << QVariant(1);
        QTest::newRow("TagColor blue") << "Font/TagColor" << QVariant() << QVariant(0xFF0000);
        QTest::newRow("TagColor kept")
            << "Font/TagColor" << QVariant(0x123456) << QVariant(0x123456);
        QTest::newRow("TagColor beyond 24 bits")
            << "Font/TagColor" << QVariant(0x7000000) << QVariant(0xFF0000);
        QTest::newRow("empty face") << "Font/QuoteFaceName" << QVariant(QString())
                                    << QVariant(QStringLiteral("ＭＳ ゴシック"));
        QTest::newRow("height zero") << "Font/TagHeight" << QVariant(0) << QVariant(240);
        QTest::newRow("height huge") << "Font/TagHeight" << QVariant(1000000) << QVariant(240);
        QTest::newRow("unknown effect bits dropped")
            << "Font/QuoteEffects" << QVariant(6) << QVariant(2);
        QTest::newRow("browser program, blanks around dropped")
            << "Options/BrowserProgram" << QVariant(QStringLiteral(" firefox -P x "))
            << QVariant(QStringLiteral("firefox -P x"));
    }
    void okWritesEveryValue()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, written);
        if (stored.isValid())
            store(key, stored);
        COptionSheet sheet;
        sheet.accept();
        QCOMPARE(storedKeys().size(), 32);
        const QStringList parts = key.split(QLatin1Char('/'));
        if (written.typeId() == QMetaType::QString)
            QCOMPARE(getProfileString(parts[0], parts[1], QStringLiteral("?")), written.toString());
        else
            QCOMPARE(getProfileInt(parts[0], parts[1], -1), written.toInt());
    }

    void cancelWritesNothing()
    {
        writeProfileInt("Options", "Date", 99);
        COptionSheet sheet;
        for (QCheckBox* box : sheet.findChildren<QCheckBox*>())
            box->click();
        sheet.findChild<QComboBox*>(QStringLiteral("dateCombo"))->setCurrentIndex(4);
        sheet.reject();
        QCOMPARE(storedKeys(), QStringList{QStringLiteral("Options/Date")});
        QCOMPARE(getProfileInt("Options", "Date", 0), 99);
    }

    // The own-drawing box follows the flat box's state but keeps its check.
    void ownerDrawIsEnabledOnlyWithFlatToolbars()
    {
        writeProfileInt("Options", "Flatbar", 1);
        COptionSheet sheet;
        auto* flat = sheet.findChild<QCheckBox*>(QStringLiteral("flatbarCheck"));
        auto* own = sheet.findChild<QCheckBox*>(QStringLiteral("ownerDrawCheck"));
        QVERIFY(own->isEnabled());
        flat->click();
        QVERIFY(!own->isEnabled());
        QVERIFY(own->isChecked());
        sheet.accept();
        QCOMPARE(getProfileInt("Options", "OwnerDraw", -1), 1);
        QCOMPARE(getProfileInt("Options", "Flatbar", -1), 0);
    }

    // Fonts apply at once: only the pages whose settings wait for the next
    // start say that they do.
    void notesSayWhatWaitsForTheNextStart()
    {
        COptionSheet sheet;
        auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("optionTabs"));
        QStringList waiting;
        for (int page = 0; page < tabs->count(); ++page)
            for (QLabel* label : tabs->widget(page)->findChildren<QLabel*>())
                if (label->text().contains(QStringLiteral("次回起動時から有効")))
                    waiting << tabs->tabText(page);
        QCOMPARE(waiting, (QStringList{"タグ", "エディタ"}));
    }

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages whichever control has the
    // focus: an edit on a page or a button below the pages.
    void ctrlTabTurnsThePages()
    {
        COptionSheet sheet;
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        auto* tabs = sheet.findChild<QTabWidget*>(QStringLiteral("optionTabs"));
        auto* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        auto* sample = sheet.findChild<QLineEdit*>(QStringLiteral("dateSample"));
        const int last = tabs->count() - 1;
        const struct
        {
            int from;
            QWidget* focus;
            Qt::KeyboardModifiers modifiers;
            int page;
        } steps[] = {{0, ok, Qt::ControlModifier, 1},
                     {2, sample, Qt::ControlModifier, 3},
                     {last, ok, Qt::ControlModifier, 0},
                     {0, ok, Qt::ControlModifier | Qt::ShiftModifier, last}};
        for (const auto& step : steps) {
            tabs->setCurrentIndex(step.from);
            step.focus->setFocus();
            QTest::keyClick(step.focus, Qt::Key_Tab, step.modifiers);
            QCOMPARE(tabs->currentIndex(), step.page);
        }
    }

    void dateSampleFollowsTheSelectedRow()
    {
        COptionSheet sheet;
        auto* combo = sheet.findChild<QComboBox*>(QStringLiteral("dateCombo"));
        auto* sample = sheet.findChild<QLineEdit*>(QStringLiteral("dateSample"));
        combo->setCurrentIndex(3);
        QCOMPARE(sample->text(), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
        combo->setCurrentIndex(7);
        QCOMPARE(sample->text(), QDate::currentDate().toString(QStringLiteral("yyyy年MM月dd日")));
    }

    // The font dialog's choice as stored: size in tenths of a point times
    // two, bold only for weight 700, italic as bit 1.
    void chosenFontIsStored_data()
    {
        QTest::addColumn<qreal>("points");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("effects");
        QTest::newRow("12 pt plain") << 12.0 << 400 << false << 240 << 0;
        QTest::newRow("14 pt bold italic") << 14.0 << 700 << true << 280 << 3;
        QTest::newRow("extra bold is not bold") << 10.0 << 800 << false << 200 << 0;
        QTest::newRow("semi bold is not bold") << 9.0 << 600 << true << 180 << 2;
        QTest::newRow("10.5 pt") << 10.5 << 700 << false << 210 << 1;
    }
    void chosenFontIsStored()
    {
        QFETCH(qreal, points);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        QFETCH(int, height);
        QFETCH(int, effects);
        QFont font(QStringLiteral("Noto Sans CJK JP"));
        font.setPointSizeF(points);
        font.setWeight(QFont::Weight(weight));
        font.setItalic(italic);
        font.setUnderline(true);
        const FontValues stored = OptionRules::fromChosenFont(font, QColor(0x12, 0x34, 0x56));
        QCOMPARE(QList<int>({stored.height, stored.effects, stored.color}),
                 QList<int>({height, effects, 0x563412}));
    }

    // A stored font as the font dialog starts from it.
    void storedFontAsScreenFont_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("effects");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::newRow("240 plain") << 240 << 0 << 12.0 << 400 << false;
        QTest::newRow("280 bold italic") << 280 << 3 << 14.0 << 700 << true;
        QTest::newRow("odd height rounds down") << 241 << 2 << 12.0 << 400 << true;
        QTest::newRow("tiny") << 1 << 1 << 0.1 << 700 << false;
    }
    void storedFontAsScreenFont()
    {
        QFETCH(int, height);
        QFETCH(int, effects);
        QFETCH(qreal, points);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        const QFont font =
            OptionRules::screenFont({QStringLiteral("ＭＳ ゴシック"), height, 0, effects});
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(int(font.weight()), weight);
        QCOMPARE(font.italic(), italic);
    }

    // The font buttons run the font dialog through the seam; OK there
    // changes the page's font, OK on the sheet stores it.
    void fontButtonStoresTheChosenFont()
    {
        QFont chosenFace;
        UiSeam::setDialogHook([&](QDialog& dialog) {
            auto* fonts = qobject_cast<CFontChoiceDialog*>(&dialog);
            if (!fonts)
                return int(QDialog::Rejected);
            chosenFace = fonts->currentFont();
            QFont font(QStringLiteral("Noto Sans CJK JP"));
            font.setPointSize(14);
            font.setBold(true);
            fonts->setCurrentFont(font);
            fonts->setColor(QColor(0xAB, 0xCD, 0xEF));
            return int(QDialog::Accepted);
        });
        COptionSheet sheet;
        sheet.findChild<QPushButton*>(QStringLiteral("quoteFontButton"))->click();
        // The dialog started from the stored face, 12 points, bold.
        QCOMPARE(chosenFace.family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(chosenFace.pointSize(), 12);
        QVERIFY(chosenFace.bold());
        sheet.accept();
        QCOMPARE(getProfileInt("Font", "QuoteHeight", 0), 280);
        QCOMPARE(getProfileInt("Font", "QuoteEffects", 0), 1);
        QCOMPARE(getProfileInt("Font", "QuoteColor", 0), 0xEFCDAB);
        QCOMPARE(getProfileInt("Font", "TagHeight", 0), 240);
    }
};

MARQUILL_TEST_MAIN(TestOptionSheet)
#include "tst_option_sheet.moc"
