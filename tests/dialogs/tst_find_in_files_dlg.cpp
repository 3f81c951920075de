#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/find_in_files_dlg.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

class TestFindInFilesDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void accept_data();
    void accept();
    void folderComesFromDocumentThenLastUse();

private:
    QTemporaryDir m_dir;
};

// OK with the values as typed: the message that refuses them (the dialog
// stays open and stores nothing), or none.
void TestFindInFilesDlg::accept_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("types");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("message");

    const QString folder = m_dir.path();
    QTest::newRow("accepted") << "a(b" << folder << "*.htm" << false << "";
    // A search started for an empty text, a missing folder or no file type.
    QTest::newRow("no text") << "" << folder << "*.htm" << false
                             << "検索する文字列を入力してください。";
    QTest::newRow("missing folder")
        << "a" << folder + "/none"
        << "*.htm" << false << "フォルダー「" + folder + "/none」が見つかりません。";
    QTest::newRow("no type")
        << "a" << folder << " ; " << false
        << "ファイルの種類を入力してください (例: *.htm;*.html;*.shtml;*.stm)。";
    // A pattern with an error handed to the search, which would find nothing.
    QTest::newRow("bad pattern")
        << "a(b" << folder << "*.htm" << true
        << "正規表現の終わりに誤りがあります。\n閉じかっこ ) が足りません。";
}

void TestFindInFilesDlg::accept()
{
    QFETCH(QString, text);
    QFETCH(QString, folder);
    QFETCH(QString, types);
    QFETCH(bool, regex);
    QFETCH(QString, message);
    TestSupport::clearSettings();
    QString shown;
    UiSeam::setMessageHook(
        [&](const QString& text, QMessageBox::Icon, QMessageBox::StandardButtons) {
            shown = text;
            return QMessageBox::Ok;
        });

    CFindInFilesDlg dialog(QString{});
    dialog.findChild<QComboBox*>("findText")->setEditText(text);
    dialog.findChild<QLineEdit*>("folderEdit")->setText(folder);
    dialog.findChild<QComboBox*>("fileTypes")->setEditText(types);
    dialog.findChild<QCheckBox*>("regex")->setChecked(regex);
    dialog.findChild<QCheckBox*>("subfolders")->setChecked(false);
    dialog.accept();
    UiSeam::setMessageHook({});

    QCOMPARE(shown, message);
    QCOMPARE(dialog.result() == QDialog::Accepted, message.isEmpty());
    QCOMPARE(getProfileInt("History\\FindInFiles", "SubFolder", 1), message.isEmpty() ? 0 : 1);
}

// Catches: the last folder used taking the place of the active document's,
// or nothing offered when there is no document.
void TestFindInFilesDlg::folderComesFromDocumentThenLastUse()
{
    writeProfileString("History\\FindInFiles", "Folder", "/last/used");
    QCOMPARE(CFindInFilesDlg("/doc/folder/").findChild<QLineEdit*>("folderEdit")->text(),
             QStringLiteral("/doc/folder"));
    QCOMPARE(CFindInFilesDlg(QString{}).findChild<QLineEdit*>("folderEdit")->text(),
             QStringLiteral("/last/used"));
}

MARQUILL_TEST_MAIN(TestFindInFilesDlg)
#include "tst_find_in_files_dlg.moc"
