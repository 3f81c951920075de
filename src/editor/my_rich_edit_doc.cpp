#include "editor/my_rich_edit_doc.h"

#include "editor/my_rich_edit_view.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

CMyRichEditDoc::CMyRichEditDoc(QObject* parent) : QObject(parent), m_title(untitledName()) {}

CMyRichEditDoc::~CMyRichEditDoc() = default;

QString CMyRichEditDoc::untitledName()
{
    return QStringLiteral("無題");
}

void CMyRichEditDoc::setView(CMyRichEditView* view)
{
    m_view = view;
    if (view) {
        view->setDocument(this);
        connect(view, &CMyRichEditView::textEdited, this, [this] {
            // Cheap when already marked: the title check stops at once.
            if (!m_title.endsWith(QLatin1String(" *")))
                SetModifiedFlag(true);
        });
    }
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
    setTitle(path.isEmpty() ? untitledName() : QFileInfo(path).fileName());
    Q_EMIT pathChanged(m_path);
}

bool CMyRichEditDoc::isModified() const
{
    return m_view && m_view->modifyFlag();
}

void CMyRichEditDoc::SetModifiedFlag(bool modified)
{
    if (m_view)
        m_view->setModifyFlag(modified);
}

bool CMyRichEditDoc::OnNewDocument()
{
    if (!m_view)
        return false;
    m_view->loadBytes(QByteArray());
    setPathName(QString());
    SetModifiedFlag(false);
    return true;
}

bool CMyRichEditDoc::OnOpenDocument(const QString& path, QString* errorMessage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorMessage)
            *errorMessage = QStringLiteral("%1\nこのﾌｧｲﾙが見つかりません。\n正しいﾃﾞｨﾚｸﾄﾘとﾌｧｲﾙ名を"
                                           "確認して入力してください。")
                                .arg(path);
        return false;
    }
    m_view->loadBytes(file.readAll());
    setPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    return true;
}

bool CMyRichEditDoc::OnSaveDocument(const QString& path, QString* errorMessage)
{
    QSaveFile file(path);
    const QByteArray bytes = m_view->textBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (errorMessage)
            *errorMessage = QStringLiteral("%1 へ書き込めません。").arg(path);
        return false;
    }
    setPathName(QFileInfo(path).absoluteFilePath());
    SetModifiedFlag(false);
    return true;
}
