#pragma once

#include "core/settings_store.h"

// Every value of the "Options" and "Font" sections, each named once with the
// default that applies where it is read. The code that uses a value reads it
// here at the moment of use; the options sheet reads and writes them all.
namespace Options {

// The program folder and the program's version, written at every start.
constexpr StringSetting kPath{"Options", "Path", ""};
constexpr IntSetting kVersion{"Options", "Version", 215};

// Non-zero: an empty document is created at start-up when no file is given.
constexpr IntSetting kFileNew{"Options", "FileNew", 0};
// Non-zero: a new document opens the document information dialog. A missing
// value means off for new documents, but the options sheet shows the box
// checked (kDialogSheetDefault), and OK there stores that.
constexpr IntSetting kDialog{"Options", "Dialog", 0};
constexpr int kDialogSheetDefault = 1;
// Non-zero: the folder of the most recent file becomes the current folder
// before the file dialogs.
constexpr IntSetting kDefaultFolder{"Options", "DefaultFolder", 1};
// Show command of the browser preview and the home page: 5 as it is,
// 2 minimised, 3 maximised.
constexpr IntSetting kBrowserShow{"Options", "BrowserShow", 5};
// The web browser that shows pages (the browser preview, the help, the home
// page): a program, with arguments if any; empty: the desktop's default web
// browser.
constexpr StringSetting kBrowserProgram{"Options", "BrowserProgram", ""};
// Row of the date format table used by the date command.
constexpr IntSetting kDate{"Options", "Date", 3};

// Non-zero: flat toolbars (read when the main window is created and at every
// toolbar paint); with it, OwnerDraw lets the toolbars draw their own
// gripper, separators and check marks.
constexpr IntSetting kFlatbar{"Options", "Flatbar", 0};
constexpr IntSetting kOwnerDraw{"Options", "OwnerDraw", 1};

// Non-zero: inserted tags are lowered.
constexpr IntSetting kSmallLetter{"Options", "SmallLetter", 1};
// Non-zero: the selection is kept after a tag is inserted around it.
constexpr IntSetting kStringSelect{"Options", "StringSelect", 1};
// Non-zero: tag capture confirms with a message.
constexpr IntSetting kGetTagMessageBox{"Options", "GetTagMessageBox", 1};
// Non-zero: tags are coloured automatically (read when a view is created).
constexpr IntSetting kAutoColor{"Options", "AutoColor", 1};
// Non-zero: colours are written as hexadecimal values instead of names.
constexpr IntSetting kHexColor{"Options", "HexColor", 0};
// Non-zero: documents with unsaved changes keep recovery copies (read each
// time a copy is due).
constexpr IntSetting kRecovery{"Options", "Recovery", 1};
// Non-zero: quitting remembers the open files, and a start without a file
// opens them again (read at those two moments).
constexpr IntSetting kRestoreSession{"Options", "RestoreSession", 0};
// Non-zero: document windows show line numbers.
constexpr IntSetting kLineNumbers{"Options", "LineNumbers", 0};
// Non-zero: with the caret in a tag's name, the tag and its partner are marked.
constexpr IntSetting kMatchTag{"Options", "MatchTag", 0};

// The document check (read at each check): libtidy's accessibility checks
// (0 none, 1 to 3 up to that priority), and non-zero to list warnings.
constexpr IntSetting kCheckAccessibility{"Options", "CheckAccessibility", 0};
constexpr IntSetting kCheckWarnings{"Options", "CheckWarnings", 1};
// Non-zero: the preview lets pages run scripts and load from the network.
constexpr IntSetting kPreviewTrusted{"Options", "PreviewTrusted", 0};

// One of the editor's three fonts: face, height in twentieths of a point,
// colour 0x00BBGGRR and effect bits (1 bold, 2 italic).
struct FontSettings
{
    StringSetting face;
    IntSetting height;
    IntSetting color;
    IntSetting effects;
};

// The font heights that can be drawn: 1 to 1638 points, the largest size a
// font dialog offers. Any other stored height stands for the default.
constexpr int kMinFontHeight = 20;
constexpr int kMaxFontHeight = 32760;

// Ordinary text, tags and double-quoted values inside tags.
constexpr FontSettings kDefaultFont{{"Font", "DefaultFaceName", "ＭＳ ゴシック"},
                                    {"Font", "DefaultHeight", 240},
                                    {"Font", "DefaultColor", 0},
                                    {"Font", "DefaultEffects", 0}};
// Tags are dark blue in the editor when no colour is stored; the options
// sheet starts from kTagColorSheetDefault (blue) and stores that on OK.
constexpr FontSettings kTagFont{{"Font", "TagFaceName", "ＭＳ ゴシック"},
                                {"Font", "TagHeight", 240},
                                {"Font", "TagColor", 0xCC0000},
                                {"Font", "TagEffects", 1}};
constexpr int kTagColorSheetDefault = 0xFF0000;
constexpr FontSettings kQuoteFont{{"Font", "QuoteFaceName", "ＭＳ ゴシック"},
                                  {"Font", "QuoteHeight", 240},
                                  {"Font", "QuoteColor", 0},
                                  {"Font", "QuoteEffects", 1}};

} // namespace Options
