#include "document/external_tool.h"

#include "core/slot_records.h"
#include "core/ui_seam.h"
#include "document/document_text.h"
#include "document/my_rich_edit_doc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace ExternalTool {
namespace {

enum ArgumentMode { NoArgument = 0, DocumentPath = 1, Selection = 2 };

// The program and the arguments of a stored program path.
QStringList splitProgramPath(const QString& stored)
{
    QString text = stored.trimmed();
    if (text.startsWith(QLatin1String("~/")))
        text.replace(0, 1, QDir::homePath());
    if (text.isEmpty() || text.startsWith(QLatin1Char('"')) || !QDir::isAbsolutePath(text))
        return QProcess::splitCommand(text);
    // An unquoted path with blanks in it: the whole text first, then ever
    // shorter parts ending before a blank, so a shorter path that happens to
    // exist ("/opt/my" for "/opt/my tools/run") is never taken instead.
    for (qsizetype cut = text.size(); cut > 0; cut = text.lastIndexOf(QLatin1Char(' '), cut - 1)) {
        const QString candidate = text.left(cut);
        if (QFileInfo(candidate).isFile())
            return QStringList{candidate} + QProcess::splitCommand(text.mid(cut));
    }
    return QProcess::splitCommand(text);
}

} // namespace

Launch launchFor(const ToolRecord& tool, const QString& documentPath, const QString& selection)
{
    Launch launch;
    QStringList words = splitProgramPath(tool.path);
    if (!words.isEmpty())
        launch.program = words.takeFirst();
    launch.arguments = words;
    if (tool.cmdType == DocumentPath)
        launch.arguments.append(documentPath);
    else if (tool.cmdType == Selection)
        launch.arguments += QProcess::splitCommand(selection);
    // Without a folder of its own, a tool starts in the editor's folder.
    launch.workingFolder =
        tool.folder.isEmpty() ? QCoreApplication::applicationDirPath() : tool.folder;
    return launch;
}

bool start(const Launch& launch)
{
    if (launch.program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(launch.program);
    process.setArguments(launch.arguments);
    process.setWorkingDirectory(launch.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

void run(CMyRichEditDoc& doc, int slot)
{
    const ToolRecord tool = SlotRecords::readTool(slot);
    if (!tool.isUsed())
        return;
    if (tool.cmdType == DocumentPath && doc.pathName().isEmpty()) {
        UiSeam::messageBox(
            nullptr,
            QStringLiteral("この新規文書は保存されていません。\n"
                           "保存されていない文書を引数としてプログラムに渡せません。\n"
                           "文書を保存してから実行して下さい。"),
            QMessageBox::Warning);
        return;
    }
    QString selection;
    if (tool.cmdType == Selection && doc.view())
        selection = QString::fromUtf8(doc.view()->selectedBytes());
    const Launch launch = launchFor(tool, doc.pathName(), selection);
    if (start(launch))
        return;
    UiSeam::messageBox(doc.viewWidget(),
                       QStringLiteral("ツール「%1」を起動できませんでした。\n\n"
                                      "プログラムパス : %2\n作業フォルダ : %3")
                           .arg(tool.view, tool.path, launch.workingFolder),
                       QMessageBox::Warning);
}

} // namespace ExternalTool
