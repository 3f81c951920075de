#pragma once

#include <QList>

class CMarquillView;
class CRecentFileList;
class QWidget;

// The dialogs of the application and the main window, and what follows them.

// The options sheet. After OK the open views take the stored fonts and
// colours at once; returns whether it was confirmed.
bool runOptionSheet(QWidget* parent, const QList<CMarquillView*>& views);

// The tip of the day from command 110.
void showTipOfTheDay(QWidget* parent);
// The tip of the day at start-up: one tip is read (and the position moves
// on) at every start; the dialog shows only while the user wants it to.
void showTipAtStartUp(QWidget* parent);

// The recent-file history deletion. After OK the list holds the remaining
// files in their order; Cancel leaves it as it was. Returns whether it
// was confirmed.
bool runHistoryDeletion(QWidget* parent, CRecentFileList& recentFiles);
