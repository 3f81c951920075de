#include "dialogs/number_field.h"

#include "core/ui_seam.h"
#include "dialogs/html/table_text.h"
#include "widgets/spin_edit.h"

#include <QLineEdit>

NumberFieldCheck checkNumberField(const QString& fieldName, const QString& text, int minimum,
                                  int maximum)
{
    // Compatibility folding turns full-width digits and blanks into ASCII.
    const QString folded = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (folded.isEmpty())
        return {true, QString(), QString()};
    const std::optional<int> number = parseDialogInteger(folded);
    if (number && *number >= minimum && *number <= maximum)
        return {true, QString::number(*number), QString()};
    return {false, QString(),
            QStringLiteral("「%1」には %2 から %3 までの整数を入力してください。")
                .arg(fieldName)
                .arg(minimum)
                .arg(maximum)};
}

bool acceptNumberField(QWidget* dialog, CSpinEdit* box, const QString& fieldName, QString* value)
{
    const NumberFieldCheck check =
        checkNumberField(fieldName, box->text(), box->minimum(), box->maximum());
    if (!check.ok) {
        UiSeam::messageBox(dialog, check.message, QMessageBox::Information);
        box->setFocus();
        box->selectAll();
        return false;
    }
    *value = check.value;
    return true;
}
