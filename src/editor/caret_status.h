#pragma once

#include <QString>

class CMyRichEditView;

// The caret's place as the status bar shows it: the displayed line and the
// column in it (in characters), both from 1, right-aligned in fields of 10
// and 5 ("%10d : %5d").
namespace CaretStatus {

QString text(int line, int column);

// The text for the start of the view's selection. Costs no more than the
// displayed line holding it.
QString text(const CMyRichEditView& view);

} // namespace CaretStatus
