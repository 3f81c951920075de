#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The per-user settings store ("Software\Tollbury\Marquill"): four profile
// operations, each given a section (a key below the application key, with
// backslashes as in "History\URL") and a value name. The settings file is
// read once and held for the whole run; every write goes to the file at
// once, so a value written by one part of the program is seen at once by
// every other part, and a change of the file from outside (another program,
// the user) is seen within about a second.
int getProfileInt(const QString& section, const QString& entry, int defaultValue);
QString getProfileString(const QString& section, const QString& entry,
                         const QString& defaultValue = QString());
bool writeProfileInt(const QString& section, const QString& entry, int value);
bool writeProfileString(const QString& section, const QString& entry, const QString& value);
// The folder that holds the settings file (~/.config/Tollbury): the user's
// own place for files the program reads beside its settings.
QString settingsFolder();
// One value of a section to write: an integer or a string, stored as the two
// write operations store them; an invalid value removes the stored one, so that
// readers get their default again.
struct ProfileValue
{
    QString section;
    QString entry;
    QVariant value;
};
using ProfileValues = QList<ProfileValue>;
// Writes several values, of one section or of several, with one flush to
// disk: what a dialog's OK stores, a history list, the toolbars' layout.
bool writeProfileValues(const ProfileValues& values);

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
    // The value to write among others (writeProfileValues).
    ProfileValue with(int value) const;
};

// A named string value with its default.
struct StringSetting
{
    const char* section;
    const char* entry;
    const char* defaultValue; // UTF-8

    QString read() const;
    void write(const QString& value) const;
    ProfileValue with(const QString& value) const;
};
