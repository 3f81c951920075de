#include "widgets/target_history.h"

#include "core/settings_store.h"
#include "widgets/history_list.h"
#include "widgets/history_sections.h"

#include <QComboBox>

namespace {

const QString kSection = QString::fromLatin1(HistorySection::Target);
const QString kPrefix = QStringLiteral("History");

// Shown item and bare name; the blanks line the descriptions up.
struct Predefined
{
    const char* item;
    const char* name;
};
constexpr Predefined kPredefined[] = {
    {"_blank  (新規ウィンドウ)", "_blank"},
    {"_self    (自分自身)", "_self"},
    {"_top     (すべてのフレームを解除)", "_top"},
    {"_parent (フレームを１段解除)", "_parent"},
};

} // namespace

QStringList CTargetHistory::predefinedItems()
{
    QStringList items;
    for (const Predefined& p : kPredefined)
        items.append(QString::fromUtf8(p.item));
    return items;
}

void CTargetHistory::load()
{
    for (int i = 0; i < kSlots; ++i)
        m_slots[i] = getProfileString(kSection, HistoryList::valueName(kPrefix, i));
}

QComboBox* CTargetHistory::createComboBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("targetCombo"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    // A long remembered target must not stretch the dialog off the screen.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(12);
    return box;
}

void CTargetHistory::fillComboBox(QComboBox* box) const
{
    box->clear();
    box->addItems(TargetHistory::comboItems(m_slots));
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

QString CTargetHistory::accept(const QString& text)
{
    const QString name = TargetHistory::predefinedName(text);
    TargetHistory::update(m_slots, text);
    ProfileValues values;
    for (int i = 0; i < kSlots; ++i)
        values.append({kSection, HistoryList::valueName(kPrefix, i), m_slots[i]});
    writeProfileValues(values);
    return name.isEmpty() ? text : name;
}

namespace TargetHistory {

QString predefinedName(const QString& text)
{
    for (const Predefined& p : kPredefined) {
        if (text == QString::fromUtf8(p.item))
            return QString::fromUtf8(p.name);
    }
    return QString();
}

QStringList comboItems(const CTargetHistory::Slots& targets)
{
    QStringList items;
    for (const QString& slot : targets) {
        if (!slot.isEmpty())
            items.append(slot);
    }
    items.append(QString());
    items.append(CTargetHistory::predefinedItems());
    return items;
}

void update(CTargetHistory::Slots& targets, const QString& text)
{
    if (text.isEmpty() || !predefinedName(text).isEmpty())
        return;
    int from = CTargetHistory::kSlots - 1; // not found: the last slot is lost
    for (int i = 0; i < CTargetHistory::kSlots; ++i) {
        if (targets[i] == text) {
            from = i;
            break;
        }
    }
    for (int k = from; k > 0; --k)
        targets[k] = targets[k - 1];
    targets[0] = text;
}

} // namespace TargetHistory
