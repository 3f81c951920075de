#include "frame/last_session.h"

#include "core/file_names.h"
#include "core/options.h"
#include "core/ui_seam.h"
#include "document/marquill_doc.h"
#include "document/session_store.h"
#include "editor/marquill_view.h"
#include "editor/rules/code_page.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"

#include <QMdiArea>
#include <sys/stat.h>

namespace LastSession {
namespace {

// Paths listed one by one in the message; the rest are counted.
constexpr int kListedPaths = 10;

void place(CMarquillView& view, const SessionStore::Entry& entry)
{
    // The file may have changed since: the caret goes to the start of the
    // character (and of the line end) it would fall in.
    qint64 caret = qBound<qint64>(0, entry.caret, view.textLength());
    const qint64 nearStart = qMax<qint64>(0, caret - 3);
    const QByteArray near = view.textRange(nearStart, caret + 1);
    caret = nearStart + CodePage::charStartAt(near, caret - nearStart);
    if (caret > 0 && caret - nearStart < near.size() && near[caret - nearStart] == '\n' &&
        near[caret - nearStart - 1] == '\r')
        --caret;
    view.sci(QsciScintillaBase::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
    const long lines = view.sci(QsciScintillaBase::SCI_GETLINECOUNT);
    const qint64 top = qMin<qint64>(entry.topLine, lines - 1);
    view.sci(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
             static_cast<unsigned long>(view.sci(QsciScintillaBase::SCI_VISIBLEFROMDOCLINE,
                                                 static_cast<unsigned long>(top))));
}

QString skippedText(const QStringList& missing, const QStringList& errors)
{
    QStringList parts;
    if (!missing.isEmpty()) {
        QStringList lines = missing.mid(0, kListedPaths);
        if (missing.size() > kListedPaths)
            lines << QStringLiteral("ほかに %1 個").arg(missing.size() - kListedPaths);
        parts << QStringLiteral(
                     "前回終了時に開いていた次のファイルが見つからないため、開きませんでした。\n") +
                     lines.join(QLatin1Char('\n'));
    }
    parts += errors.mid(0, kListedPaths);
    if (errors.size() > kListedPaths)
        parts << QStringLiteral("ほかに %1 個のファイルを開けませんでした。")
                     .arg(errors.size() - kListedPaths);
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace

void remember(const CDocumentManager& documents, const CChildFrame* active)
{
    if (Options::kRestoreSession.read() == 0) {
        SessionStore::clear();
        return;
    }
    SessionStore::Session session;
    for (CMarquillDoc* doc : documents.documents()) {
        const CChildFrame* child = documents.frameOf(doc);
        if (doc->pathName().isEmpty() || !child)
            continue;
        const CMarquillView* view = child->view();
        if (child == active)
            session.active = int(session.entries.size());
        const long topLine = view->sci(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
                                       static_cast<unsigned long>(view->firstVisibleLine()));
        session.entries.append(
            {doc->pathName(), view->sci(QsciScintillaBase::SCI_GETCURRENTPOS), topLine});
    }
    SessionStore::write(session);
}

int restore(CDocumentManager& documents, CMainFrame& frame)
{
    if (Options::kRestoreSession.read() == 0)
        return 0;
    const SessionStore::Session session = SessionStore::read();
    const QStringList recent = documents.recentFileList().entries();
    QStringList missing;
    QStringList errors;
    CMarquillDoc* active = nullptr;
    int opened = 0;
    for (qsizetype i = 0; i < session.entries.size(); ++i) {
        const SessionStore::Entry& entry = session.entries[i];
        CMarquillDoc* doc = documents.documentOf(entry.path);
        if (doc) {
            // Restored after a crash: its own caret stays.
        } else if (struct stat st; ::stat(FileNames::encode(entry.path).constData(), &st) != 0) {
            missing << FileNames::display(entry.path);
            continue;
        } else {
            QString error;
            doc = documents.openDocument(entry.path, &error);
            if (!doc) {
                errors << error;
                continue;
            }
            if (CChildFrame* child = documents.frameOf(doc))
                place(*child->view(), entry);
        }
        ++opened;
        if (i == session.active)
            active = doc;
    }
    // The files were not chosen by the user now: the list stays as it was.
    documents.recentFileList().clear();
    for (qsizetype i = recent.size() - 1; i >= 0; --i)
        documents.recentFileList().add(recent[i]);
    if (active)
        frame.mdiArea()->setActiveSubWindow(documents.frameOf(active));
    if (!missing.isEmpty() || !errors.isEmpty())
        UiSeam::messageBox(&frame, skippedText(missing, errors), QMessageBox::Warning);
    return opened;
}

} // namespace LastSession
