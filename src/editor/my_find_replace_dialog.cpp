#include "editor/my_find_replace_dialog.h"

#include "widgets/history_combo_box.h"
#include "widgets/history_sections.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

CMyFindReplaceDialog::CMyFindReplaceDialog(bool findOnly, bool matchCase, bool wholeWord,
                                           bool regex, QWidget* owner)
    : QDialog(owner), m_findOnly(findOnly)
{
    setObjectName(findOnly ? QStringLiteral("findDialog") : QStringLiteral("replaceDialog"));
    setWindowTitle(findOnly ? QStringLiteral("検索") : QStringLiteral("置換"));
    setModal(false);
    setSizeGripEnabled(false);
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    auto* fields = new QGridLayout;
    m_findWhat =
        makeHistoryBox("findWhat", findOnly ? HistorySection::Find : HistorySection::Replace1);
    auto* findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    findLabel->setBuddy(m_findWhat);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findWhat, 0, 1);
    if (!findOnly) {
        m_replaceWith = makeHistoryBox("replaceWith", HistorySection::Replace2);
        auto* replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
        replaceLabel->setBuddy(m_replaceWith);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replaceWith, 1, 1);
    }
    fields->setColumnStretch(1, 1);

    m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_wholeWord->setChecked(wholeWord);
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_matchCase->setChecked(matchCase);
    m_regex = new QCheckBox(QStringLiteral("正規表現(&X)"), this);
    m_regex->setObjectName(QStringLiteral("regex"));
    m_regex->setChecked(regex);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addStretch(1);
    left->addWidget(m_wholeWord);
    left->addWidget(m_matchCase);
    left->addWidget(m_regex);

    auto* buttons = new QVBoxLayout;
    auto addButton = [&](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        buttons->addWidget(button);
        return button;
    };
    m_findNext = addButton(QStringLiteral("次を検索(&F)"), "findNext");
    m_findNext->setDefault(true);
    connect(m_findNext, &QPushButton::clicked, this, &CMyFindReplaceDialog::findNextRequested);
    if (!findOnly) {
        m_replace = addButton(QStringLiteral("置換して次に(&R)"), "replace");
        connect(m_replace, &QPushButton::clicked, this, &CMyFindReplaceDialog::replaceRequested);
        m_replaceAll = addButton(QStringLiteral("すべて置換(&A)"), "replaceAll");
        connect(m_replaceAll, &QPushButton::clicked, this,
                &CMyFindReplaceDialog::replaceAllRequested);
    }
    QPushButton* cancel = addButton(QStringLiteral("キャンセル"), "cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_findWhat, &QComboBox::editTextChanged, this, &CMyFindReplaceDialog::updateButtons);
    updateButtons(m_findWhat->currentText());
    m_findWhat->setFocus();
}

CMyFindReplaceDialog::~CMyFindReplaceDialog() = default;

CHistoryComboBox* CMyFindReplaceDialog::makeHistoryBox(const char* objectName, const char* section)
{
    auto* box = new CHistoryComboBox(this);
    box->setObjectName(QLatin1String(objectName));
    box->setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9));
    box->setMinimumContentsLength(28);
    box->setMaxVisibleItems(5);
    box->LoadHistory(QString::fromLatin1(section));
    return box;
}

void CMyFindReplaceDialog::updateButtons(const QString& findText)
{
    const bool on = !findText.isEmpty();
    m_findNext->setEnabled(on);
    if (m_replace)
        m_replace->setEnabled(on);
    if (m_replaceAll)
        m_replaceAll->setEnabled(on);
}

QString CMyFindReplaceDialog::findText() const
{
    return m_findWhat->currentText();
}

QString CMyFindReplaceDialog::replaceText() const
{
    return m_replaceWith ? m_replaceWith->currentText() : QString();
}

bool CMyFindReplaceDialog::matchCase() const
{
    return m_matchCase->isChecked();
}

bool CMyFindReplaceDialog::wholeWord() const
{
    return m_wholeWord->isChecked();
}

bool CMyFindReplaceDialog::regex() const
{
    return m_regex->isChecked();
}

void CMyFindReplaceDialog::moveClearOf(const QPoint& globalPoint)
{
    const QScreen* screen = this->screen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    const QRect frame = frameGeometry();
    const QRect moved = findDialogRectClearOf(frame, globalPoint, screenRect);
    if (moved != frame)
        move(moved.topLeft());
}

QRect findDialogRectClearOf(const QRect& dialog, const QPoint& point, const QRect& screen)
{
    if (!dialog.contains(point))
        return dialog;
    // Heights on the screen count from its top edge. QRect::bottom() is the
    // last row inside; the window's bottom edge lies one below it.
    const int y = point.y() - screen.y();
    const int bottomEdge = dialog.y() + dialog.height();
    if (y > dialog.height())
        return dialog.translated(0, point.y() - bottomEdge - 20);
    if (y + dialog.height() < screen.height())
        return dialog.translated(0, 40 + point.y() - dialog.y());
    return dialog;
}
