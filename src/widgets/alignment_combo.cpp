#include "widgets/alignment_combo.h"

#include <QComboBox>

QComboBox* createAlignmentCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QStringLiteral("alignCombo"));
    combo->addItems({QStringLiteral("指定しない"), QStringLiteral("左揃え"),
                     QStringLiteral("中揃え"), QStringLiteral("右揃え")});
    return combo;
}
