#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The values the options sheet edits, as plain data: read from the settings
// store when the sheet opens and written back, all of them, on OK.
struct FontValues
{
    QString face;
    int height = 240; // twentieths of a point
    int color = 0;    // 0x00BBGGRR
    int effects = 0;  // 1 bold, 2 italic
};

struct OptionValues
{
    // File page
    bool fileNew = false;
    bool dialog = true;
    int browserShow = 5;    // 5, 2 or 3
    QString browserProgram; // empty: the desktop's web browser
    bool defaultFolder = true;
    bool recovery = true;        // recovery copies of unsaved changes
    bool restoreSession = false; // the files open at the last quit, opened again
    // Tag page
    bool smallLetter = true;
    bool stringSelect = true;
    bool getTagMessageBox = true;
    bool autoColor = true;
    bool hexColor = false;
    bool matchTag = false; // the partner of the tag at the caret marked
    // Editor page
    bool flatbar = false;
    bool ownerDraw = true;
    int date = 3; // row of the date format table
    // Check page
    int checkAccessibility = 0; // 0 none, 1 to 3 up to that priority
    bool checkWarnings = true;
    bool previewTrusted = false; // scripts and the network in the preview
    bool lineNumbers = false;
    // Font page: ordinary text, tags, quoted values
    enum FontKind { DefaultFont, TagFont, QuoteFont, FontKinds };
    FontValues fonts[FontKinds];
};

namespace OptionRules {

// The values as stored, with the sheet's own defaults ("Dialog" on, tags in
// blue). A stored value the sheet cannot show (a show command other than 5, 2
// or 3, a date row outside the table, an empty face, a height outside 1 to
// 1638 points, a colour beyond 24 bits) is replaced by the default its page
// shows; effect bits other than bold and italic are dropped. Nothing is written.
OptionValues read();
// Writes every value back.
void write(const OptionValues& values);

// The drop-down list row of a show command (5, 2, 3 give rows 0, 1, 2; any
// other value -1) and the show command of a row.
int browserShowRow(int showCommand);
int browserShowOfRow(int row);

// The screen font that stands for a stored font: size height / 20 points,
// weight 700 with bit 0 set (else 400), italic with bit 1 set.
QFont screenFont(const FontValues& font);
// A font chosen in the font dialog as stored: height = size in tenths of a
// point x 2, effects 1 only for weight exactly 700, plus 2 when italic.
// Underline and strike-out are not kept.
FontValues fromChosenFont(const QFont& chosen, const QColor& color);

// A colour reference 0x00BBGGRR as a QColor and back.
QColor colorOf(int colorRef);
int colorRefOf(const QColor& color);

} // namespace OptionRules
