#include "core/settings_store.h"

#include "core/file_names.h"
#include "core/settings_patch.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSettings>

#include <sys/stat.h>

namespace {

// "History\URL" is the group path "History/URL".
QString keyPath(const QString& section, const QString& entry)
{
    QString path = section;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + entry;
}

// The settings for the whole run: one object, which reads the file (and the
// system-wide fall-backs) once, where an object per read would look at all
// of them each time. Other settings objects of this process on the same file
// share what it holds, so a write anywhere in the program is seen at once; a
// change from outside (the user editing the file, another program) is seen
// by the first read after a look at the files, taken at most once a second.
class HeldSettings
{
public:
    HeldSettings()
        : m_settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
                     QStringLiteral("Marquill"))
    {
        m_lastLook.start();
    }

    // Locked for each use: a read may come from any thread.
    QMutex& mutex() { return m_mutex; }

    QSettings& settings()
    {
        if (m_lastLook.hasExpired(kLookInterval)) {
            m_settings.sync();
            m_lastLook.restart();
        }
        return m_settings;
    }

private:
    static constexpr qint64 kLookInterval = 1000; // ms

    QMutex m_mutex;
    QSettings m_settings;
    QElapsedTimer m_lastLook;
};

HeldSettings& held()
{
    // Never destroyed: every write has already reached the file.
    static HeldSettings* settings = new HeldSettings;
    return *settings;
}

QVariant readValue(const QString& key)
{
    HeldSettings& h = held();
    QMutexLocker lock(&h.mutex());
    return h.settings().value(key);
}

// A string holding a file name whose bytes are not UTF-8 is stored as those
// bytes, which the settings file keeps exactly, where UTF-8 text would lose them.
QVariant stored(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && FileNames::hasRawBytes(value.toString()))
        return FileNames::encode(value.toString());
    return value;
}

// Removes (an invalid value) or sets each value, writes them to the file at
// once and tells whether they reached it. A large file has only the lines of
// the values changed, and is read again at once.
bool writeValues(const QList<QPair<QString, QVariant>>& values)
{
    HeldSettings& h = held();
    QMutexLocker lock(&h.mutex());
    QSettings& s = h.settings();
    const QString file = s.fileName();
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) == 0 &&
        st.st_size >= SettingsPatch::kThreshold && SettingsPatch::apply(file, values)) {
        s.sync();
        return s.status() == QSettings::NoError;
    }
    for (const auto& [key, value] : values) {
        if (!value.isValid())
            s.remove(key);
        else
            s.setValue(key, value);
    }
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace

QString settingsFolder()
{
    HeldSettings& h = held();
    QMutexLocker lock(&h.mutex());
    return QFileInfo(h.settings().fileName()).absolutePath();
}

int getProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    const QVariant v = readValue(keyPath(section, entry));
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    // Stored integers are 32-bit; a value written as unsigned wraps like a DWORD.
    const qlonglong n = v.toLongLong(&ok);
    return ok ? static_cast<int>(static_cast<quint32>(n)) : defaultValue;
}

QString getProfileString(const QString& section, const QString& entry, const QString& defaultValue)
{
    const QVariant v = readValue(keyPath(section, entry));
    if (v.typeId() == QMetaType::QByteArray)
        return FileNames::decode(v.toByteArray());
    return v.isValid() ? v.toString() : defaultValue;
}

bool writeProfileInt(const QString& section, const QString& entry, int value)
{
    return writeValues({{keyPath(section, entry), value}});
}

bool writeProfileString(const QString& section, const QString& entry, const QString& value)
{
    return writeValues({{keyPath(section, entry), stored(value)}});
}

bool writeProfileValues(const ProfileValues& values)
{
    QList<QPair<QString, QVariant>> stores;
    stores.reserve(values.size());
    for (const ProfileValue& v : values)
        stores.append({keyPath(v.section, v.entry), stored(v.value)});
    return writeValues(stores);
}

int IntSetting::read() const
{
    return getProfileInt(QString::fromUtf8(section), QString::fromUtf8(entry), defaultValue);
}

int IntSetting::read(int otherDefault) const
{
    return getProfileInt(QString::fromUtf8(section), QString::fromUtf8(entry), otherDefault);
}

void IntSetting::write(int value) const
{
    writeProfileInt(QString::fromUtf8(section), QString::fromUtf8(entry), value);
}

ProfileValue IntSetting::with(int value) const
{
    return {QString::fromUtf8(section), QString::fromUtf8(entry), value};
}

QString StringSetting::read() const
{
    return getProfileString(QString::fromUtf8(section), QString::fromUtf8(entry),
                            QString::fromUtf8(defaultValue));
}

void StringSetting::write(const QString& value) const
{
    writeProfileString(QString::fromUtf8(section), QString::fromUtf8(entry), value);
}

ProfileValue StringSetting::with(const QString& value) const
{
    return {QString::fromUtf8(section), QString::fromUtf8(entry), value};
}
