#pragma once

class QEvent;

// A pane with a selection of its own (a list, a page) keeps Ctrl+A and
// Ctrl+C from the main window's accelerators, which select all and copy in
// the document. Called from the pane's event(): when event asks whether one
// of those keys goes to the pane, accepts it and returns true.
bool keepOwnEditKeys(QEvent* event);
