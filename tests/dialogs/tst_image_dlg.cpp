// The image dialog driven through its controls: the tag it builds, the
// enabling of the spacing, the sample pictures, the size reading and the
// browse button, and the file name history.

#include "test_support.h"

#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/html/sample_pictures.h"
#include "dialogs/image_dlg.h"
#include "widgets/spin_edit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QByteArray gifBytes(int width, int height)
{
    QByteArray b("GIF89a");
    for (int v : {width & 0xFF, width >> 8, height & 0xFF, height >> 8, 0, 0, 0})
        b.append(char(v));
    return b;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

template <typename T> T* child(QDialog& dlg, const char* name)
{
    T* w = dlg.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void pressOk(QDialog& dlg)
{
    dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

bool samePicture(const QLabel* label, const QPixmap& expected)
{
    return label->pixmap().toImage() == expected.toImage();
}

} // namespace

class TestImageDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void resultFromControls_data();
    void resultFromControls();
    void spacingAndPictureFollowAlignment();
    void startsEmptyWithPixelsAndRanges();
    void readsSizeBesideTheDocument_data();
    void readsSizeBesideTheDocument();
    void unsupportedFileKeepsSizeButResetsUnits();
    void unreadableSizeIsReported();
    void missingFileKeepsEverything();
    void browseGivesRelativeReferenceAndSize();
    void browseWithoutDocumentFolderUsesBareName();
    void cancelledBrowseChangesNothing();
    void historyIsWrittenOnOkAndCancel();

private:
    QStringList m_messages;
    QTemporaryDir m_dir;
};

void TestImageDlg::init()
{
    TestSupport::clearSettings();
    m_messages.clear();
    UiSeam::setMessageHook([this](const QString& text, QMessageBox::Icon, auto) {
        m_messages.append(text);
        return QMessageBox::Ok;
    });
}

void TestImageDlg::cleanup()
{
    UiSeam::setMessageHook({});
    UiSeam::setFileDialogHook({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
            std::none_of(QApplication::topLevelWidgets().cbegin(),
                         QApplication::topLevelWidgets().cend(),
                         [](QWidget* w) { return w->isVisible(); }));
}

void TestImageDlg::resultFromControls_data()
{
    QTest::addColumn<QStringList>("fields"); // source, alt, width, height, border, vspace, hspace
    QTest::addColumn<int>("widthUnit");
    QTest::addColumn<int>("heightUnit");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("expected");

    QTest::newRow("source only") << QStringList{"a.gif", "", "", "", "", "", ""} << 0 << 0 << 0
                                 << "<IMG SRC=\"a.gif\">";
    QTest::newRow("everything in pixels")
        << QStringList{"img/a.gif", "ロゴ", "320", "200", "0", "", ""} << 0 << 0 << 2
        << "<IMG SRC=\"img/a.gif\" ALT=\"ロゴ\" WIDTH=320 HEIGHT=200 BORDER=0 ALIGN=middle>";
    QTest::newRow("width 50 percent") << QStringList{"a.gif", "", "50", "", "", "", ""} << 1 << 0
                                      << 0 << "<IMG SRC=\"a.gif\" WIDTH=\"50%\">";
    QTest::newRow("flow right with horizontal space only")
        << QStringList{"a.gif", "", "", "", "", "", "5"} << 0 << 0 << 4
        << "<IMG SRC=\"a.gif\" ALIGN=left HSPACE=5>";
    QTest::newRow("flow left with both spaces")
        << QStringList{"a.gif", "", "", "", "", "3", "4"} << 0 << 1 << 5
        << "<IMG SRC=\"a.gif\" ALIGN=right HSPACE=4 VSPACE=3>";
    QTest::newRow("spaces typed for top alignment are left out")
        << QStringList{"a.gif", "", "", "", "", "3", "4"} << 0 << 0 << 1
        << "<IMG SRC=\"a.gif\" ALIGN=top>";
    QTest::newRow("bottom") << QStringList{"a.gif", "", "", "", "", "", ""} << 0 << 0 << 3
                            << "<IMG SRC=\"a.gif\" ALIGN=bottom>";
}

void TestImageDlg::resultFromControls()
{
    QFETCH(QStringList, fields);
    QFETCH(int, widthUnit);
    QFETCH(int, heightUnit);
    QFETCH(int, alignment);
    QFETCH(QString, expected);

    CImageDlg dlg;
    // Spaces are typed first, while the group is enabled, then the alignment
    // is chosen: what a disabled box holds is still never written.
    child<QRadioButton>(dlg, "align4")->click();
    child<QComboBox>(dlg, "source")->setEditText(fields[0]);
    child<QLineEdit>(dlg, "alternativeText")->setText(fields[1]);
    child<CSpinEdit>(dlg, "width")->setText(fields[2]);
    child<CSpinEdit>(dlg, "height")->setText(fields[3]);
    child<CSpinEdit>(dlg, "border")->setText(fields[4]);
    child<CSpinEdit>(dlg, "verticalSpace")->setText(fields[5]);
    child<CSpinEdit>(dlg, "horizontalSpace")->setText(fields[6]);
    child<QComboBox>(dlg, "widthUnit")->setCurrentIndex(widthUnit);
    child<QComboBox>(dlg, "heightUnit")->setCurrentIndex(heightUnit);
    child<QRadioButton>(dlg, qPrintable(QStringLiteral("align%1").arg(alignment)))->click();
    pressOk(dlg);
    QCOMPARE(dlg.resultText(), expected);
}

void TestImageDlg::spacingAndPictureFollowAlignment()
{
    CImageDlg dlg;
    auto* spacing = child<QGroupBox>(dlg, "spacingGroup");
    auto* preview = child<QLabel>(dlg, "preview");
    QVERIFY(!spacing->isEnabled());
    QVERIFY(samePicture(preview, SamplePictures::imageAlignment(0)));
    for (int a : {4, 1, 5, 3, 0, 2}) {
        child<QRadioButton>(dlg, qPrintable(QStringLiteral("align%1").arg(a)))->click();
        QCOMPARE(spacing->isEnabled(), a == 4 || a == 5);
        QVERIFY(!spacing->isEnabled() || child<CSpinEdit>(dlg, "verticalSpace")->isEnabled());
        QVERIFY(samePicture(preview, SamplePictures::imageAlignment(a)));
    }
    // Every alignment has a picture of its own.
    for (int a = 0; a < 6; ++a)
        for (int b = a + 1; b < 6; ++b)
            QVERIFY(SamplePictures::imageAlignment(a).toImage() !=
                    SamplePictures::imageAlignment(b).toImage());
}

void TestImageDlg::startsEmptyWithPixelsAndRanges()
{
    CImageDlg dlg;
    QVERIFY(child<QRadioButton>(dlg, "align0")->isChecked());
    QCOMPARE(child<QComboBox>(dlg, "widthUnit")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(dlg, "heightUnit")->currentText(), QStringLiteral("ピクセル"));
    QCOMPARE(child<QComboBox>(dlg, "heightUnit")->itemText(1),
             QStringLiteral("% (ウィンドウに対して)"));
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QString());
    QCOMPARE(child<QComboBox>(dlg, "source")->currentText(), QString());
    QCOMPARE(child<CSpinEdit>(dlg, "width")->maximum(), 1999);
    QCOMPARE(child<CSpinEdit>(dlg, "height")->minimum(), 1);
    QCOMPARE(child<CSpinEdit>(dlg, "border")->maximum(), 999);
    QCOMPARE(child<CSpinEdit>(dlg, "horizontalSpace")->minimum(), 0);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("イメージの設定"));

    // The file name box is where typing starts.
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QWidget* source = child<QComboBox>(dlg, "source");
    QVERIFY(dlg.focusWidget() == source || dlg.focusWidget()->parentWidget() == source);
    dlg.reject();
}

void TestImageDlg::readsSizeBesideTheDocument_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("sourceSuffix");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::newRow("gif in a sub-folder") << "images/a.gif"
                                         << "images/a.gif" << gifBytes(320, 200) << "320"
                                         << "200";
    QTest::newRow("reference from the site's root") << "images/b.gif"
                                                    << "/images/b.gif" << gifBytes(64, 48) << "64"
                                                    << "48";
    QFile jpeg(QStringLiteral(MARQUILL_SOURCE_DIR "/tests/data/progressive123x45.jpg"));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    QTest::newRow("progressive jpeg, absolute source") << "p.jpg"
                                                       << "" << jpeg.readAll() << "123"
                                                       << "45";
}

void TestImageDlg::readsSizeBesideTheDocument()
{
    QFETCH(QString, file);
    QFETCH(QString, sourceSuffix);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, width);
    QFETCH(QString, height);
    const QString folder = m_dir.path() + QLatin1Char('/');
    writeFile(folder + file, bytes);

    CImageDlg dlg;
    dlg.setDocumentFolder(folder);
    child<QComboBox>(dlg, "source")
        ->setEditText(sourceSuffix.isEmpty() ? folder + file : sourceSuffix);
    child<CSpinEdit>(dlg, "width")->setText(QStringLiteral("9"));
    child<QComboBox>(dlg, "widthUnit")->setCurrentIndex(1);
    child<QComboBox>(dlg, "heightUnit")->setCurrentIndex(1);
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(m_messages, QStringList());
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), width);
    QCOMPARE(child<CSpinEdit>(dlg, "height")->text(), height);
    QCOMPARE(child<QComboBox>(dlg, "widthUnit")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(dlg, "heightUnit")->currentIndex(), 0);
}

void TestImageDlg::unsupportedFileKeepsSizeButResetsUnits()
{
    const QString folder = m_dir.path() + QLatin1Char('/');
    writeFile(folder + "x.png", QByteArray("\x89PNG\r\n\x1a\n0000000000000000", 24));
    CImageDlg dlg;
    dlg.setDocumentFolder(folder);
    child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("x.png"));
    child<CSpinEdit>(dlg, "width")->setText(QStringLiteral("40"));
    child<CSpinEdit>(dlg, "height")->setText(QStringLiteral("30"));
    child<QComboBox>(dlg, "widthUnit")->setCurrentIndex(1);
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(m_messages, QStringList{QStringLiteral("この形式のファイルはサポートしていません。")});
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("40"));
    QCOMPARE(child<CSpinEdit>(dlg, "height")->text(), QStringLiteral("30"));
    QCOMPARE(child<QComboBox>(dlg, "widthUnit")->currentIndex(), 0);
}

void TestImageDlg::unreadableSizeIsReported()
{
    const QString folder = m_dir.path() + QLatin1Char('/');
    writeFile(folder + "cut.gif", QByteArray("GIF89a\x01", 7));
    CImageDlg dlg;
    dlg.setDocumentFolder(folder);
    child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("cut.gif"));
    child<CSpinEdit>(dlg, "width")->setText(QStringLiteral("40"));
    child<QComboBox>(dlg, "heightUnit")->setCurrentIndex(1);
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].contains(QStringLiteral("サイズ")));
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("40"));
    QCOMPARE(child<QComboBox>(dlg, "heightUnit")->currentIndex(), 0);
}

void TestImageDlg::missingFileKeepsEverything()
{
    const QString folder = m_dir.path() + QLatin1Char('/');
    CImageDlg dlg;
    dlg.setDocumentFolder(folder);
    child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("none/b.gif"));
    child<CSpinEdit>(dlg, "width")->setText(QStringLiteral("40"));
    child<QComboBox>(dlg, "widthUnit")->setCurrentIndex(1);
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(m_messages, QStringList{folder + QStringLiteral("none/b.gif が見つかりません。")});
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("40"));
    QCOMPARE(child<QComboBox>(dlg, "widthUnit")->currentIndex(), 1);

    // A folder is no image file either.
    m_messages.clear();
    child<QComboBox>(dlg, "source")->setEditText(QString());
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(child<QComboBox>(dlg, "widthUnit")->currentIndex(), 1);
}

void TestImageDlg::browseGivesRelativeReferenceAndSize()
{
    const QString folder = m_dir.path() + QLatin1Char('/');
    const QString picture = folder + QStringLiteral("pics/写真.gif");
    writeFile(picture, gifBytes(64, 48));
    UiSeam::FileDialogRequest seen;
    UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest& r) {
        seen = r;
        return picture;
    });
    CImageDlg dlg;
    dlg.setDocumentFolder(folder);
    child<QComboBox>(dlg, "heightUnit")->setCurrentIndex(1);
    child<QPushButton>(dlg, "browse")->click();
    QCOMPARE(seen.title, QStringLiteral("画像ファイルを選択"));
    QVERIFY(!seen.save);
    QVERIFY(seen.filter.startsWith(QStringLiteral("画像ファイル (*.gif *.jpg *.jpeg);;")));
    QCOMPARE(child<QComboBox>(dlg, "source")->currentText(), QStringLiteral("pics/写真.gif"));
    QCOMPARE(child<QLineEdit>(dlg, "alternativeText")->text(), QStringLiteral("写真.gif"));
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("64"));
    QCOMPARE(child<CSpinEdit>(dlg, "height")->text(), QStringLiteral("48"));
    QCOMPARE(child<QComboBox>(dlg, "heightUnit")->currentIndex(), 0);
    QCOMPARE(m_messages, QStringList());
    pressOk(dlg);
    QCOMPARE(dlg.resultText(),
             QStringLiteral("<IMG SRC=\"pics/写真.gif\" ALT=\"写真.gif\" WIDTH=64 HEIGHT=48>"));
}

// An untitled document has no folder: the bare file name is used, and its
// size is still read from the file that was chosen.
void TestImageDlg::browseWithoutDocumentFolderUsesBareName()
{
    const QString picture = m_dir.path() + QStringLiteral("/elsewhere/b.gif");
    writeFile(picture, gifBytes(7, 9));
    UiSeam::setFileDialogHook([&](const UiSeam::FileDialogRequest&) { return picture; });
    CImageDlg dlg;
    child<QPushButton>(dlg, "browse")->click();
    QCOMPARE(child<QComboBox>(dlg, "source")->currentText(), QStringLiteral("b.gif"));
    QCOMPARE(child<QLineEdit>(dlg, "alternativeText")->text(), QStringLiteral("b.gif"));
    QCOMPARE(m_messages, QStringList());
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("7"));
    child<CSpinEdit>(dlg, "width")->setText(QString());
    child<QPushButton>(dlg, "readSize")->click();
    QCOMPARE(child<CSpinEdit>(dlg, "width")->text(), QStringLiteral("7"));
}

void TestImageDlg::cancelledBrowseChangesNothing()
{
    UiSeam::setFileDialogHook([](const UiSeam::FileDialogRequest&) { return QString(); });
    CImageDlg dlg;
    child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("keep.gif"));
    child<QLineEdit>(dlg, "alternativeText")->setText(QStringLiteral("alt"));
    child<QPushButton>(dlg, "browse")->click();
    QCOMPARE(child<QComboBox>(dlg, "source")->currentText(), QStringLiteral("keep.gif"));
    QCOMPARE(child<QLineEdit>(dlg, "alternativeText")->text(), QStringLiteral("alt"));
    QCOMPARE(m_messages, QStringList());
}

void TestImageDlg::historyIsWrittenOnOkAndCancel()
{
    writeProfileString(QStringLiteral("History\\Image"), QStringLiteral("History00"),
                       QStringLiteral("old.gif"));
    {
        CImageDlg dlg;
        QCOMPARE(child<QComboBox>(dlg, "source")->currentText(), QStringLiteral("old.gif"));
        child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("cancelled.gif"));
        dlg.reject();
    }
    QCOMPARE(getProfileString(QStringLiteral("History\\Image"), QStringLiteral("History00")),
             QStringLiteral("cancelled.gif"));
    {
        CImageDlg dlg;
        child<QComboBox>(dlg, "source")->setEditText(QStringLiteral("new.gif"));
        pressOk(dlg);
    }
    QCOMPARE(getProfileString(QStringLiteral("History\\Image"), QStringLiteral("History00")),
             QStringLiteral("new.gif"));
    QCOMPARE(getProfileString(QStringLiteral("History\\Image"), QStringLiteral("History01")),
             QStringLiteral("cancelled.gif"));
    QCOMPARE(getProfileString(QStringLiteral("History\\Image"), QStringLiteral("History02")),
             QStringLiteral("old.gif"));
}

MARQUILL_TEST_MAIN(TestImageDlg)
#include "tst_image_dlg.moc"
