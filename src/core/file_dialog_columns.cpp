#include "core/file_dialog_columns.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>

namespace FileDialogColumns {
namespace {

enum Column { NameColumn, SizeColumn, KindColumn, DateColumn };

QLocale japanese()
{
    return QLocale(QLocale::Japanese, QLocale::Japan);
}

// Shows the file system model's size, kind and date columns in Japanese,
// whatever the system's language; sorting still goes by the real values.
class JapaneseColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == NameColumn)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        switch (index.column()) {
        case SizeColumn:
            return info.isDir() ? QString() : sizeText(files->size(source));
        case KindColumn:
            return kindText(info);
        case DateColumn:
            return dateText(files->lastModified(source));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }
};

int textWidth(const QFontMetrics& metrics, const QStringList& samples)
{
    int width = 0;
    for (const QString& sample : samples)
        width = qMax(width, metrics.horizontalAdvance(sample));
    return width;
}

// Widens the columns to their longest usual texts (and their headers), the
// name column taking what the dialog has room for beyond them.
int sizeColumns(QTreeView* view)
{
    const QFontMetrics metrics = view->fontMetrics();
    QHeaderView* header = view->header();
    const int padding = metrics.averageCharWidth() * 4;
    auto widen = [&](int column, const QStringList& samples) {
        const QString title = view->model()->headerData(column, Qt::Horizontal).toString();
        const int width = textWidth(metrics, samples) + padding;
        header->resizeSection(
            column, qMax(width, header->fontMetrics().horizontalAdvance(title) + padding));
        return header->sectionSize(column);
    };
    int others = widen(SizeColumn, {sizeText(1023), sizeText(999'900'000)});
    others += widen(KindColumn,
                    {kindText(QFileInfo(QStringLiteral("a.shtml"))),
                     kindText(QFileInfo(QStringLiteral("a.txt"))), QStringLiteral("フォルダー")});
    others += widen(DateColumn, {dateText(QDateTime(QDate(2000, 12, 28), QTime(23, 58)))});
    // The name column takes whatever room the others leave.
    const int name = metrics.averageCharWidth() * 50;
    header->setStretchLastSection(false);
    header->resizeSection(NameColumn, name);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    return name + others;
}

// The folder shortcuts beside the list, wide enough for their names.
int sizeSidebar(QFileDialog& dialog)
{
    const auto* sidebar = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"));
    if (!sidebar || !sidebar->model())
        return 0;
    QStringList names{QStringLiteral("コンピュータ")};
    for (int row = 0; row < sidebar->model()->rowCount(); ++row)
        names << sidebar->model()->index(row, 0).data().toString();
    const QFontMetrics metrics = sidebar->fontMetrics();
    return qMin(textWidth(metrics, names), metrics.averageCharWidth() * 24) +
           sidebar->iconSize().width() + metrics.averageCharWidth() * 8;
}

} // namespace

void prepare(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setProxyModel(new JapaneseColumns(&dialog));
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const int columns = sizeColumns(view) + view->verticalScrollBar()->sizeHint().width() + 8;
    const int sidebar = sizeSidebar(dialog);
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({sidebar, columns});
    const int margins = dialog.fontMetrics().averageCharWidth() * 6;
    QSize size(sidebar + columns + margins, dialog.fontMetrics().height() * 34);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.sizeHint()));
}

QString sizeText(qint64 bytes)
{
    return japanese().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

QString kindText(const QFileInfo& info)
{
    if (info.isDir())
        return QStringLiteral("フォルダー");
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html") ||
        suffix == QLatin1String("stm") || suffix == QLatin1String("shtml"))
        return QStringLiteral("HTML ファイル");
    if (suffix == QLatin1String("txt"))
        return QStringLiteral("テキストファイル");
    if (suffix.isEmpty())
        return QStringLiteral("ファイル");
    return info.suffix().toUpper() + QStringLiteral(" ファイル");
}

QString dateText(const QDateTime& time)
{
    return time.isValid() ? japanese().toString(time, QLocale::ShortFormat) : QString();
}

} // namespace FileDialogColumns
