#include "app/recovery_offer.h"

#include "core/ui_seam.h"
#include "document/recovery_keeper.h"

#include <QFile>
#include <QLocale>

#include <algorithm>

CRecoveryOffer::CRecoveryOffer(CRecoveryKeeper& keeper, QWidget* parent, Restore restore)
    : m_keeper(keeper), m_parent(parent), m_restore(std::move(restore))
{
}

CRecoveryOffer::~CRecoveryOffer()
{
    for (auto& left : m_kept)
        left.discard();
}

QString CRecoveryOffer::asideName(const QString& file)
{
    return file + QStringLiteral(".damaged");
}

void CRecoveryOffer::run()
{
    m_claimed = CRecoveryFolder::claimLeftovers(m_keeper.folder(), m_keeper.instance());
    readCopies();
    if (m_found.isEmpty()) {
        if (!m_refused.isEmpty())
            UiSeam::messageBox(m_parent, refusedText().trimmed(), QMessageBox::Warning);
        for (auto& left : m_claimed)
            left.discard();
        return;
    }
    const auto answer = UiSeam::messageBox(m_parent, question(), QMessageBox::Question,
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        restoreAll();
    else
        declined();
}

// Reads every claimed copy; a refused one is renamed so that it is neither
// offered again nor lost.
void CRecoveryOffer::readCopies()
{
    for (size_t i = 0; i < m_claimed.size(); ++i) {
        for (const QString& file : m_claimed[i].copies()) {
            QFile f(file);
            Found found{{}, file, i};
            const RecoveryCopy::Fault fault = f.open(QIODevice::ReadOnly)
                                                  ? RecoveryCopy::decode(f.readAll(), found.copy)
                                                  : RecoveryCopy::Fault::Damaged;
            f.close();
            if (fault == RecoveryCopy::Fault::None) {
                m_found.append(found);
            } else {
                QFile::rename(file, asideName(file));
                m_refused.append({asideName(file), fault});
            }
        }
    }
    std::stable_sort(m_found.begin(), m_found.end(), [](const Found& a, const Found& b) {
        return a.copy.written < b.copy.written;
    });
}

QString CRecoveryOffer::question() const
{
    QString list;
    for (const Found& found : m_found) {
        const QString name = found.copy.path.isEmpty() ? found.copy.title : found.copy.path;
        const QString when = QLocale::c().toString(found.copy.written.toLocalTime(),
                                                   QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        list += QStringLiteral("・%1 (%2)\n").arg(name, when);
    }
    return QStringLiteral("Marquill が正しく終了しなかったため、\n保存されていない変更が残って"
                          "います。\n\n%1%2\n復元しますか？")
        .arg(list, refusedText());
}

QString CRecoveryOffer::refusedText() const
{
    if (m_refused.isEmpty())
        return QString();
    QString text = QStringLiteral("\n次の回復用ファイルは復元できません。\n");
    for (const Refused& refused : m_refused)
        text +=
            QStringLiteral("・%1 (%2)\n").arg(refused.file, RecoveryCopy::faultText(refused.fault));
    return text;
}

void CRecoveryOffer::restoreAll()
{
    std::vector<bool> failed(m_claimed.size(), false);
    for (const Found& found : std::as_const(m_found))
        if (!m_restore(found.copy))
            failed[found.claim] = true;
    // The restored documents get copies of their own before the old ones go;
    // where that fails, the old ones stay until a normal end.
    const bool copied = m_keeper.flush();
    for (size_t i = 0; i < m_claimed.size(); ++i) {
        if (failed[i])
            m_claimed[i].release();
        else if (copied)
            m_claimed[i].discard();
        else
            m_kept.push_back(std::move(m_claimed[i]));
    }
    m_claimed.clear();
}

void CRecoveryOffer::declined()
{
    const auto answer = UiSeam::messageBox(
        m_parent,
        QStringLiteral("復元しなかった変更を削除しますか？\n削除した変更は元に戻せません。\n\n"
                       "「いいえ」を選ぶと、次に起動したときにもう一度確認します。"),
        QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    for (auto& left : m_claimed) {
        if (answer == QMessageBox::Yes)
            left.discard();
        else
            left.release();
    }
    m_claimed.clear();
}
