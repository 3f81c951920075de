#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/anchor_field_dlg.h"
#include "dialogs/doc_info_dlg.h"
#include "dialogs/link_dlg.h"
#include "test_support.h"
#include "widgets/color_combo_box.h"
#include "widgets/history_combo_box.h"
#include "widgets/history_list.h"
#include "widgets/preview_frame.h"

#include <QLineEdit>
#include <QPushButton>

// The document information dialog and the link dialogs driven through their
// controls: results, remembered colours, input histories, target history.
class TestDocInfoLinkDlg : public QObject
{
    Q_OBJECT

    template <typename T> static T* child(QWidget& dialog, const char* name)
    {
        T* widget = dialog.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    static void storeSlots(const char* section, const QStringList& values)
    {
        for (int i = 0; i < values.size(); ++i)
            writeProfileString(QLatin1String(section),
                               HistoryList::valueName(QStringLiteral("History"), i), values.at(i));
    }

    static QStringList storedSlots(const char* section, int count = 3)
    {
        QStringList values;
        for (int i = 0; i < count; ++i)
            values.append(getProfileString(QLatin1String(section),
                                           HistoryList::valueName(QStringLiteral("History"), i),
                                           QStringLiteral("missing")));
        return values;
    }

    static QString body(const char* entry)
    {
        return getProfileString(QStringLiteral("History\\Body"), QLatin1String(entry),
                                QStringLiteral("missing"));
    }

    static QStringList colorNames(CDocInfoDlg& dlg)
    {
        QStringList names;
        for (const char* name : {"bgColorCombo", "textColorCombo", "linkColorCombo",
                                 "vlinkColorCombo", "alinkColorCombo"})
            names.append(child<CColorComboBox>(dlg, name)->GetColorName());
        return names;
    }

    static QString doctype()
    {
        return QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n\r\n"
                              "<HTML>\r\n\r\n");
    }

private Q_SLOTS:
    void cleanup()
    {
        UiSeam::setFileDialogHook({});
        TestSupport::clearSettings();
    }

    void docInfoOpensWithDefaultsAndBuildsTheExample()
    {
        CDocInfoDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("文書情報の設定"));
        QCOMPARE(colorNames(dlg), (QStringList{"silver", "black", "blue", "purple", "red"}));
        QCOMPARE(child<CHistoryComboBox>(dlg, "backgroundCombo")->currentText(), QString());
        child<QLineEdit>(dlg, "titleEdit")->setText(QStringLiteral("Top"));
        dlg.accept();
        QCOMPARE(dlg.startText(),
                 doctype() + "<HEAD>\r\n<TITLE>Top</TITLE>\r\n</HEAD>\r\n\r\n"
                             "<BODY BGCOLOR=silver TEXT=black LINK=blue VLINK=purple ALINK=red>"
                             "\r\n\r\n");
        QCOMPARE(dlg.endText(), QStringLiteral("\r\n\r\n</BODY>\r\n\r\n</HTML>\r\n"));
    }

    void docInfoRemembersColorsOnOkOnly()
    {
        {
            CDocInfoDlg dlg;
            child<CColorComboBox>(dlg, "bgColorCombo")->SelectColorName(QStringLiteral("white"));
            for (const char* name :
                 {"textColorCombo", "linkColorCombo", "vlinkColorCombo", "alinkColorCombo"})
                child<CColorComboBox>(dlg, name)->setCurrentIndex(0);
            writeProfileInt(QStringLiteral("Options"), QStringLiteral("HexColor"), 1);
            dlg.accept();
            QCOMPARE(dlg.startText(), doctype() + "<BODY BGCOLOR=\"#ffffff\">\r\n\r\n");
        }
        QCOMPARE(body("BackGroundColor"), QStringLiteral("white"));
        QCOMPARE(body("TextColor"), QString());
        QCOMPARE(body("ReadingLinkTextColor"), QString());
        {
            CDocInfoDlg dlg;
            QCOMPARE(colorNames(dlg), (QStringList{"white", "", "", "", ""}));
            child<CColorComboBox>(dlg, "textColorCombo")->SelectColorName(QStringLiteral("navy"));
            dlg.reject();
        }
        QCOMPARE(body("TextColor"), QString());
    }

    void docInfoIgnoresUnknownStoredColors()
    {
        writeProfileString(QStringLiteral("History\\Body"), QStringLiteral("BackGroundColor"),
                           QStringLiteral("cyan"));
        writeProfileString(QStringLiteral("History\\Body"), QStringLiteral("TextColor"),
                           QStringLiteral("Black"));
        CDocInfoDlg dlg;
        QCOMPARE(colorNames(dlg).mid(0, 2), (QStringList{"", ""}));
        dlg.accept();
        QVERIFY(dlg.startText().endsWith(
            QStringLiteral("<BODY LINK=blue VLINK=purple ALINK=red>\r\n\r\n")));
    }

    void docInfoBackgroundHistoryIsSavedOnCancelToo()
    {
        storeSlots("History\\Body", {"old.gif"});
        {
            CDocInfoDlg dlg;
            auto* background = child<CHistoryComboBox>(dlg, "backgroundCombo");
            QCOMPARE(background->currentText(), QStringLiteral("old.gif"));
            background->setEditText(QStringLiteral("new.jpg"));
            dlg.reject();
        }
        QCOMPARE(storedSlots("History\\Body"), (QStringList{"new.jpg", "old.gif", ""}));
        QCOMPARE(body("BackGroundColor"), QStringLiteral("missing"));
        CDocInfoDlg dlg;
        dlg.accept();
        QVERIFY(dlg.startText().contains(QStringLiteral("<BODY BACKGROUND=\"new.jpg\" BGCOLOR")));
    }

    void docInfoBrowseMakesTheImageRelative_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("field");
        QTest::newRow("below the folder") << "/web/"
                                          << "/web/img/back.gif"
                                          << "img/back.gif";
        QTest::newRow("beside the folder") << "/web/sub/"
                                           << "/web/back.gif"
                                           << "../back.gif";
        QTest::newRow("document never saved") << ""
                                              << "/home/u/back.gif"
                                              << "back.gif";
        QTest::newRow("cancelled") << "/web/"
                                   << ""
                                   << "typed.gif";
    }
    void docInfoBrowseMakesTheImageRelative()
    {
        QFETCH(QString, folder);
        QFETCH(QString, chosen);
        QFETCH(QString, field);
        UiSeam::FileDialogRequest asked;
        UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest& request) {
            asked = request;
            return chosen;
        });
        CDocInfoDlg dlg;
        dlg.setDocumentFolder(folder);
        child<QLineEdit>(dlg, "titleEdit")->setText(QStringLiteral("kept"));
        child<CHistoryComboBox>(dlg, "backgroundCombo")->setEditText(QStringLiteral("typed.gif"));
        child<QPushButton>(dlg, "browseButton")->click();
        QCOMPARE(asked.title, QStringLiteral("画像ファイルを選択"));
        QVERIFY(!asked.save);
        QVERIFY(asked.filter.startsWith(QStringLiteral("画像ファイル (*.jpg *.gif)")));
        QCOMPARE(child<CHistoryComboBox>(dlg, "backgroundCombo")->currentText(), field);
        QCOMPARE(child<QLineEdit>(dlg, "titleEdit")->text(), QStringLiteral("kept"));
        dlg.reject();
    }

    void docInfoPreviewFollowsTheColors()
    {
        CDocInfoDlg dlg;
        dlg.show();
        auto* preview = child<CPreviewFrame>(dlg, "preview");
        const auto pixels = [preview](QColor color) {
            const QImage image = preview->grab().toImage();
            int n = 0;
            for (int y = 1; y < image.height() - 1; ++y)
                for (int x = 1; x < image.width() - 1; ++x)
                    n += image.pixelColor(x, y) == color;
            return n;
        };
        const QImage image = preview->grab().toImage();
        QCOMPARE(image.pixelColor(image.width() - 3, image.height() - 3), QColor(0xC0, 0xC0, 0xC0));
        QVERIFY(pixels(Qt::red) > 0);
        QVERIFY(pixels(QColor(0x80, 0x00, 0x80)) > 0);

        child<CColorComboBox>(dlg, "bgColorCombo")->SelectColorName(QStringLiteral("navy"));
        child<CColorComboBox>(dlg, "alinkColorCombo")->SelectColorName(QStringLiteral("lime"));
        const QImage after = preview->grab().toImage();
        QCOMPARE(after.pixelColor(after.width() - 3, after.height() - 3), QColor(0, 0, 0x80));
        QCOMPARE(pixels(Qt::red), 0);
        // The link texts are underlined: a full row of the link colour.
        bool underline = false;
        for (int y = 1; y < after.height() - 1 && !underline; ++y) {
            int run = 0;
            for (int x = 6; x < 30; ++x)
                run += after.pixelColor(x, y) == QColor(0, 0xFF, 0);
            underline = run == 24;
        }
        QVERIFY(underline);
        dlg.close();
    }

    void linkOpensWithHistories()
    {
        storeSlots("History\\URL", {"index.html", "a.html"});
        storeSlots("History\\Target", {"", "main", "", "menu"});
        CLinkDlg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("他のURLへリンク"));
        QCOMPARE(child<CHistoryComboBox>(dlg, "urlCombo")->currentText(),
                 QStringLiteral("index.html"));
        auto* target = child<QComboBox>(dlg, "targetCombo");
        QVERIFY(target->isEditable());
        QCOMPARE(target->currentText(), QString());
        QStringList items;
        for (int i = 0; i < target->count(); ++i)
            items.append(target->itemText(i));
        QCOMPARE(items, (QStringList{"main", "menu", "", "_blank  (新規ウィンドウ)",
                                     "_self    (自分自身)", "_top     (すべてのフレームを解除)",
                                     "_parent (フレームを１段解除)"}));
        dlg.reject();
    }

    // Long remembered entries scroll inside their boxes; the dialog keeps its size.
    void linkKeepsItsWidthWithLongHistories()
    {
        int plainWidth = 0;
        {
            CLinkDlg dlg;
            dlg.show();
            plainWidth = dlg.width();
            dlg.reject();
        }
        const QString longText(300, QLatin1Char('w'));
        storeSlots("History\\URL", {longText});
        storeSlots("History\\Target", {longText});
        CLinkDlg dlg;
        dlg.show();
        QCOMPARE(dlg.width(), plainWidth);
        QCOMPARE(child<QComboBox>(dlg, "targetCombo")->itemText(0), longText);
        dlg.reject();
    }

    void linkResolvesTheTarget_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("targets");
        QTest::newRow("predefined item")
            << "_blank  (新規ウィンドウ)"
            << "<A HREF=\"index.html\" TARGET=\"_blank\">" << QStringList{"main", "", ""};
        QTest::newRow("no target") << ""
                                   << "<A HREF=\"index.html\">" << QStringList{"main", "", ""};
        QTest::newRow("typed target")
            << "right"
            << "<A HREF=\"index.html\" TARGET=\"right\">" << QStringList{"right", "main", ""};
        QTest::newRow("bare name typed")
            << "_blank"
            << "<A HREF=\"index.html\" TARGET=\"_blank\">" << QStringList{"_blank", "main", ""};
        QTest::newRow("case differs")
            << "Main"
            << "<A HREF=\"index.html\" TARGET=\"Main\">" << QStringList{"Main", "main", ""};
    }
    void linkResolvesTheTarget()
    {
        QFETCH(QString, typed);
        QFETCH(QString, start);
        QFETCH(QStringList, targets);
        storeSlots("History\\Target", {"main"});
        CLinkDlg dlg;
        child<CHistoryComboBox>(dlg, "urlCombo")->setEditText(QStringLiteral("index.html"));
        child<QComboBox>(dlg, "targetCombo")->setEditText(typed);
        dlg.accept();
        QCOMPARE(dlg.startText(), start);
        QCOMPARE(dlg.endText(), QStringLiteral("</A>"));
        QCOMPARE(storedSlots("History\\Target"), targets);
        QCOMPARE(storedSlots("History\\URL", 1), QStringList{"index.html"});
    }

    void linkCancelKeepsTheUrlOnly()
    {
        storeSlots("History\\URL", {"old.html"});
        {
            CLinkDlg dlg;
            child<CHistoryComboBox>(dlg, "urlCombo")->setEditText(QStringLiteral("new.html"));
            child<QComboBox>(dlg, "targetCombo")->setEditText(QStringLiteral("frame1"));
            dlg.reject();
        }
        QCOMPARE(storedSlots("History\\URL"), (QStringList{"new.html", "old.html", ""}));
        QCOMPARE(storedSlots("History\\Target", 1), QStringList{"missing"});
    }

    void anchorDialogs()
    {
        {
            CBookmarkDlg dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("ブックマークの設定"));
            child<CHistoryComboBox>(dlg, "fieldCombo")->setEditText(QStringLiteral("top"));
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<A NAME=\"top\">"));
            QCOMPARE(dlg.endText(), QStringLiteral("</A>"));
        }
        {
            // The bookmark set above is offered for a link within the document.
            CSameDocLinkDlg dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("同一文書内へのリンク"));
            QCOMPARE(child<CHistoryComboBox>(dlg, "fieldCombo")->currentText(),
                     QStringLiteral("top"));
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<A HREF=\"#top\">"));
        }
        {
            CMailLinkDlg dlg;
            QCOMPARE(dlg.windowTitle(), QStringLiteral("メールの送信先"));
            QCOMPARE(child<CHistoryComboBox>(dlg, "fieldCombo")->currentText(), QString());
            child<CHistoryComboBox>(dlg, "fieldCombo")->setEditText(QStringLiteral("x@example.jp"));
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<A HREF=\"mailto:x@example.jp\">"));
        }
        QCOMPARE(storedSlots("History\\Mail", 1), QStringList{"x@example.jp"});
        {
            CBookmarkDlg dlg;
            child<CHistoryComboBox>(dlg, "fieldCombo")->setEditText(QString());
            dlg.accept();
            QCOMPARE(dlg.startText(), QStringLiteral("<A NAME=\"\">"));
        }
        QCOMPARE(storedSlots("History\\Bookmark"), (QStringList{"top", "", ""}));
    }
};

MARQUILL_TEST_MAIN(TestDocInfoLinkDlg)
#include "tst_doc_info_link_dlg.moc"
