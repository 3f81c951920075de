#include "core/settings_store.h"
#include "core/ui_seam.h"
#include "dialogs/check_box_dlg.h"
#include "dialogs/form_dlg.h"
#include "dialogs/line_input_dlg.h"
#include "dialogs/option_item_dlg.h"
#include "dialogs/radio_button_dlg.h"
#include "dialogs/reset_button_dlg.h"
#include "dialogs/select_dlg.h"
#include "dialogs/submit_button_dlg.h"
#include "dialogs/text_area_dlg.h"
#include "test_support.h"
#include "widgets/spin_edit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <functional>
#include <memory>

using Make = std::function<QDialog*()>;
using MakeLabelled = std::function<QDialog*(const QString& label)>;
using Fields = QList<QPair<QString, QString>>; // control name, text ("1"/"0" for buttons)
Q_DECLARE_METATYPE(Make)
Q_DECLARE_METATYPE(MakeLabelled)
Q_DECLARE_METATYPE(Fields)

// The form dialogs driven through their controls: what they remember, the
// sizes taken as typed, the label handed in from the selection, the samples.
class TestFormDlg : public QObject
{
    Q_OBJECT

    template <typename Dialog> static Make make()
    {
        return [] { return new Dialog; };
    }

    // A dialog that took label from the selection.
    template <typename Dialog> static MakeLabelled labelled()
    {
        return [](const QString& label) {
            auto* dialog = new Dialog;
            dialog->setLabel(label);
            return dialog;
        };
    }

    template <typename T = QWidget> static T* child(QWidget& dialog, const QString& name)
    {
        T* widget = dialog.findChild<T*>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

    static void fill(QDialog& dialog, const Fields& fields)
    {
        for (const auto& [name, text] : fields) {
            QWidget* w = child(dialog, name);
            if (auto* spin = qobject_cast<CSpinEdit*>(w))
                spin->setText(text);
            else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
                combo->setEditText(text);
            else if (combo)
                combo->setCurrentText(text);
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->setText(text);
            else if (auto* button = qobject_cast<QAbstractButton*>(w); button && text == "1")
                button->click();
        }
    }

    static QPushButton* okButton(QDialog& dialog)
    {
        return child<QDialogButtonBox>(dialog, QString())->button(QDialogButtonBox::Ok);
    }

    // "section|entry" of each value, read as text ("missing" when absent).
    static QStringList stored(const QStringList& keys)
    {
        QStringList values;
        for (const QString& key : keys) {
            const QStringList parts = key.split(QLatin1Char('|'));
            values.append(getProfileString(parts[0], parts[1], QStringLiteral("missing")));
        }
        return values;
    }

    QStringList m_messages;

private Q_SLOTS:
    void init()
    {
        UiSeam::setMessageHook([this](const QString& text, QMessageBox::Icon, auto) {
            m_messages.append(text);
            return QMessageBox::Ok;
        });
    }
    void cleanup()
    {
        UiSeam::setMessageHook({});
        UiSeam::setFileDialogHook({});
        m_messages.clear();
        TestSupport::clearSettings();
    }

    void rememberedOnOkOnly_data()
    {
        QTest::addColumn<Make>("dialog");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("written");

        QTest::newRow("form method and target")
            << make<CFormDlg>()
            << Fields{{"methodCombo", "GET"}, {"actionCombo", "a.cgi"}, {"targetCombo", "main"}}
            << QStringList{"History\\Form|Method", "History\\Target|History00"}
            << QStringList{"GET", "main"};
        QTest::newRow("list box area")
            << make<CSelectDlg>()
            << Fields{{"rowsEdit", "7"}, {"multipleCheck", "1"}, {"dropDownRadio", "1"}}
            << QStringList{"History\\ListBox|IsListBox", "History\\ListBox|Rows",
                           "History\\ListBox|Multiple"}
            << QStringList{"0", "7", "1"};
        QTest::newRow("line input")
            << make<CLineInputDlg>() << Fields{{"lengthEdit", "30"}, {"maxLengthEdit", ""}}
            << QStringList{"History\\LineInput|Length", "History\\LineInput|Max"}
            << QStringList{"30", ""};
        QTest::newRow("text area")
            << make<CTextAreaDlg>() << Fields{{"columnsEdit", "70"}, {"rowsEdit", "4"}}
            << QStringList{"History\\MultiLineInput|Cols", "History\\MultiLineInput|Rows"}
            << QStringList{"70", "4"};
    }
    void rememberedOnOkOnly()
    {
        QFETCH(Make, dialog);
        QFETCH(Fields, fields);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, written);
        const QStringList untouched(keys.size(), QStringLiteral("missing"));
        {
            std::unique_ptr<QDialog> dlg(dialog());
            fill(*dlg, fields);
            dlg->reject();
        }
        QCOMPARE(stored(keys), untouched);
        std::unique_ptr<QDialog> dlg(dialog());
        fill(*dlg, fields);
        okButton(*dlg)->click();
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(stored(keys), written);
    }

    // A size box takes any text, without a message, and the element and the
    // remembered value carry it as typed.
    void sizesAsTyped_data()
    {
        QTest::addColumn<Make>("dialog");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("attribute");

        QTest::newRow("length with letters")
            << make<CLineInputDlg>() << Fields{{"lengthEdit", "abc"}} << "History\\LineInput|Length"
            << " SIZE=abc ";
        QTest::newRow("maximum above the arrows' range")
            << make<CLineInputDlg>() << Fields{{"maxLengthEdit", "1000"}}
            << "History\\LineInput|Max"
            << " MAXLENGTH=1000>";
        QTest::newRow("columns below it, full-width")
            << make<CTextAreaDlg>() << Fields{{"columnsEdit", "０"}}
            << "History\\MultiLineInput|Cols"
            << " COLS=０ ";
        QTest::newRow("list box rows above 100")
            << make<CSelectDlg>() << Fields{{"listBoxRadio", "1"}, {"rowsEdit", " 101"}}
            << "History\\ListBox|Rows"
            << " SIZE= 101>";
    }
    void sizesAsTyped()
    {
        QFETCH(Make, dialog);
        QFETCH(Fields, fields);
        QFETCH(QString, key);
        QFETCH(QString, attribute);
        std::unique_ptr<QDialog> dlg(dialog());
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        fill(*dlg, fields);
        okButton(*dlg)->click();
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(stored({key}), QStringList(fields.last().second));
        QString html;
        if (auto* line = qobject_cast<CLineInputDlg*>(dlg.get()))
            html = line->resultText();
        else if (auto* area = qobject_cast<CTextAreaDlg*>(dlg.get()))
            html = area->resultText();
        else
            html = qobject_cast<CSelectDlg*>(dlg.get())->startText();
        QVERIFY2(html.contains(attribute), qPrintable(html));
    }

    void labelHandOver_data()
    {
        QTest::addColumn<MakeLabelled>("dialog");
        QTest::addColumn<QString>("firstField");
        QTest::addColumn<QString>("nextField"); // empty: the OK button

        QTest::newRow("list box item") << labelled<COptionItemDlg>() << "labelEdit"
                                       << "sentDataEdit";
        QTest::newRow("check box") << labelled<CCheckBoxDlg>() << "nameCombo"
                                   << "sentDataEdit";
        QTest::newRow("radio button") << labelled<CRadioButtonDlg>() << "nameCombo"
                                      << "sentDataEdit";
        QTest::newRow("submit button") << labelled<CSubmitButtonDlg>() << "labelEdit"
                                       << "";
        QTest::newRow("reset button") << labelled<CResetButtonDlg>() << "labelEdit"
                                      << "";
    }
    void labelHandOver()
    {
        QFETCH(MakeLabelled, dialog);
        QFETCH(QString, firstField);
        QFETCH(QString, nextField);
        for (const QString& label : {QStringLiteral("Yes"), QString()}) {
            std::unique_ptr<QDialog> dlg(dialog(label));
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
            auto* edit = child<QLineEdit>(*dlg, QStringLiteral("labelEdit"));
            QCOMPARE(edit->text(), label);
            QCOMPARE(edit->isEnabled(), label.isEmpty());
            QWidget* expected = label.isEmpty()       ? child(*dlg, firstField)
                                : nextField.isEmpty() ? okButton(*dlg)
                                                      : child(*dlg, nextField);
            QTRY_COMPARE(dlg->focusWidget(), expected);
            dlg->reject();
        }
    }

    void samplesShowTheLabel_data()
    {
        QTest::addColumn<MakeLabelled>("dialog");
        QTest::addColumn<QString>("handed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("caption");

        QTest::newRow("check box, typed") << labelled<CCheckBoxDlg>() << ""
                                          << "Yes"
                                          << "Yes";
        QTest::newRow("reset, ampersand shown") << labelled<CResetButtonDlg>() << ""
                                                << "A&B"
                                                << "A&&B";
        QTest::newRow("several lines: the first") << labelled<CSubmitButtonDlg>() << "one\r\ntwo"
                                                  << ""
                                                  << "one";
    }
    void samplesShowTheLabel()
    {
        QFETCH(MakeLabelled, dialog);
        QFETCH(QString, handed);
        QFETCH(QString, typed);
        QFETCH(QString, caption);
        std::unique_ptr<QDialog> dlg(dialog(handed));
        QTest::keyClicks(child(*dlg, QStringLiteral("labelEdit")), typed);
        QCOMPARE(child<QAbstractButton>(*dlg, QStringLiteral("sample"))->text(), caption);
    }

    void listBoxSample_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<bool>("listShown");
        QTest::addColumn<int>("visibleRows");

        QTest::newRow("drop-down list") << "dropDownRadio"
                                        << "5" << false << 5;
        QTest::newRow("list box of 3 rows") << "listBoxRadio"
                                            << "3" << true << 3;
        QTest::newRow("list box of 100 rows") << "listBoxRadio"
                                              << "100" << true << 10;
    }
    void listBoxSample()
    {
        QFETCH(QString, style);
        QFETCH(QString, rows);
        QFETCH(bool, listShown);
        QFETCH(int, visibleRows);
        CSelectDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        fill(dlg, {{style, "1"}, {"rowsEdit", rows}});
        auto* list = child<QListWidget>(dlg, QStringLiteral("listSample"));
        QCOMPARE(list->isVisible(), listShown);
        QCOMPARE(child(dlg, QStringLiteral("dropDownSample"))->isVisible(), !listShown);
        QCOMPARE(child(dlg, QStringLiteral("rowsEdit"))->isEnabled(), listShown);
        QCOMPARE((list->height() - 2 * list->frameWidth()) / list->sizeHintForRow(0), visibleRows);
    }

    void atNextOpening_data()
    {
        QTest::addColumn<QStringList>("storedValues"); // section|entry|value
        QTest::addColumn<Make>("first");
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<Make>("second");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");

        QTest::newRow("check box name in the radio button dialog, after Cancel")
            << QStringList{} << make<CCheckBoxDlg>() << Fields{{"nameCombo", "color"}}
            << make<CRadioButtonDlg>() << "nameCombo"
            << "color";
        QTest::newRow("the alphabetically first action")
            << QStringList{"History\\Form|History00|zeta.cgi", "History\\Form|History01|Alpha.cgi",
                           "History\\Form|History02|beta.cgi"}
            << Make() << Fields{} << make<CFormDlg>() << "actionCombo"
            << "Alpha.cgi";
        QTest::newRow("an unknown method") << QStringList{"History\\Form|Method|PUT"} << Make()
                                           << Fields{} << make<CFormDlg>() << "methodCombo"
                                           << "POST";
    }
    void atNextOpening()
    {
        QFETCH(QStringList, storedValues);
        QFETCH(Make, first);
        QFETCH(Fields, fields);
        QFETCH(Make, second);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        for (const QString& value : storedValues) {
            const QStringList parts = value.split(QLatin1Char('|'));
            writeProfileString(parts[0], parts[1], parts[2]);
        }
        if (first) {
            std::unique_ptr<QDialog> dlg(first());
            dlg->show();
            fill(*dlg, fields);
            dlg->reject();
        }
        std::unique_ptr<QDialog> dlg(second());
        QCOMPARE(child<QComboBox>(*dlg, control)->currentText(), shown);
    }

    void browseGivesTheBareFileName()
    {
        UiSeam::setFileDialogHook([](const UiSeam::FileDialogRequest&) {
            return QStringLiteral("/srv/www/cgi/send.cgi");
        });
        CFormDlg dlg;
        child<QAbstractButton>(dlg, QStringLiteral("browseButton"))->click();
        QCOMPARE(child<QComboBox>(dlg, QStringLiteral("actionCombo"))->currentText(),
                 QStringLiteral("send.cgi"));
    }
};

MARQUILL_TEST_MAIN(TestFormDlg)
#include "tst_form_dlg.moc"
