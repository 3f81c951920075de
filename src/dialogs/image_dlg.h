#pragma once

#include "dialogs/html/image_tag.h"

#include <QDialog>

class CHistoryComboBox;
class CSpinEdit;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// The image dialog ("イメージの設定"): builds one IMG start tag. The caller
// sets the document folder (empty for an untitled document) before running
// it and reads resultText() after OK. The file name box keeps its history in
// "History\Image"; nothing else is remembered between runs.
class CImageDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CImageDlg(QWidget* parent = nullptr);

    // The document's folder, ending with a separator, or empty.
    void setDocumentFolder(const QString& folder) { m_documentFolder = folder; }
    QString documentFolder() const { return m_documentFolder; }

    // The IMG tag built on OK.
    QString resultText() const { return m_result; }

    // The choices as the controls hold them now.
    ImageTagChoices choices() const;

    // The file the size is read from for a source: the document folder
    // followed by the source (relative to the current folder when there is no
    // document folder); an absolute source that names no file there is taken
    // as it is.
    static QString imageFilePath(const QString& documentFolder, const QString& source);

public Q_SLOTS:
    void accept() override;

private:
    QWidget* buildSourceRows();
    QGroupBox* buildSizeGroup();
    QWidget* buildBorderRow();
    QGroupBox* buildAlignmentGroup();
    QGroupBox* buildSpacingGroup();
    QGroupBox* buildPreviewGroup();

    void updateAlignment();
    void browse();
    void readSizeFromFile();
    void setUnitsToPixels();

    QString m_documentFolder;
    QString m_result;
    // The file last chosen with the browse button and the source it gave, so
    // that a bare file name (no document folder) is still read from there.
    QString m_browsedPath;
    QString m_browsedSource;

    CHistoryComboBox* m_source = nullptr;
    QLineEdit* m_alternativeText = nullptr;
    CSpinEdit* m_width = nullptr;
    QComboBox* m_widthUnit = nullptr;
    CSpinEdit* m_height = nullptr;
    QComboBox* m_heightUnit = nullptr;
    CSpinEdit* m_border = nullptr;
    QButtonGroup* m_alignment = nullptr;
    QGroupBox* m_spacingGroup = nullptr;
    CSpinEdit* m_verticalSpace = nullptr;
    CSpinEdit* m_horizontalSpace = nullptr;
    QLabel* m_preview = nullptr;
};
