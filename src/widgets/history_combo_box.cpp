#include "widgets/history_combo_box.h"

#include "widgets/history_list.h"

#include <QDialog>
#include <QLineEdit>
#include <QShowEvent>

#include <algorithm>

CHistoryComboBox::CHistoryComboBox(QWidget* parent, bool sorted)
    : QComboBox(parent), m_sorted(sorted)
{
    setEditable(true);
    // The list changes only through the history rules: Return must not add
    // items, and no inline completion may change what the user typed.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
}

CHistoryComboBox::~CHistoryComboBox()
{
    saveHistory();
}

bool CHistoryComboBox::LoadHistory(const QString& section, const QString& prefix, unsigned maximum)
{
    if (maximum > HistoryList::kMaxSlots)
        return false;
    m_section = section;
    m_prefix = prefix;
    m_maximum = maximum;

    QStringList items = HistoryList::read(section, prefix, maximum);
    if (m_sorted) {
        std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
    }
    clear();
    addItems(items);
    setCurrentIndex(items.isEmpty() ? -1 : 0);
    setEditText(items.isEmpty() ? QString() : items.first());
    lineEdit()->selectAll();

    m_loaded = true;
    m_saved = false;
    watchDialog();
    return true;
}

void CHistoryComboBox::saveHistory()
{
    if (!m_loaded || m_saved)
        return;
    m_saved = true;
    const QString text = currentText();
    if (text.isEmpty())
        return;

    QStringList items;
    for (int i = 0; i < count(); ++i)
        items.append(itemText(i));
    items = HistoryList::withNewEntry(items, text);
    HistoryList::write(m_section, m_prefix, m_maximum, items);

    // Keep the list showing what was stored, as a reopened dialog would.
    const QSignalBlocker blocker(this);
    clear();
    addItems(items.mid(0, static_cast<qsizetype>(m_maximum)));
    setCurrentIndex(0);
    setEditText(text);
}

void CHistoryComboBox::showEvent(QShowEvent* event)
{
    QComboBox::showEvent(event);
    if (!event->spontaneous()) {
        // A new showing of the dialog saves again when it closes.
        m_saved = false;
        watchDialog();
    }
}

void CHistoryComboBox::watchDialog()
{
    if (auto* dialog = qobject_cast<QDialog*>(window())) {
        connect(dialog, &QDialog::finished, this, &CHistoryComboBox::saveHistory,
                Qt::UniqueConnection);
    }
}
