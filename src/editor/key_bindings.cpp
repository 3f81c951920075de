#include "editor/key_bindings.h"

#include "resources/command_table.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QSet>

namespace KeyBindings {

void keepEditingKeysOnly(QsciScintilla& control)
{
    static const QList<QsciCommand::Command> keep = {
        QsciCommand::LineDown,
        QsciCommand::LineDownExtend,
        QsciCommand::LineUp,
        QsciCommand::LineUpExtend,
        QsciCommand::CharLeft,
        QsciCommand::CharLeftExtend,
        QsciCommand::CharRight,
        QsciCommand::CharRightExtend,
        QsciCommand::WordLeft,
        QsciCommand::WordLeftExtend,
        QsciCommand::WordRight,
        QsciCommand::WordRightExtend,
        QsciCommand::Home,
        QsciCommand::HomeExtend,
        QsciCommand::HomeDisplay,
        QsciCommand::HomeDisplayExtend,
        QsciCommand::VCHome,
        QsciCommand::VCHomeExtend,
        QsciCommand::LineEnd,
        QsciCommand::LineEndExtend,
        QsciCommand::LineEndDisplay,
        QsciCommand::LineEndDisplayExtend,
        QsciCommand::DocumentStart,
        QsciCommand::DocumentStartExtend,
        QsciCommand::DocumentEnd,
        QsciCommand::DocumentEndExtend,
        QsciCommand::PageUp,
        QsciCommand::PageUpExtend,
        QsciCommand::PageDown,
        QsciCommand::PageDownExtend,
        QsciCommand::ScrollToStart,
        QsciCommand::ScrollToEnd,
        QsciCommand::LineScrollDown,
        QsciCommand::LineScrollUp,
        QsciCommand::Delete,
        QsciCommand::DeleteBack,
        QsciCommand::DeleteWordLeft,
        QsciCommand::DeleteWordRight,
        QsciCommand::Tab,
        QsciCommand::Backtab,
        QsciCommand::Newline,
        QsciCommand::EditToggleOvertype,
        QsciCommand::Cancel,
        QsciCommand::HomeWrap,
        QsciCommand::HomeWrapExtend,
        QsciCommand::LineEndWrap,
        QsciCommand::LineEndWrapExtend,
        QsciCommand::VCHomeWrap,
        QsciCommand::VCHomeWrapExtend,
    };
    QSet<int> acceleratorKeys;
    for (const auto& acc : Resources::accelerators())
        acceleratorKeys.insert(acc.key[0].toCombined());
    for (QsciCommand* cmd : control.standardCommands()->commands()) {
        if (!keep.contains(cmd->command())) {
            cmd->setKey(0);
            cmd->setAlternateKey(0);
            continue;
        }
        if (acceleratorKeys.contains(cmd->key()))
            cmd->setKey(0);
        if (acceleratorKeys.contains(cmd->alternateKey()))
            cmd->setAlternateKey(0);
    }
}

} // namespace KeyBindings
