#pragma once

#include <QString>

// The HTML the element dialogs build, as pure functions of the user's
// choices. Tag and attribute names are upper case (the view lowers them on
// insertion when asked to); line breaks are CR LF; the user's texts are
// copied as typed, never escaped.

// A start text and an end text, wrapped round the selection by the view.
struct WrapTexts
{
    QString start;
    QString end;
    bool operator==(const WrapTexts&) const = default;
};

// The document frame: DOCTYPE, HTML, optional HEAD with TITLE, and BODY.
// Colours are names from the colour table, empty for none.
struct DocInfoChoice
{
    QString title;
    QString background;
    QString bgColor;
    QString textColor;
    QString linkColor;
    QString visitedLinkColor;
    QString activeLinkColor;
};
WrapTexts docInfoTexts(const DocInfoChoice& choice, bool hexColor);

// Anchors: a link with an optional frame target, a link to a bookmark of the
// same document, a bookmark, and a mail link.
WrapTexts linkTexts(const QString& url, const QString& target);
WrapTexts sameDocLinkTexts(const QString& bookmark);
WrapTexts bookmarkTexts(const QString& name);
WrapTexts mailLinkTexts(const QString& address);

// The font element. sizeIndex is the chosen size button, -1 for none: 0 to 6
// are the absolute sizes 7 to 1, 7 to 12 the relative sizes +3 to -3.
constexpr int kFontSizeButtons = 13;
WrapTexts fontTexts(int sizeIndex, const QString& colorName, bool hexColor);
// The preview's font size in points for a size button (13 for none).
int fontPreviewPoints(int sizeIndex);

// The heading element: level 1 to 6 and alignment 0 none, 1 left, 2 centre,
// 3 right (anything else: none).
WrapTexts headingTexts(int level, int align);
// The heading size index (0 to 5) the dialog opens with, from the stored text.
int headingIndexFromStored(const QString& stored);
// The preview's font size in points for heading level 1 to 6.
int headingPreviewPoints(int level);

// The horizontal rule. Height and width are the texts as typed; an empty one
// leaves its attribute out.
struct RuleChoice
{
    QString height;
    QString width;
    bool percent = true;
    int align = 0;
    bool shaded = true;
};
QString ruleText(const RuleChoice& choice);

// Where the rule preview draws its bar inside the preview rectangle
// [left, right) x [top, bottom).
struct RulePreviewBar
{
    bool tooLarge = false; // height above 50: the preview shows a notice instead
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const RulePreviewBar&) const = default;
};
RulePreviewBar rulePreviewBar(int left, int top, int right, int bottom, const RuleChoice& choice);
