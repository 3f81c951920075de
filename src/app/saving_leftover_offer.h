#pragma once

#include <QString>

class QWidget;

// At start-up: the old bytes that a save written in place left in the saving
// folder when the program ended in the middle of it. Where the file holds
// neither its old bytes nor the new ones, the user is told where the old bytes
// are and asked whether to put them back; declining asks whether to remove
// them, and keeping them asks again at the next start. Copies no longer
// needed (the write got to its end, or never began) go without a word.
namespace SavingLeftoverOffer {

void run(QWidget* parent, const QString& folder);

} // namespace SavingLeftoverOffer
