#pragma once

#include <QDialog>

class CColorComboBox;
class CHistoryComboBox;
class CPreviewFrame;
class QLineEdit;
class QPainter;

// The document information dialog ("文書情報の設定"): title, background image
// and the five BODY colours of an HTML document frame. Set the document
// folder before showing it (the background image chosen with "..." is made
// relative to it). The background box keeps its input history in
// "History\Body", where the colours are remembered too (on OK). After OK,
// startText() and endText() hold the frame to wrap round the selection.
class CDocInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CDocInfoDlg(QWidget* parent = nullptr);

    void setDocumentFolder(const QString& folder) { m_folder = folder; }
    QString documentFolder() const { return m_folder; }

    QString startText() const { return m_start; }
    QString endText() const { return m_end; }

    void accept() override;

    // The five colours in attribute order: BGCOLOR, TEXT, LINK, VLINK, ALINK.
    static constexpr int kColorCount = 5;

private:
    QWidget* createColorGroup();
    void browseBackground();
    void paintPreview(QPainter& painter, const QRect& rect);

    QString m_folder;
    QLineEdit* m_title = nullptr;
    CHistoryComboBox* m_background = nullptr;
    CColorComboBox* m_colors[kColorCount] = {};
    CPreviewFrame* m_preview = nullptr;
    QString m_start;
    QString m_end;
};
