#include "frame/encoding_pane.h"

#include "document/marquill_doc.h"
#include "document/text_encoding.h"

#include <QContextMenuEvent>
#include <QMenu>

CEncodingPane::CEncodingPane(QWidget* parent) : QToolButton(parent), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("PaneEncoding"));
    m_menu->setObjectName(QStringLiteral("EncodingMenu"));
    setAutoRaise(true);
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setMenu(m_menu);
    // Wide enough for the longest name of the short list.
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Windows-1252")) + 24);
    connect(m_menu, &QMenu::aboutToShow, this, &CEncodingPane::fillMenu);
    updateText();
}

void CEncodingPane::setDocument(CMarquillDoc* doc)
{
    if (m_doc == doc)
        return;
    if (m_doc)
        disconnect(m_doc, nullptr, this, nullptr);
    m_doc = doc;
    if (doc) {
        connect(doc, &CMyRichEditDoc::encodingChanged, this, &CEncodingPane::updateText);
        connect(doc, &QObject::destroyed, this, [this] {
            m_doc = nullptr;
            updateText();
        });
    }
    updateText();
}

void CEncodingPane::updateText()
{
    setEnabled(m_doc != nullptr);
    setText(m_doc ? m_doc->encodingLabel() : QString());
    if (!m_doc)
        setToolTip(QString());
    else if (m_doc->isUnconverted())
        setToolTip(
            QStringLiteral("文字コードを判別できなかったため、ファイルのバイトを変換せずに"
                           "表示しています。\nクリックすると別の文字コードで開き直せます。"));
    else
        setToolTip(QStringLiteral("文字コード: %1\nクリックすると別の文字コードで開き直したり"
                                  "保存したりできます。")
                       .arg(m_doc->encodingLabel()));
}

QString CEncodingPane::currentEntry() const
{
    if (!m_doc || m_doc->isUnconverted())
        return QString();
    const QString encoding = m_doc->encoding();
    if (encoding.isEmpty())
        return QString::fromLatin1(TextEncoding::kUtf8);
    if (encoding.startsWith(QLatin1String("UTF-16")))
        return QStringLiteral("UTF-16");
    return encoding;
}

void CEncodingPane::fillMenu()
{
    m_menu->clear();
    if (!m_doc)
        return;
    addEncodingMenu(QStringLiteral("文字コードを指定して開き直す(&R)"),
                    QStringLiteral("ReopenEncodingMenu"), !m_doc->pathName().isEmpty(),
                    &CEncodingPane::reopen);
    addEncodingMenu(QStringLiteral("文字コードを指定して保存(&S)"),
                    QStringLiteral("SaveEncodingMenu"), true, &CEncodingPane::save);
}

void CEncodingPane::addEncodingMenu(const QString& title, const QString& objectName, bool enabled,
                                    void (CEncodingPane::*action)(const QString&))
{
    QMenu* sub = m_menu->addMenu(title);
    sub->setObjectName(objectName);
    sub->setEnabled(enabled);
    const QString current = currentEntry();
    for (const QString& name : TextEncoding::shortList()) {
        QAction* item = sub->addAction(name);
        item->setCheckable(true);
        item->setChecked(name == current);
        connect(item, &QAction::triggered, this, [this, action, name] { (this->*action)(name); });
    }
}

void CEncodingPane::reopen(const QString& encoding)
{
    if (m_doc)
        m_doc->reopenInEncoding(encoding);
}

void CEncodingPane::save(const QString& encoding)
{
    if (m_doc)
        m_doc->saveInEncoding(encoding);
}

void CEncodingPane::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_doc)
        m_menu->exec(event->globalPos());
}
