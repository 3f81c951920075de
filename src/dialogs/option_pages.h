#pragma once

#include "dialogs/option_values.h"

#include <QWidget>

class CPreviewFrame;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPainter;

// The pages of the options sheet. Each shows its part of the values
// (load) and gives it back (store); only the sheet reads and writes the
// settings store.

// "ファイル": new documents, the browser (its show command and the program
// that shows pages), the working folder, the recovery copies of unsaved
// changes, the files opened again at start-up.
class COptionFilePage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionFilePage(QWidget* parent = nullptr);
    void load(const OptionValues& values);
    void store(OptionValues& values) const;

private:
    QCheckBox* m_fileNew;
    QCheckBox* m_dialog;
    QComboBox* m_browserShow;
    QLineEdit* m_browserProgram;
    QCheckBox* m_defaultFolder;
    QCheckBox* m_recovery;
    QCheckBox* m_restoreSession;

    void chooseBrowser();
};

// "タグ": how tags are inserted, captured, coloured and paired.
class COptionTagPage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionTagPage(QWidget* parent = nullptr);
    void load(const OptionValues& values);
    void store(OptionValues& values) const;

private:
    QCheckBox* m_smallLetter;
    QCheckBox* m_stringSelect;
    QCheckBox* m_getTagMessageBox;
    QCheckBox* m_autoColor;
    QCheckBox* m_hexColor;
    QCheckBox* m_matchTag;
};

// "エディタ": the toolbar look, the line numbers and the date command's
// format, with a sample.
class COptionEditPage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionEditPage(QWidget* parent = nullptr);
    void load(const OptionValues& values);
    void store(OptionValues& values) const;

private:
    void showSample();

    QCheckBox* m_flatbar;
    QCheckBox* m_ownerDraw;
    QCheckBox* m_lineNumbers;
    QComboBox* m_date;
    QLineEdit* m_sample;
};

// "フォント": the editor's three fonts, each chosen in the font dialog, and a
// preview of all three.
class COptionFontPage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionFontPage(QWidget* parent = nullptr);
    void load(const OptionValues& values);
    void store(OptionValues& values) const;

private:
    void chooseFont(int kind);
    void paintPreview(QPainter& painter, const QRect& rect);

    FontValues m_fonts[OptionValues::FontKinds];
    CPreviewFrame* m_preview;
};

// "チェック": the options of 文書のチェック (libtidy's accessibility checks, the
// warnings) and whether the preview trusts pages with scripts and the network.
class COptionCheckPage : public QWidget
{
    Q_OBJECT

public:
    explicit COptionCheckPage(QWidget* parent = nullptr);
    void load(const OptionValues& values);
    void store(OptionValues& values) const;

private:
    QComboBox* m_accessibility;
    QCheckBox* m_warnings;
    QCheckBox* m_previewTrusted;
};
