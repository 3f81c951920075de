// The view's tag commands: the direct wrap and insert commands, the date,
// the colour refresh and the four tag tools.

#include "core/options.h"
#include "core/ui_seam.h"
#include "editor/auto_select.h"
#include "editor/close_tag.h"
#include "editor/control_text.h"
#include "editor/date_format.h"
#include "editor/marquill_view.h"
#include "editor/tag_capture.h"
#include "resources/command_ids.h"
#include "resources/resource_tables.h"

#include <QDateTime>
#include <QMouseEvent>

void CMarquillView::registerTagCommands()
{
    for (const Resources::DirectCommand& command : Resources::directCommands()) {
        if (command.id == Cmd::Date)
            continue;
        if (command.wrap) {
            onCommand(command.id,
                      [this, command] { WrapSelection(command.startOrText, command.end, true); });
        } else {
            onCommand(command.id, [this, command] { InsertText(command.startOrText, true); });
        }
    }
    onCommand(Cmd::Date, [this] {
        InsertText(DateFormat::dateText(Options::kDate.read(), QDateTime::currentDateTime()),
                   false);
    });
    onCommand(Cmd::RefreshColors, [this] { colorWholeDocument(); });
    onCommand(Cmd::AutoSelect, [this] { autoSelect(); });
    onCommand(Cmd::CaptureTag, [this] { captureTags(); });
    onCommand(Cmd::ReinsertTag, [this] { reinsertTags(); });
    onUpdate(Cmd::ReinsertTag,
             [this](CCmdUI& ui) { ui.enable(!m_lastStart.isEmpty() || !m_lastEnd.isEmpty()); });
    onCommand(Cmd::CloseLastTag, [this] { closeLastUnclosedTag(); });
}

void CMarquillView::autoSelect()
{
    qint64 s, e;
    getSel(s, e);
    const AutoSelectRange range = autoSelectRange(ControlText::whole(*this), s);
    if (range.found)
        setSel(range.start, range.end);
}

void CMarquillView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The press before it has put the caret where the user clicked.
    if (event->button() == Qt::LeftButton) {
        autoSelect();
        event->accept();
        return;
    }
    CMyRichEditView::mouseDoubleClickEvent(event);
}

void CMarquillView::captureTags()
{
    useMainRangeOnly();
    const TagCapture capture = ::captureTags(selectedBytes());
    if (capture.kind == TagCapture::None) {
        UiSeam::messageBox(this,
                           QStringLiteral("タグの取り込みに失敗しました。\n"
                                          "タグを含むように範囲選択して下さい。"),
                           QMessageBox::Critical);
        return;
    }
    const bool confirm = Options::kGetTagMessageBox.read() != 0;
    if (capture.kind == TagCapture::Single) {
        m_lastStart = capture.start;
        m_lastWasPair = 0;
        if (confirm)
            UiSeam::messageBox(this,
                               QStringLiteral("単独タグ : ") + QString::fromUtf8(capture.start) +
                                   QStringLiteral("\n\nを取り込みました。"),
                               QMessageBox::Information);
    } else {
        setLastInsertion(capture.start, capture.end, 1);
        if (confirm)
            UiSeam::messageBox(this,
                               QStringLiteral("挟むタグ : ") + QString::fromUtf8(capture.start) +
                                   QStringLiteral(" ～ ") + QString::fromUtf8(capture.end) +
                                   QStringLiteral("\n\nを取り込みました。"),
                               QMessageBox::Information);
    }
    setSel(-1, 0);
}

void CMarquillView::reinsertTags()
{
    if (m_lastStart.isEmpty() && m_lastEnd.isEmpty())
        return;
    // Copies: the operations replace the fields they read.
    const QByteArray start = m_lastStart;
    const QByteArray end = m_lastEnd;
    if (m_lastWasPair == 1)
        WrapSelection(start, end, true);
    else
        InsertText(start, true);
}

void CMarquillView::closeLastUnclosedTag()
{
    qint64 s, e;
    getSel(s, e);
    const QByteArray name = lastUnclosedTag(ControlText::whole(*this), s);
    if (!name.isEmpty())
        InsertText("</" + name + ">", true);
}
