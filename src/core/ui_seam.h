#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The one way the program opens modal dialogs, message boxes and file
// dialogs, and plays the system's sounds. Tests install hooks here to answer
// them without a user; without hooks the real dialogs run.
namespace UiSeam {

// Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
int execDialog(QDialog& dialog);

// A message box with caption "Marquill"; returns the button pressed.
QMessageBox::StandardButton messageBox(QWidget* parent, const QString& text,
                                       QMessageBox::Icon icon,
                                       QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                       QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

struct FileDialogRequest
{
    bool save = false;
    bool folder = false;     // choose an existing folder instead of a file
    QString title;
    QString filter;          // Qt filter syntax, entries separated by ";;"
    QString selectedFilter;
    QString proposedName;    // save dialogs
    QString defaultSuffix;   // save dialogs: added to a name typed without one
    QString directory;       // empty: the current folder
};
// Returns the chosen full path, or an empty string when cancelled.
QString fileDialog(QWidget* parent, const FileDialogRequest& request);

// The system's critical-stop sound (failed searches).
void beep();

// Test hooks; pass an empty function to remove one.
using DialogHook = std::function<int(QDialog&)>;
using MessageHook = std::function<QMessageBox::StandardButton(const QString& text, QMessageBox::Icon icon,
                                                              QMessageBox::StandardButtons buttons)>;
using FileDialogHook = std::function<QString(const FileDialogRequest&)>;
void setDialogHook(DialogHook hook);
void setMessageHook(MessageHook hook);
void setFileDialogHook(FileDialogHook hook);
void setBeepHook(std::function<void()> hook);

} // namespace UiSeam
