#include "core/settings_patch.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace SettingsPatch {
namespace {

// Stands for a key to remove while its line is formatted.
const QString kRemoved = QStringLiteral("MarquillRemovesThisValue7f3a");

struct Line
{
    QByteArray section; // "[Options]"
    QByteArray key;     // "DefaultFaceName", "URL\\History01"
    QByteArray text;    // the whole line; empty: remove the key
};

QByteArrayView keyOf(QByteArrayView line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArrayView() : line.first(equals).trimmed();
}

bool isSection(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

// The lines QSettings writes for the values, in its own form.
bool formatted(const QList<QPair<QString, QVariant>>& values, QList<Line>& lines)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("values.ini"));
    {
        QSettings settings(file, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            settings.setValue(key, value.isValid() ? value : QVariant(kRemoved));
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return false;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArray section;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (isSection(line)) {
            section = line.trimmed();
        } else if (!keyOf(line).isEmpty()) {
            const bool removed = line.mid(line.indexOf('=') + 1).trimmed() == kRemoved.toUtf8();
            lines.append({section, keyOf(line).toByteArray(), removed ? QByteArray() : line});
        }
    }
    return true;
}

// The text with each line's key set or removed. Only the lines of the
// sections concerned are looked at; the rest is copied as it is.
QByteArray patched(const QByteArray& text, const QList<Line>& lines)
{
    QHash<QByteArray, qsizetype> wanted;     // "section\nkey" to its index in lines
    QHash<QByteArray, qsizetype> sectionEnd; // where a new key of the section goes
    for (qsizetype i = 0; i < lines.size(); ++i) {
        wanted.insert(lines[i].section + '\n' + lines[i].key, i);
        sectionEnd.insert(lines[i].section, -1);
    }
    struct Edit
    {
        qsizetype start;
        qsizetype end;
        QByteArray text;
    };
    QList<Edit> edits;
    QList<bool> found(lines.size(), false);
    QByteArray section;
    bool concerned = false;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf('\n', start);
        end = end < 0 ? text.size() : end + 1;
        const QByteArrayView line(text.constData() + start, end - start);
        if (isSection(line)) {
            section = line.trimmed().toByteArray();
            concerned = sectionEnd.contains(section);
            if (concerned)
                sectionEnd[section] = end;
        } else if (concerned && !keyOf(line).isEmpty()) {
            sectionEnd[section] = end;
            const auto at = wanted.constFind(section + '\n' + keyOf(line).toByteArray());
            if (at != wanted.cend()) {
                found[*at] = true;
                const QByteArray& replacement = lines[*at].text;
                edits.append(
                    {start, end, replacement.isEmpty() ? replacement : replacement + '\n'});
            }
        }
        start = end;
    }
    QByteArray added; // keys of sections the file does not have yet
    QByteArray lastAdded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (found[i] || lines[i].text.isEmpty())
            continue;
        const qsizetype end = sectionEnd.value(lines[i].section);
        if (end >= 0) {
            edits.append({end, end, lines[i].text + '\n'});
            continue;
        }
        if (lastAdded != lines[i].section)
            added += '\n' + lines[i].section + '\n';
        lastAdded = lines[i].section;
        added += lines[i].text + '\n';
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.start < b.start; });
    QByteArray result;
    result.reserve(text.size() + added.size() + 1024);
    qsizetype copied = 0;
    for (const Edit& edit : std::as_const(edits)) {
        result.append(text.constData() + copied, edit.start - copied);
        result.append(edit.text);
        copied = qMax(copied, edit.end);
    }
    result.append(text.constData() + copied, text.size() - copied);
    if (!added.isEmpty() && !result.isEmpty() && !result.endsWith('\n'))
        result += '\n';
    return result + added;
}

} // namespace

bool apply(const QString& iniFile, const QList<QPair<QString, QVariant>>& values)
{
    QList<Line> lines;
    if (!formatted(values, lines))
        return false;
    QFile in(iniFile);
    struct stat before;
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        ::stat(QFile::encodeName(iniFile).constData(), &before) != 0)
        return false;
    const QByteArray text = patched(in.readAll(), lines);
    in.close();
    QSaveFile out(iniFile);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(text) != text.size() ||
        !out.commit())
        return false;
    // QSettings reads the file again when its size or time differs from what
    // it read last; a patch of the same size within the same moment must not
    // look unchanged.
    struct stat after;
    if (::stat(QFile::encodeName(iniFile).constData(), &after) == 0 &&
        after.st_size == before.st_size && after.st_mtim.tv_sec == before.st_mtim.tv_sec &&
        after.st_mtim.tv_nsec / 1000000 == before.st_mtim.tv_nsec / 1000000) {
        struct timespec times[2] = {after.st_atim, after.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec / 1000000 + 1) * 1000000;
        if (times[1].tv_nsec >= 1000000000) {
            times[1].tv_sec += 1;
            times[1].tv_nsec -= 1000000000;
        }
        ::utimensat(AT_FDCWD, QFile::encodeName(iniFile).constData(), times, 0);
    }
    return true;
}

} // namespace SettingsPatch
