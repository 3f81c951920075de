#include "widgets/preview_pane.h"

#include "core/web_browser.h"
#include "widgets/own_edit_keys.h"
#include "widgets/web_preview.h"
#include "widgets/web_preview_loader.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QStackedLayout>
#include <utility>

CPreviewPane::CPreviewPane(QWidget* parent) : QWidget(parent)
{
    m_stack = new QStackedLayout(this);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("previewMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_message->setMargin(12);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stack->addWidget(m_message);
    m_linkHandler = [](const QUrl& url) { WebBrowser::open(url); };
    m_waitForDialog.setInterval(100);
    connect(&m_waitForDialog, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget())
            return;
        m_waitForDialog.stop();
        showPage(std::exchange(m_waitingHtml, {}), m_waitingUrl);
    });
    showNoDocument();
}

bool CPreviewPane::ensureEngine()
{
    if (m_preview)
        return true;
    if (m_triedEngine)
        return false;
    m_triedEngine = true;
    QString why;
    CWebPreviewFactory* factory = WebPreviewLoader::factory(why);
    if (!factory) {
        showMessage(QStringLiteral("プレビューを表示できません。\n%1").arg(why));
        return false;
    }
    m_preview = factory->createPreview(this);
    m_preview->setTrusted(m_trusted);
    m_preview->setLinkHandler([this](const QUrl& url) {
        if (m_linkHandler)
            m_linkHandler(url);
    });
    m_preview->setFailureHandler([this](const QString& why) {
        if (why.isEmpty())
            m_stack->setCurrentWidget(m_preview->widget());
        else
            showMessage(QStringLiteral("プレビューを表示できません。\n%1").arg(why));
    });
    m_stack->addWidget(m_preview->widget());
    return true;
}

void CPreviewPane::showPage(const QByteArray& html, const QUrl& pageUrl)
{
    if (!m_preview && !m_triedEngine && QApplication::activeModalWidget()) {
        m_waitingHtml = html;
        m_waitingUrl = pageUrl;
        m_waitForDialog.start();
        return;
    }
    const bool firstPage = !m_preview;
    if (!ensureEngine())
        return; // the pane goes on saying why
    QPointer<QWidget> focused = QApplication::focusWidget();
    m_message->clear();
    m_stack->setCurrentWidget(m_preview->widget());
    m_preview->showPage(html, pageUrl);
    if (firstPage && focused) {
        // Showing the engine's view the first time makes the main window a
        // new native window, which loses the keyboard and the active state:
        // give them back to where the user was typing.
        QTimer::singleShot(0, focused, [focused] {
            focused->activateWindow();
            focused->setFocus(Qt::OtherFocusReason);
        });
    }
}

void CPreviewPane::showNoDocument()
{
    m_waitForDialog.stop();
    m_waitingHtml.clear();
    if (m_triedEngine && !m_preview)
        return; // why the engine cannot draw matters more
    showMessage(QStringLiteral("プレビューする文書がありません。"));
}

void CPreviewPane::setTrusted(bool trusted)
{
    m_trusted = trusted;
    if (m_preview)
        m_preview->setTrusted(trusted);
}

void CPreviewPane::setLinkHandler(std::function<void(const QUrl&)> handler)
{
    m_linkHandler = std::move(handler);
}

QString CPreviewPane::message() const
{
    return m_stack->currentWidget() == m_message ? m_message->text() : QString();
}

QWidget* CPreviewPane::pageView() const
{
    return m_preview ? m_preview->widget() : nullptr;
}

bool CPreviewPane::event(QEvent* event)
{
    return keepOwnEditKeys(event) || QWidget::event(event);
}

void CPreviewPane::showMessage(const QString& text)
{
    m_message->setText(text);
    m_stack->setCurrentWidget(m_message);
}
