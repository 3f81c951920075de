#pragma once

#include "document/my_rich_edit_doc.h"

#include <functional>

class CMarquillView;

// The editor's document: one HTML or text file in one CMarquillView. Adds to
// the base the modified marker " *" in the title, colouring after opening,
// the optional document information dialog for new documents, the browser
// preview, the open-folder command and the Save / Save As commands.
class CMarquillDoc : public CMyRichEditDoc
{
    Q_OBJECT

public:
    explicit CMarquillDoc(QObject* parent = nullptr);

    CMarquillView* marquillView() const;

    void SetModifiedFlag(bool modified) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path, QString* errorMessage) override;

    // Save: an untitled document asks for a name first. Returns false when
    // the user cancelled or the save failed (the failure has been shown).
    bool DoFileSave();
    // Save As, starting in the last-used folder.
    bool DoSaveAs();
    // Asks "%1 への変更を保存しますか？" for a modified document and saves on
    // Yes. Returns false when the user cancelled (or a requested save failed).
    bool SaveModified();

    // The dialog a new document may open when "Dialog" is set; it fills the
    // view and returns whether it was accepted. Installed by the dialogs.
    using NewDocumentDialog = std::function<bool(CMarquillView&)>;
    static void setNewDocumentDialog(NewDocumentDialog dialog);

private:
    bool DoSave(const QString& path);
    // True when the text can be stored in the document's encoding, or the
    // user agreed to store it as UTF-8 instead.
    bool agreeOnEncoding();
    void browserPreview();
    void openFolder();
};
