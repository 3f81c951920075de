#pragma once

#include <QString>

// The choices of the image dialog, as plain values.
struct ImageTagChoices
{
    enum Unit { Pixels = 0, Percent = 1 };
    enum Alignment { None = 0, Top, Middle, Bottom, FlowRight, FlowLeft };

    QString source;
    QString alternativeText;
    QString width;
    int widthUnit = Pixels;
    QString height;
    int heightUnit = Pixels;
    QString border;
    int alignment = None;
    QString verticalSpace;
    QString horizontalSpace;
};

// The IMG start tag for the choices. Texts are copied as typed; an empty
// value leaves its attribute out. The spacing is written only for the two
// alignments that let the text flow round the image.
QString buildImageTag(const ImageTagChoices& choices);
