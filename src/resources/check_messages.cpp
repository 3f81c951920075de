#include "resources/check_messages.h"

#include <QFile>
#include <QHash>

namespace Resources {
namespace {

QHash<QString, QString> readTable()
{
    QFile f(QStringLiteral(":/check_messages.tsv"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("resource table check_messages.tsv is not linked into the program");
    QHash<QString, QString> table;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype tab = lines[i].indexOf('\t');
        if (tab > 0)
            table.insert(QString::fromUtf8(lines[i].left(tab)),
                         QString::fromUtf8(lines[i].mid(tab + 1)));
    }
    return table;
}

} // namespace

QString checkMessage(const QString& code)
{
    // Read once, on whichever thread asks first.
    static const QHash<QString, QString> table = readTable();
    return table.value(code);
}

} // namespace Resources
