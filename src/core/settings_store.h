#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

// The per-user settings store ("Software\Tollbury\Marquill"): four profile
// operations, each given a section (a key below the application key, with
// backslashes as in "History\URL") and a value name. Nothing is cached:
// every call reads or writes the store itself, so a value written by one part
// of the program is seen at once by every other part.
int getProfileInt(const QString& section, const QString& entry, int defaultValue);
QString getProfileString(const QString& section, const QString& entry,
                         const QString& defaultValue = QString());
bool writeProfileInt(const QString& section, const QString& entry, int value);
bool writeProfileString(const QString& section, const QString& entry, const QString& value);
// Removes a value, so that readers get their default again.
bool deleteProfileValue(const QString& section, const QString& entry);
// Writes several values of one section at once (strings and integers, as
// the two write operations store them), with one flush to disk.
using ProfileValues = QList<std::pair<QString, QVariant>>;
bool writeProfileValues(const QString& section, const ProfileValues& values);

// A named integer value with the default that applies where it is read.
// Declare one next to the code that reads it, or, for the "Options" and
// "Font" values that the options sheet edits too, in core/options.h:
//   constexpr IntSetting kSmallLetter{"Options", "SmallLetter", 1};
struct IntSetting
{
    const char* section;
    const char* entry;
    int defaultValue;

    int read() const;
    int read(int otherDefault) const; // for the few values read with another default
    void write(int value) const;
};

// A named string value with its default.
struct StringSetting
{
    const char* section;
    const char* entry;
    const char* defaultValue; // UTF-8

    QString read() const;
    void write(const QString& value) const;
};
