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

void CMarquillView::registerTagCommands(CCommandMapOf<CMarquillView>& map)
{
    // The direct commands' texts are rows of their own table.
    for (const Resources::DirectCommand& command : Resources::directCommands()) {
        if (command.id == Cmd::Date)
            continue;
        if (command.wrap) {
            map.on(command.id, [command](CMarquillView& view) {
                view.WrapSelection(command.startOrText, command.end, true);
            });
        } else {
            map.on(command.id,
                   [command](CMarquillView& view) { view.InsertText(command.startOrText, true); });
        }
    }
    map.on(Cmd::Date, [](CMarquillView& view) {
        view.InsertText(DateFormat::dateText(Options::kDate.read(), QDateTime::currentDateTime()),
                        false);
    });
    map.on(Cmd::RefreshColors, &CMarquillView::colorWholeDocument);
    map.on(Cmd::AutoSelect, &CMarquillView::autoSelect);
    map.on(Cmd::CaptureTag, &CMarquillView::captureTags);
    map.on(Cmd::ReinsertTag, &CMarquillView::reinsertTags);
    map.onUpdate(Cmd::ReinsertTag, [](CMarquillView& view, CCmdUI& ui) {
        ui.enable(!view.m_lastStart.isEmpty() || !view.m_lastEnd.isEmpty());
    });
    map.on(Cmd::CloseLastTag, &CMarquillView::closeLastUnclosedTag);
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
