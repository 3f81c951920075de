#pragma once

#include "core/command_target.h"

#include <QString>

class CMarquillView;

// The view's remaining commands: jump to a line, insert a file, the
// full-width space.
void registerViewCommands(CCommandMapOf<CMarquillView>& map);

// A file dropped on the view: a link to it around the selection, or an image
// tag with its size in place of the selection.
void dropFile(CMarquillView& view, const QString& path);
