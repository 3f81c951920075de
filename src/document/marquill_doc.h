#pragma once

#include "document/my_rich_edit_doc.h"

#include <functional>
#include <optional>

class CRecentFileList;

// The editor's document: one HTML or text file in one view. Adds to the base
// the modified marker " *" in the title, the optional step that fills a new
// document, the browser preview, the open-folder command, the Save /
// Save As commands and the user's tools (40010-40019). A successful save is
// reported through saved(); the recent-file list it is given supplies the
// last-used folder.
class CMarquillDoc : public CMyRichEditDoc
{
    Q_OBJECT

public:
    explicit CMarquillDoc(QObject* parent = nullptr);

    // The commands of every document.
    static CCommandMapOf<CMarquillDoc>& commands();
    const CCommandMap& commandMap() const override { return commands(); }

    // The list whose most recent file gives Save As its starting folder and
    // the open-folder command its folder for an untitled document.
    void setRecentFileList(const CRecentFileList* list) { m_recentFiles = list; }

    void setModifiedFlag(bool modified) override;
    bool onNewDocument() override;

    // Save: an untitled document asks for a name first. Returns false when
    // the user cancelled or the save failed (the failure has been shown).
    bool doFileSave();
    // Save As, starting in the last-used folder.
    bool doSaveAs();
    // Reads the file again in another encoding of the short list, after the
    // user agreed to drop unsaved changes. A refusal is shown; returns
    // whether the document was read again.
    bool reopenInEncoding(const QString& encoding);
    // Saves the text in another encoding of the short list from now on. When
    // that encoding cannot hold the text, the first character that does not
    // fit and its line are shown and nothing is saved or changed.
    bool saveInEncoding(const QString& encoding);
    // Asks "%1 への変更を保存しますか？" for a modified document and saves on
    // Yes. Returns false when the user cancelled (or a requested save failed).
    bool saveModified();

    // Tells the user once about each change another program made to the file
    // on disk: an unchanged document offers to read the file again, a changed
    // one lets the user keep its text or read the file's; a file removed or
    // replaced by a symbolic link leaves the text marked modified. Called when
    // the file watch reports the file and when the program becomes active.
    void checkFileOnDisk();

    // The step that may fill a new, empty document (the document information
    // dialog when "Dialog" is set); returns whether it filled it. Installed
    // once by the application with the commands.
    using NewDocumentStep = std::function<bool(CMarquillDoc&)>;
    static void setNewDocumentStep(NewDocumentStep step);

Q_SIGNALS:
    // The document has been saved to path.
    void saved(const QString& path);

private:
    // Saves to path (an untitled document asks for one first): the bytes
    // given, or the text encoded once here.
    bool doSave(const QString& path, const QByteArray* fileBytes = nullptr);
    // The text as the file's bytes, encoded once. When the document's
    // encoding cannot hold the text, the user may agree to store it as UTF-8
    // instead; false when the user declined that or the mixing of UTF-8 into
    // an unconverted file. With declareEncoding (a save under a name chosen now),
    // and whenever the encoding changes to UTF-8, the page's own declaration
    // of its encoding is made to name the encoding written.
    bool encodeForSaving(QByteArray& fileBytes, bool declareEncoding);
    // What makes the page's declaration of its encoding (meta charset,
    // http-equiv, XML declaration) name `encoding` (empty: UTF-8).
    TextDecoding::DeclarationChange declarationFor(const QString& encoding) const;
    // Makes that change as an edit the user can undo; returns the change that
    // puts the old name back (nothing when there was nothing to change).
    TextDecoding::DeclarationChange declare(const TextDecoding::DeclarationChange& change);
    // True unless saving an unconverted file would mix UTF-8 into it and the
    // user did not agree to that.
    bool agreeOnMixing();
    // Before a save to the document's own file: true unless another program
    // changed the file or put a symbolic link in its place since the document
    // read or wrote it, and the user did not agree to write over that.
    bool agreeToWriteOverChange();
    void reloadFromDisk();
    void browserPreview();
    void openFolder();

    const CRecentFileList* m_recentFiles = nullptr;
    std::optional<DiskState> m_askedAbout; // the last change on disk the user was told of
    bool m_asking = false;
    // A save has changed the encoding the file was read in: every later save
    // also makes the page's declaration name the encoding written, so that an
    // undo of that change is never written under the wrong name.
    bool m_declarationFollows = false;
};
