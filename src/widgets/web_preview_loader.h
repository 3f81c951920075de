#pragma once

#include <QString>
#include <QStringList>

class CWebPreviewFactory;

// Finds and loads the preview's browser engine, the plugin
// marquill_web_preview.so, the first time a preview is wanted; the program
// itself never links Qt WebEngine.
namespace WebPreviewLoader {

// Where the plugin is looked for: beside the program (the build folder), then
// in lib/marquill next to the program's folder (where it is installed).
QStringList defaultFolders();

// Loads the engine from the first of folders that holds it; nullptr with
// `why` when there is none or it cannot be used.
CWebPreviewFactory* load(const QStringList& folders, QString& why);

// The engine, loaded on the first call; nullptr when it cannot be loaded or
// cannot run here, with `why` saying so in Japanese. Later calls give the same
// answer.
CWebPreviewFactory* factory(QString& why, const QStringList& folders = defaultFolders());

} // namespace WebPreviewLoader
