#pragma once

#include <QString>
#include <QStringList>

class CMyRichEditDoc;
struct ToolRecord;

// Starting the user's tools (section "Tool") from a document. A tool's
// program path is the start of a command line: the program, possibly
// followed by arguments of its own. The command line is split into the
// program and its arguments the way a command line is split, and the program
// is started directly, never through a shell, without waiting for it.
namespace ExternalTool {

struct Launch
{
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// What starting tool means for a document at documentPath (mode 1) with
// selection selected (mode 2): the document's path is one argument as it is;
// the selection is split into arguments like the rest of a command line.
// An unquoted absolute program path may hold blanks: the longest part of it
// that names an existing file is the program. The working folder is the
// tool's own, or else the folder of the editor's executable.
Launch launchFor(const ToolRecord& tool, const QString& documentPath, const QString& selection);

// Starts the program detached; false when it could not be started.
bool start(const Launch& launch);

// Runs the tool of slot (0-9) for doc, the document's command 40010 + slot.
// A free slot does nothing. Handing over the path of a never-saved document
// is refused with a warning, and a program that cannot be started is
// reported; either way nothing is started and the text is untouched.
void run(CMyRichEditDoc& doc, int slot);

} // namespace ExternalTool
