#pragma once

#include "dialogs/html/element_html.h"

#include <QString>

// The HTML the form dialogs build, as pure functions of the user's choices.
// Tag and attribute names are upper case (the view lowers them on insertion
// when asked to); line breaks are CR LF; the user's texts are copied as
// given, never escaped. Number texts (sizes, rows, columns) are written bare.

// The form area: METHOD unquoted, ACTION always, TARGET only when given.
WrapTexts formTexts(const QString& method, const QString& action, const QString& target);

// The list box area. rows is used in list box style only; an empty name or
// row count leaves its attribute out.
struct SelectChoice
{
    QString name;
    bool listBox = true;
    QString rows;
    bool multiple = false;
};
WrapTexts selectTexts(const SelectChoice& choice);

// One item of a list box: its sent data in the tag, its label after it.
QString optionItemText(const QString& sentData, const QString& label);

// The one-line text input. NAME is always written; an empty length or
// maximum leaves its attribute out; a password field never carries a value.
struct LineInputChoice
{
    QString name;
    QString value;
    QString length;
    QString maxLength;
    bool password = false;
};
QString lineInputText(const LineInputChoice& choice);

// The multi-line text input, closing tag included.
QString textAreaText(const QString& name, const QString& columns, const QString& rows);

// A check box or a radio button with its label after the tag. NAME and VALUE
// are always written.
enum class ChoiceInputKind { CheckBox, Radio };
struct ChoiceInput
{
    QString name;
    QString value;
    bool checked = false;
    QString label;
};
QString choiceInputText(ChoiceInputKind kind, const ChoiceInput& input);

// A submit or reset button whose label is its VALUE.
enum class ButtonInputKind { Submit, Reset };
QString buttonInputText(ButtonInputKind kind, const QString& label);
