#include "app/saving_leftover_offer.h"

#include "core/file_names.h"
#include "core/ui_seam.h"
#include "document/saving_leftovers.h"

#include <QLocale>

namespace SavingLeftoverOffer {
namespace {

using Leftover = SavingLeftovers::Leftover;

QString question(const Leftover& leftover)
{
    const QString when = QLocale::c().toString(leftover.started.toLocalTime(),
                                               QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    const QString what =
        leftover.state == Leftover::State::Missing
            ? QStringLiteral("前回、次のファイルを保存している途中で Marquill が終了しました。"
                             "そのファイルは今はありません。\n\n%1\n(%2 に保存を開始)\n\n"
                             "保存する前の内容が次の場所に残っています。\n%3\n\n"
                             "保存する前の内容でファイルを作り直しますか？")
            : QStringLiteral("前回、次のファイルを保存している途中で Marquill が終了したため、"
                             "ファイルの内容が壊れている可能性があります。\n\n%1\n(%2 に保存を開始)"
                             "\n\n保存する前の内容が次の場所に残っています。\n%3\n\n"
                             "保存する前の内容に戻しますか？");
    return what.arg(FileNames::display(leftover.file), when, FileNames::display(leftover.copy));
}

void offer(QWidget* parent, const Leftover& leftover)
{
    const QString copy = FileNames::display(leftover.copy);
    if (UiSeam::messageBox(parent, question(leftover), QMessageBox::Warning,
                           QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::Yes) == QMessageBox::Yes) {
        QString reason;
        if (!SavingLeftovers::putBack(leftover, reason))
            UiSeam::messageBox(parent,
                               QStringLiteral("保存する前の内容に戻せませんでした。\n%1\n\n"
                                              "保存する前の内容は %2 に残っています。")
                                   .arg(reason, copy),
                               QMessageBox::Warning);
        return;
    }
    const auto remove = UiSeam::messageBox(
        parent,
        QStringLiteral("保存する前の内容 (%1) を削除しますか？\n削除した内容は元に戻せません。\n\n"
                       "「いいえ」を選ぶと、次に起動したときにもう一度確認します。")
            .arg(copy),
        QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (remove == QMessageBox::Yes)
        SavingLeftovers::remove(leftover);
}

} // namespace

void run(QWidget* parent, const QString& folder)
{
    for (const Leftover& leftover : SavingLeftovers::claim(folder)) {
        if (leftover.state == Leftover::State::Finished ||
            leftover.state == Leftover::State::Untouched)
            SavingLeftovers::remove(leftover);
        else
            offer(parent, leftover);
    }
}

} // namespace SavingLeftoverOffer
