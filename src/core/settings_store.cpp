#include "core/settings_store.h"

#include <QFileInfo>
#include <QSettings>

namespace {

// "History\URL" is the group path "History/URL".
QString keyPath(const QString& section, const QString& entry)
{
    QString path = section;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path + QLatin1Char('/') + entry;
}

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tollbury"),
                     QStringLiteral("Marquill"));
}

} // namespace

QString settingsFolder()
{
    return QFileInfo(store().fileName()).absolutePath();
}

int getProfileInt(const QString& section, const QString& entry, int defaultValue)
{
    const QVariant v = store().value(keyPath(section, entry));
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    // Stored integers are 32-bit; a value written as unsigned wraps like a DWORD.
    const qlonglong n = v.toLongLong(&ok);
    return ok ? static_cast<int>(static_cast<quint32>(n)) : defaultValue;
}

QString getProfileString(const QString& section, const QString& entry, const QString& defaultValue)
{
    const QVariant v = store().value(keyPath(section, entry));
    return v.isValid() ? v.toString() : defaultValue;
}

bool writeProfileInt(const QString& section, const QString& entry, int value)
{
    QSettings s = store();
    s.setValue(keyPath(section, entry), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool writeProfileString(const QString& section, const QString& entry, const QString& value)
{
    QSettings s = store();
    s.setValue(keyPath(section, entry), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool writeProfileValues(const ProfileValues& values)
{
    QSettings s = store();
    for (const ProfileValue& v : values) {
        if (!v.value.isValid())
            s.remove(keyPath(v.section, v.entry));
        else
            s.setValue(keyPath(v.section, v.entry), v.value);
    }
    s.sync();
    return s.status() == QSettings::NoError;
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
