#include "core/ui_seam.h"
#include "test_support.h"

#include <QLabel>
#include <QTimer>

// The real message box, as the user sees it when no test hook answers.
class TestUiSeam : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void messageShowsTagsAsTyped()
    {
        const QString text =
            QStringLiteral("挟むタグ : <span class=\"x\"> ～ </span> を取り込みました。");
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                format = label->textFormat();
                shown = label->text();
            }
            box->done(QMessageBox::Ok);
        });
        UiSeam::messageBox(nullptr, text, QMessageBox::Information, QMessageBox::Ok);
        QCOMPARE(shown, text);
        QCOMPARE(format, Qt::PlainText);
    }
};

MARQUILL_TEST_MAIN(TestUiSeam)
#include "tst_ui_seam.moc"
