#include "dialogs/option_sheet.h"

#include "dialogs/option_pages.h"
#include "widgets/dialog_layout.h"

#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

COptionSheet::COptionSheet(QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)), m_filePage(new COptionFilePage),
      m_tagPage(new COptionTagPage), m_editPage(new COptionEditPage),
      m_fontPage(new COptionFontPage), m_checkPage(new COptionCheckPage),
      m_values(OptionRules::read())
{
    setObjectName(QStringLiteral("OptionSheet"));
    setWindowTitle(QStringLiteral("Marquill 一般設定"));
    m_tabs->setObjectName(QStringLiteral("optionTabs"));
    m_tabs->addTab(m_filePage, QStringLiteral("ファイル"));
    m_tabs->addTab(m_tagPage, QStringLiteral("タグ"));
    m_tabs->addTab(m_editPage, QStringLiteral("エディタ"));
    m_tabs->addTab(m_fontPage, QStringLiteral("フォント"));
    m_tabs->addTab(m_checkPage, QStringLiteral("チェック"));
    m_tabs->setCurrentIndex(0);

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from whichever control has
    // the focus, the buttons below the pages too.
    const auto turn = [this](int by) {
        m_tabs->setCurrentIndex((m_tabs->currentIndex() + by + m_tabs->count()) % m_tabs->count());
    };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this,
            [turn] { turn(1); });
    for (const QKeyCombination back :
         {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, Qt::CTRL | Qt::SHIFT | Qt::Key_Tab})
        connect(new QShortcut(QKeySequence(back), this), &QShortcut::activated, this,
                [turn] { turn(-1); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(DialogLayout::okCancelButtons(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_filePage->load(m_values);
    m_tagPage->load(m_values);
    m_editPage->load(m_values);
    m_fontPage->load(m_values);
    m_checkPage->load(m_values);
}

OptionValues COptionSheet::values() const
{
    OptionValues v = m_values;
    m_filePage->store(v);
    m_tagPage->store(v);
    m_editPage->store(v);
    m_fontPage->store(v);
    m_checkPage->store(v);
    return v;
}

void COptionSheet::accept()
{
    m_values = values();
    OptionRules::write(m_values);
    QDialog::accept();
}
