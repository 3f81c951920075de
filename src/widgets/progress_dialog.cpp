#include "widgets/progress_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
CProgressDialog::CreationHook& creationHook()
{
    static CProgressDialog::CreationHook hook;
    return hook;
}
} // namespace

CProgressDialog::CProgressDialog(QWidget* owner, int lower, int upper, int step)
    : QDialog(nullptr), m_bar(new QProgressBar(this)), m_status(new QLabel(this)), m_owner(owner)
{
    Q_UNUSED(step); // the bar moves to positions, never by steps
    m_started.start();
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(QStringLiteral("Marquill"));
    setWindowModality(Qt::ApplicationModal);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(lower, upper);
    m_bar->setValue(lower);
    m_bar->setTextVisible(false);
    m_status->setObjectName(QStringLiteral("statusText"));
    auto* cancel = new QPushButton(QStringLiteral("中断"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(cancel, &QPushButton::clicked, this, [this] { m_cancelRequested = true; });

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    setMinimumWidth(320);

    m_focus = QApplication::focusWidget();
    m_activeWindow = QApplication::activeWindow();
    if (m_owner && m_owner->isEnabled()) {
        m_owner->setEnabled(false);
        m_disabledOwner = true;
    }
    if (m_owner && m_owner->window()->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(m_owner->window()->windowHandle());
    }
    if (creationHook())
        creationHook()(*this);
}

CProgressDialog::~CProgressDialog()
{
    if (m_disabledOwner && m_owner)
        m_owner->setEnabled(true);
    // Disabling the owner took the focus away from the window it was in.
    if (m_activeWindow && m_activeWindow->isEnabled() && m_activeWindow->isVisible() &&
        QApplication::activeWindow() != m_activeWindow)
        QApplication::setActiveWindow(m_activeWindow);
    if (m_focus && m_focus->isEnabled())
        m_focus->setFocus(Qt::OtherFocusReason);
}

void CProgressDialog::setCreationHook(CreationHook hook)
{
    creationHook() = std::move(hook);
}

void CProgressDialog::setStatus(const QString& text)
{
    m_status->setText(text);
}

int CProgressDialog::position() const
{
    return m_bar->value();
}

int CProgressDialog::setPos(int position)
{
    pumpEvents();
    const int previous = m_bar->value();
    m_bar->setValue(position);
    ++m_positionUpdates;
    Q_EMIT positionChanged(position);
    return previous;
}

bool CProgressDialog::checkCancelButton()
{
    pumpEvents();
    const bool requested = m_cancelRequested;
    m_cancelRequested = false;
    return requested;
}

void CProgressDialog::reject()
{
    m_cancelRequested = true;
}

void CProgressDialog::pumpEvents()
{
    const qint64 now = m_started.elapsed();
    if (now < kShowDelayMs || now - m_lastPumpMs < kPumpIntervalMs)
        return;
    m_lastPumpMs = now;
    if (!isVisible())
        show();
    QApplication::processEvents();
}
