#pragma once

// Ids of the control bars and status panes.
namespace BarId {
enum : int {
    StandardToolbar = 59392,
    ExtendedToolbar = 57348,
    StatusBar = 59393,
    PaneCaret = 300,
    PaneHtmlLevel = 301,
    PaneTag = 302,
};
} // namespace BarId
