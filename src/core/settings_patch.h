#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// Writes a few values into a large settings file by changing only their
// lines. QSettings rewrites the whole file at every write, escaping it
// character by character: a settings file of 100 MB took close to a minute
// per write. The lines themselves are still written by QSettings (into a
// small file of their own), so the file keeps its exact form.
namespace SettingsPatch {

// Files at least this large are patched rather than rewritten.
inline constexpr qint64 kThreshold = 1024 * 1024;

// The key paths ("History/URL/History01") with the values to store there;
// an invalid value removes the key. False when the file cannot be patched
// (it cannot be read or written); it is unchanged then.
bool apply(const QString& iniFile, const QList<QPair<QString, QVariant>>& values);

} // namespace SettingsPatch
