#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

// The font choice ("フォント"): face, style and size from Qt's font dialog,
// shown inside this one with its underline and strike-out effects, and a
// text colour from the sixteen basic colours or any other colour. Values in
// before exec(), plain values out after OK.
class CFontChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CFontChoiceDialog(QWidget* parent = nullptr);

    // The font shown at first. A face the system does not have is shown as
    // the font that stands in for it; unless the user picks another face,
    // currentFont() keeps the face name given here.
    void setCurrentFont(const QFont& font);
    QFont currentFont() const;
    // The colour shown selected; one not among the basic colours gets an
    // entry of its own at the end of the list.
    void setColor(const QColor& color);
    QColor color() const;

private:
    void chooseOtherColor();

    QFontDialog* m_fonts;
    QString m_givenFamily;
    QString m_shownFamily;
    QComboBox* m_colors;
};
