#pragma once

#include "core/command_target.h"

#include <QList>
#include <QString>

class CMarquillDoc;
class CRecentFileList;

// The owner of the open documents, as the main frame sees it. The application
// object implements it and hands itself to the main frame, which offers it
// the commands no window handles, asks it to save before closing, opens the
// files dropped on the window and shows its recent-file list.
class CDocumentManager : public CCommandTarget
{
public:
    virtual QList<CMarquillDoc*> documents() const = 0;
    // Opens path, or activates its window when it is open already. Shows
    // the error and returns nullptr when the file cannot be read.
    virtual CMarquillDoc* openDocumentFile(const QString& path) = 0;
    // Asks each modified document whether to save; false when cancelled.
    virtual bool saveAllModified() = 0;
    virtual void closeAllDocumentsWithoutAsking() = 0;
    // The recent-file list (9 entries, most recent first).
    virtual const CRecentFileList& recentFileList() const = 0;
};
