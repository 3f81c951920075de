#pragma once

class CChildFrame;
class CDocumentManager;
class CMainFrame;

// The files open when Marquill quits, opened again at the next start
// (option "RestoreSession"). Documents without a file are not kept.
namespace LastSession {

// At quit, once every document has been saved or let go: with the option
// on, stores the open files in the order they were opened, each with its
// caret and the line at the top of its window, and which one was active
// (`active`: the window the user worked in, taken before the questions
// about unsaved changes brought each modified document to the front); with
// it off, removes a stored session so that it cannot come back later.
void remember(const CDocumentManager& documents, const CChildFrame* active);

// At a start without a file: with the option on, opens the stored files in
// their order, puts back each one's caret and top line, and activates the
// one that was active. A file open already (restored after a crash) is only
// activated. Files that no longer exist or cannot be read are skipped and
// named together in one message. Opening them leaves the recent-file list
// as it was. Returns how many documents are open from the session.
int restore(CDocumentManager& documents, CMainFrame& frame);

} // namespace LastSession
