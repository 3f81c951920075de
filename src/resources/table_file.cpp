#include "resources/table_file.h"

#include <QFile>

namespace TableFile {

QByteArray read(const QString& name)
{
    QFile f(QStringLiteral(":/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("resource table %s is not linked into the program", qPrintable(name));
    return f.readAll();
}

QList<QStringList> rows(const QString& name)
{
    QList<QStringList> rows;
    const QList<QByteArray> lines = read(name).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        rows.append(QString::fromUtf8(lines[i]).split(QLatin1Char('\t')));
    }
    return rows;
}

QString field(const QStringList& row, int i)
{
    return i < row.size() ? row[i] : QString();
}

} // namespace TableFile
