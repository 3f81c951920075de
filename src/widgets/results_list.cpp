#include "widgets/results_list.h"

#include "core/file_names.h"
#include "widgets/own_edit_keys.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QHash>
#include <QKeyEvent>
#include <QSet>

#include <algorithm>

// The entries grouped by file, as a two-level model: file rows at the top
// (internal id 0), entry rows below them (internal id: file row + 1).
// One column: a file's path and its number of entries, or an entry's
// "LINE:COLUMN: TEXT".
class CResultsModel : public QAbstractItemModel
{
public:
    struct Group
    {
        QString path;
        QList<ResultEntry> entries;
    };

    using QAbstractItemModel::QAbstractItemModel;

    const QList<Group>& groups() const { return m_groups; }
    int entryCount() const { return m_entryCount; }

    void clearAll()
    {
        beginResetModel();
        m_groups.clear();
        m_byPath.clear();
        m_entryCount = 0;
        endResetModel();
    }

    // Returns the row of the group and whether it is new.
    std::pair<int, bool> add(const QString& path, const QList<ResultEntry>& entries)
    {
        auto it = m_byPath.constFind(path);
        bool created = false;
        if (it == m_byPath.cend()) {
            const int row = static_cast<int>(m_groups.size());
            beginInsertRows(QModelIndex(), row, row);
            m_groups.append({path, {}});
            it = m_byPath.insert(path, row);
            endInsertRows();
            created = true;
        }
        const int row = it.value();
        if (!entries.isEmpty()) {
            Group& group = m_groups[row];
            const int first = static_cast<int>(group.entries.size());
            beginInsertRows(index(row, 0), first, first + static_cast<int>(entries.size()) - 1);
            group.entries.append(entries);
            m_entryCount += static_cast<int>(entries.size());
            endInsertRows();
            // The count in the file row's label changed.
            emit dataChanged(index(row, 0), index(row, 0), {Qt::DisplayRole});
        }
        return {row, created};
    }

    static bool isEntry(const QModelIndex& index) { return index.isValid() && index.internalId(); }
    static int groupRow(const QModelIndex& index)
    {
        return isEntry(index) ? static_cast<int>(index.internalId() - 1) : index.row();
    }

    const ResultEntry& entry(const QModelIndex& index) const
    {
        return m_groups[groupRow(index)].entries[index.row()];
    }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override
    {
        if (row < 0 || column != 0 || row >= rowCount(parent))
            return {};
        return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : 0);
    }

    QModelIndex parent(const QModelIndex& child) const override
    {
        if (!isEntry(child))
            return {};
        return createIndex(groupRow(child), 0, quintptr(0));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        if (!parent.isValid())
            return static_cast<int>(m_groups.size());
        if (isEntry(parent) || parent.column() != 0)
            return 0;
        return static_cast<int>(m_groups[parent.row()].entries.size());
    }

    int columnCount(const QModelIndex& = {}) const override { return 1; }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (!isEntry(index)) {
            const Group& group = m_groups[index.row()];
            if (role == Qt::DisplayRole)
                return QStringLiteral("%1  (%2 件)")
                    .arg(FileNames::display(group.path), QString::number(group.entries.size()));
            if (role == Qt::ToolTipRole)
                return FileNames::display(group.path);
            return {};
        }
        const ResultEntry& e = entry(index);
        if (role == Qt::DisplayRole)
            return QStringLiteral("%1:%2: %3")
                .arg(QString::number(e.line), QString::number(e.column), displayText(e.text));
        return {};
    }

private:
    // Leading blanks are left out and tabs shown as blanks, so that indented
    // lines still show what was found.
    static QString displayText(const QString& text)
    {
        qsizetype start = 0;
        while (start < text.size() && text[start].isSpace())
            ++start;
        QString shown = text.mid(start);
        shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
        return shown;
    }

    QList<Group> m_groups;
    QHash<QString, int> m_byPath;
    int m_entryCount = 0;
};

CResultsList::CResultsList(QWidget* parent) : QTreeView(parent), m_model(new CResultsModel(this))
{
    setObjectName(QStringLiteral("resultsList"));
    setModel(m_model);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        // A double click on a file row folds or unfolds it by itself.
        if (CResultsModel::isEntry(index))
            activate(index);
    });
}

CResultsList::~CResultsList() = default;

void CResultsList::clearEntries()
{
    m_model->clearAll();
}

void CResultsList::addEntries(const QString& path, const QList<ResultEntry>& entries)
{
    const auto [row, created] = m_model->add(path, entries);
    if (created)
        expand(m_model->index(row, 0));
}

int CResultsList::fileCount() const
{
    return static_cast<int>(m_model->groups().size());
}

int CResultsList::entryCount() const
{
    return m_model->entryCount();
}

QString CResultsList::selectedEntriesText() const
{
    const QModelIndexList rows = selectionModel()->selectedRows(0);
    // Which entries of each group are chosen: all of a selected file row.
    QHash<int, QList<int>> chosen;
    QSet<int> wholeGroups;
    for (const QModelIndex& index : rows) {
        if (CResultsModel::isEntry(index))
            chosen[CResultsModel::groupRow(index)].append(index.row());
        else
            wholeGroups.insert(index.row());
    }
    QString text;
    const QList<CResultsModel::Group>& groups = m_model->groups();
    for (int g = 0; g < groups.size(); ++g) {
        const CResultsModel::Group& group = groups[g];
        const QString path = FileNames::display(group.path);
        auto line = [&](const ResultEntry& e) {
            text += QStringLiteral("%1:%2:%3: %4\n")
                        .arg(path, QString::number(e.line), QString::number(e.column), e.text);
        };
        if (wholeGroups.contains(g)) {
            for (const ResultEntry& e : group.entries)
                line(e);
            continue;
        }
        auto it = chosen.find(g);
        if (it == chosen.end())
            continue;
        std::sort(it->begin(), it->end());
        for (int row : *it)
            line(group.entries[row]);
    }
    return text;
}

void CResultsList::copySelection()
{
    const QString text = selectedEntriesText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void CResultsList::selectFirstEntry()
{
    if (m_model->groups().isEmpty())
        return;
    const QModelIndex group = m_model->index(0, 0);
    const QModelIndex first = m_model->rowCount(group) ? m_model->index(0, 0, group) : group;
    expand(group);
    setCurrentIndex(first);
    selectionModel()->select(first,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(first);
}

bool CResultsList::event(QEvent* event)
{
    return keepOwnEditKeys(event) || QTreeView::event(event);
}

void CResultsList::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        const QModelIndex index = currentIndex();
        if (CResultsModel::isEntry(index))
            activate(index);
        else if (index.isValid())
            setExpanded(index, !isExpanded(index));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CResultsList::activate(const QModelIndex& index)
{
    const ResultEntry& e = m_model->entry(index);
    emit entryActivated(m_model->groups()[CResultsModel::groupRow(index)].path, e.line, e.column,
                        e.length);
}
