#include "document/my_rich_edit_doc.h"

#include "core/file_names.h"
#include "document/document_file.h"
#include "document/document_text.h"
#include "document/text_reader.h"

#include <QFileInfo>

CMyRichEditDoc::CMyRichEditDoc(QObject* parent) : QObject(parent), m_title(untitledName()) {}

CMyRichEditDoc::~CMyRichEditDoc() = default;

const CCommandMap& CMyRichEditDoc::commandMap() const
{
    static const CCommandMap none;
    return none;
}

QString CMyRichEditDoc::untitledName()
{
    return QStringLiteral("無題");
}

void CMyRichEditDoc::setView(CDocumentText* view)
{
    m_view = view;
    m_viewWidget = view ? view->textWidget() : nullptr;
    if (view)
        view->setDocument(this);
}

QWidget* CMyRichEditDoc::viewWidget() const
{
    return m_viewWidget;
}

void CMyRichEditDoc::noteTextEdited()
{
    // Cheap when already marked: the title check stops at once.
    if (!m_title.endsWith(QLatin1String(" *")))
        setModifiedFlag(true);
    Q_EMIT edited();
}

QString CMyRichEditDoc::titleWithoutMark() const
{
    return isModified() && m_title.endsWith(QLatin1String(" *")) ? m_title.chopped(2) : m_title;
}

QString CMyRichEditDoc::folder() const
{
    const qsizetype slash = m_path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : m_path.left(slash + 1);
}

void CMyRichEditDoc::setTitle(const QString& title)
{
    if (m_title == title)
        return;
    m_title = title;
    Q_EMIT titleChanged(m_title);
}

void CMyRichEditDoc::setPathName(const QString& path)
{
    m_path = path;
    setTitle(path.isEmpty() ? untitledName() : FileNames::displayFileName(path));
    Q_EMIT pathChanged(m_path);
}

bool CMyRichEditDoc::isModified() const
{
    return view() && view()->modifyFlag();
}

void CMyRichEditDoc::setModifiedFlag(bool modified)
{
    if (view())
        view()->setModifyFlag(modified);
    Q_EMIT modifiedChanged(modified);
}

bool CMyRichEditDoc::onNewDocument()
{
    if (!view())
        return false;
    takeText(DocumentFile::Text());
    setPathName(QString());
    setModifiedFlag(false);
    return true;
}

void CMyRichEditDoc::setEncoding(const QString& encoding, bool unconverted)
{
    m_encoding = encoding;
    m_unconverted = encoding.isEmpty() && unconverted;
    Q_EMIT encodingChanged();
}

QString CMyRichEditDoc::encodingLabel() const
{
    if (m_unconverted)
        return QStringLiteral("変換なし");
    return m_encoding.isEmpty() ? QStringLiteral("UTF-8") : m_encoding;
}

bool CMyRichEditDoc::wouldMixInUtf8() const
{
    return m_unconverted && view() &&
           TextDecoding::addsUtf8Characters(m_savedUtf8Characters, view()->textInPlace());
}

bool CMyRichEditDoc::takeText(const DocumentFile::Text& text)
{
    if (!view()->loadBytes(text.bytes))
        return false;
    m_encoding = text.encoding;
    m_unconverted = text.unconverted;
    m_savedUtf8Characters =
        text.unconverted ? TextDecoding::utf8Characters(text.bytes) : QByteArray();
    Q_EMIT encodingChanged();
    return true;
}

bool CMyRichEditDoc::onOpenDocument(const QString& path, QString* errorMessage)
{
    // The text goes into the view as it is read: a large file is never held
    // twice. The file's state is taken first, so that a change while it is
    // read counts as a change.
    const DiskState state = DiskState::of(QFileInfo(path).absoluteFilePath());
    TextReader::Kind kind;
    QString error;
    if (!view() || !TextReader::read(path, *view(), kind, error)) {
        if (view())
            view()->loadBytes(QByteArray());
        if (errorMessage)
            *errorMessage = error;
        return false;
    }
    view()->finishText();
    m_encoding = kind.encoding;
    m_unconverted = kind.unconverted;
    m_savedUtf8Characters =
        kind.unconverted ? TextDecoding::utf8Characters(view()->textInPlace()) : QByteArray();
    Q_EMIT encodingChanged();
    setPathName(QFileInfo(path).absoluteFilePath());
    setModifiedFlag(false);
    m_diskState = state;
    Q_EMIT diskStateRecorded();
    Q_EMIT opened();
    return true;
}

void CMyRichEditDoc::recordDiskState()
{
    m_diskState = DiskState::of(m_path);
    Q_EMIT diskStateRecorded();
}

bool CMyRichEditDoc::reload(QString* errorMessage)
{
    const DiskState state = DiskState::of(m_path);
    DocumentFile::Text text;
    QString error;
    if (!view() || m_path.isEmpty() || !DocumentFile::read(m_path, text, error)) {
        if (errorMessage)
            *errorMessage = error;
        return false;
    }
    if (!replaceText(text, errorMessage))
        return false;
    m_diskState = state;
    Q_EMIT diskStateRecorded();
    return true;
}

bool CMyRichEditDoc::reloadAs(const QString& encoding, QString* errorMessage)
{
    const DiskState state = DiskState::of(m_path);
    QByteArray bytes;
    QString error;
    DocumentFile::Text text;
    if (!view() || m_path.isEmpty() || !DocumentFile::readBytes(m_path, bytes, error)) {
        if (errorMessage)
            *errorMessage = error;
        return false;
    }
    if (!TextDecoding::decodeAs(bytes, encoding, text, error)) {
        if (errorMessage)
            *errorMessage = DocumentFile::cannotReadMessage(m_path, error);
        return false;
    }
    if (!replaceText(text, errorMessage))
        return false;
    m_diskState = state;
    Q_EMIT diskStateRecorded();
    return true;
}

bool CMyRichEditDoc::replaceText(const DocumentFile::Text& text, QString* errorMessage)
{
    const DocumentFile::Text previous{view()->textBytes(), m_encoding, m_unconverted};
    const bool wasModified = isModified();
    if (!takeText(text)) {
        takeText(previous);
        setModifiedFlag(wasModified);
        if (errorMessage)
            *errorMessage =
                DocumentFile::cannotReadMessage(m_path, DocumentFile::outOfMemoryReason());
        return false;
    }
    setModifiedFlag(false);
    Q_EMIT opened();
    return true;
}

bool CMyRichEditDoc::onRecoverDocument(const DocumentFile::Text& text, const QString& path,
                                       const QByteArray& lineEnd,
                                       const QByteArray& savedUtf8Characters)
{
    if (!view() || !takeText(text))
        return false;
    // What the file held when it was last read or saved, not what the
    // recovered text holds: UTF-8 typed since then still asks before saving.
    m_savedUtf8Characters = savedUtf8Characters;
    view()->setTypedLineEnd(lineEnd);
    setPathName(path);
    recordDiskState();
    Q_EMIT opened();
    setModifiedFlag(true);
    return true;
}

bool CMyRichEditDoc::encodeText(QByteArray& fileBytes, QString& badCharacter) const
{
    return encodeText(m_encoding, fileBytes, badCharacter);
}

bool CMyRichEditDoc::encodeText(const QString& encoding, QByteArray& fileBytes,
                                QString& badCharacter) const
{
    return view() && TextDecoding::encode(view()->textInPlace(), encoding, fileBytes, badCharacter);
}

JournalReplay::Outcome CMyRichEditDoc::onRecoverJournal(const CFoundJournal& journal, bool partial)
{
    if (!view())
        return JournalReplay::Outcome::NoRoom;
    const JournalReplay::Outcome outcome = journal.restoreInto(*view());
    if (outcome != JournalReplay::Outcome::Restored)
        return outcome;
    const EditJournal::Fields& fields = journal.reading.fields();
    m_encoding = fields.encoding;
    m_unconverted = fields.encoding.isEmpty() && fields.unconverted;
    m_savedUtf8Characters = fields.savedUtf8Characters;
    Q_EMIT encodingChanged();
    view()->setTypedLineEnd(fields.lineEnd);
    setPathName(partial ? QString() : fields.path);
    Q_EMIT opened();
    setModifiedFlag(true);
    return outcome;
}

bool CMyRichEditDoc::onSaveDocument(const QString& path, QString* errorMessage)
{
    QString error;
    if (!view() || !DocumentFile::write(path, view()->textInPlace(), m_encoding, error)) {
        if (errorMessage)
            *errorMessage = error;
        return false;
    }
    savedTo(path);
    return true;
}

bool CMyRichEditDoc::saveBytes(const QString& path, const QByteArray& fileBytes,
                               QString* errorMessage)
{
    QString error;
    if (!view() || !DocumentFile::writeBytes(path, fileBytes, error)) {
        if (errorMessage)
            *errorMessage = error;
        return false;
    }
    savedTo(path);
    return true;
}

void CMyRichEditDoc::savedTo(const QString& path)
{
    if (m_unconverted)
        m_savedUtf8Characters = TextDecoding::utf8Characters(view()->textInPlace());
    setPathName(QFileInfo(path).absoluteFilePath());
    setModifiedFlag(false);
    recordDiskState();
}
