#include "dialogs/list_dlg.h"

#include "core/settings_store.h"
#include "dialogs/html/sample_pictures.h"
#include "widgets/dialog_layout.h"
#include "widgets/history_sections.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

constexpr IntSetting kKind{HistorySection::List, "Kind", 0};
constexpr IntSetting kOrderType{HistorySection::List, "OrderType", 0};
constexpr IntSetting kUnorderType{HistorySection::List, "UnorderType", 0};

// A remembered choice outside the buttons' range falls back to the first.
int remembered(const IntSetting& setting, int count)
{
    const int value = setting.read();
    return value >= 0 && value < count ? value : 0;
}

void addRadios(QButtonGroup* group, const QStringList& texts, const QString& namePrefix,
               QWidget* parent, QVBoxLayout* layout, int indent)
{
    for (int i = 0; i < texts.size(); ++i) {
        auto* button = new QRadioButton(texts[i], parent);
        button->setObjectName(namePrefix + QString::number(i));
        group->addButton(button, i);
        auto* row = new QHBoxLayout;
        row->addSpacing(indent);
        row->addWidget(button);
        layout->addLayout(row);
    }
}

} // namespace

CListDlg::CListDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("リストの作成"));

    m_items = new QPlainTextEdit(this);
    m_items->setObjectName(QStringLiteral("items"));
    m_items->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_items->setTabChangesFocus(true);
    auto* itemsLabel = new QLabel(QStringLiteral("リストの項目(&I)"), this);
    itemsLabel->setBuddy(m_items);
    auto* itemsColumn = new QVBoxLayout;
    itemsColumn->addWidget(itemsLabel);
    itemsColumn->addWidget(m_items, 1);

    auto* previewGroup = new QGroupBox(QStringLiteral("プレビュー"), this);
    m_preview = new QLabel(previewGroup);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFrameShape(QFrame::StyledPanel);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    previewLayout->addWidget(m_preview, 0, Qt::AlignCenter);

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(buildKindColumn());
    rightColumn->addWidget(previewGroup);
    rightColumn->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(itemsColumn, 1);
    columns->addLayout(rightColumn);

    QDialogButtonBox* buttons = DialogLayout::okCancelButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    m_items->setMinimumSize(260, 260);

    m_kind->button(remembered(kKind, kListKinds))->setChecked(true);
    m_marker->button(remembered(kUnorderType, kUnorderedMarkers))->setChecked(true);
    m_numbering->button(remembered(kOrderType, kOrderedNumberings))->setChecked(true);
    updateEnabling();
    updatePreview();
}

QWidget* CListDlg::buildKindColumn()
{
    auto* box = new QGroupBox(this);
    auto* layout = new QVBoxLayout(box);
    m_kind = new QButtonGroup(this);
    m_marker = new QButtonGroup(this);
    m_numbering = new QButtonGroup(this);
    const int indent = 20;

    auto addKind = [&](int id, const QString& text) {
        auto* button = new QRadioButton(text, box);
        button->setObjectName(QStringLiteral("kind%1").arg(id));
        m_kind->addButton(button, id);
        layout->addWidget(button);
    };
    addKind(ListChoices::Unordered, QStringLiteral("順不同リスト(&U)"));
    addRadios(m_marker,
              {QStringLiteral("○ (&C)"), QStringLiteral("□ (&S)"), QStringLiteral("● (&K)")},
              QStringLiteral("marker"), box, layout, indent);
    addKind(ListChoices::Ordered, QStringLiteral("順序付きリスト(&O)"));
    addRadios(m_numbering,
              {QStringLiteral("1.2.3... (&N)"), QStringLiteral("I.II.III...(&R)"),
               QStringLiteral("i.ii.iii... (&S)"), QStringLiteral("A.B.C... (&A)"),
               QStringLiteral("a.b.c... (&B)")},
              QStringLiteral("numbering"), box, layout, indent);
    addKind(ListChoices::Definition, QStringLiteral("定義リスト(&D)"));

    connect(m_kind, &QButtonGroup::idClicked, this, [this] {
        updateEnabling();
        updatePreview();
    });
    connect(m_marker, &QButtonGroup::idClicked, this, &CListDlg::updatePreview);
    connect(m_numbering, &QButtonGroup::idClicked, this, &CListDlg::updatePreview);
    return box;
}

void CListDlg::setItems(const QString& items)
{
    m_items->setPlainText(items);
}

// The text as typed: toPlainText() would turn non-breaking spaces into
// plain ones. Paragraph and line separators are the box's line breaks.
QString CListDlg::items() const
{
    QString text = m_items->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

ListChoices CListDlg::choices() const
{
    ListChoices c;
    c.kind = m_kind->checkedId();
    c.unorderedMarker = m_marker->checkedId();
    c.orderedNumbering = m_numbering->checkedId();
    c.items = items();
    return c;
}

void CListDlg::updateEnabling()
{
    const int kind = m_kind->checkedId();
    for (QAbstractButton* button : m_marker->buttons())
        button->setEnabled(kind == ListChoices::Unordered);
    for (QAbstractButton* button : m_numbering->buttons())
        button->setEnabled(kind == ListChoices::Ordered);
}

void CListDlg::updatePreview()
{
    m_preview->setPixmap(
        SamplePictures::list(m_kind->checkedId(), m_marker->checkedId(), m_numbering->checkedId()));
}

void CListDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (items().isEmpty())
            m_items->setFocus();
        else
            m_ok->setFocus();
    }
}

void CListDlg::accept()
{
    const ListChoices c = choices();
    writeProfileValues({kKind.with(c.kind), kOrderType.with(c.orderedNumbering),
                        kUnorderType.with(c.unorderedMarker)});
    m_result = buildList(c);
    QDialog::accept();
}
