#include "app/qt_translations.h"
#include "core/ui_seam.h"
#include "test_support.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// The texts Qt draws itself appear in Japanese, like the program's own.
class TestQtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(QtTranslations::install()); }

    // The question asked before closing a modified document.
    void saveQuestionHasJapaneseButtons()
    {
        QStringList texts;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            for (QAbstractButton* b : box->buttons())
                texts.append(b->text());
            box->button(QMessageBox::No)->click();
        });
        const auto answer = UiSeam::messageBox(
            nullptr, QStringLiteral("無題 への変更を保存しますか？"), QMessageBox::Warning,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        QCOMPARE(answer, QMessageBox::No);
        texts.sort();
        QStringList expected{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"),
                             QStringLiteral("キャンセル")};
        expected.sort();
        QCOMPARE(texts, expected);
    }

    void fileDialogIsJapanese()
    {
        QFileDialog dialog(nullptr, QStringLiteral("開く"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels.append(label->text());
        QVERIFY2(labels.contains(QStringLiteral("ファイル名(&N):")), qPrintable(labels.join('|')));
    }
};

MARQUILL_TEST_MAIN(TestQtTranslations)
#include "tst_qt_translations.moc"
