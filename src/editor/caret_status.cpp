#include "editor/caret_status.h"

#include "editor/my_rich_edit_view.h"

namespace CaretStatus {

QString text(int line, int column)
{
    return QString::asprintf("%10d : %5d", line, column);
}

QString text(const CMyRichEditView& view)
{
    qint64 start, end;
    view.getSel(start, end);
    const qint64 lineStart = view.displayLineStartAt(start);
    const long column = view.sci(QsciScintillaBase::SCI_COUNTCHARACTERS,
                                 static_cast<unsigned long>(lineStart), static_cast<long>(start));
    return text(view.lineFromChar(start) + 1, int(column) + 1);
}

} // namespace CaretStatus
