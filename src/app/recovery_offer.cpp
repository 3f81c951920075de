#include "app/recovery_offer.h"

#include "core/ui_seam.h"
#include "document/document_file.h"
#include "document/recovery_keeper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

CRecoveryOffer::CRecoveryOffer(CRecoveryKeeper& keeper, QWidget* parent,
                               RestoreJournal restoreJournal, RestoreCopy restoreCopy)
    : m_keeper(keeper), m_parent(parent), m_restoreJournal(std::move(restoreJournal)),
      m_restoreCopy(std::move(restoreCopy))
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

QString CRecoveryOffer::Found::name() const
{
    const QString path = file.isEmpty() ? copy.path : journal.reading.fields().path;
    if (!path.isEmpty())
        return path;
    return file.isEmpty() ? copy.title : journal.reading.fields().title;
}

QDateTime CRecoveryOffer::Found::when() const
{
    return file.isEmpty() ? copy.written : QFileInfo(file).lastModified().toUTC();
}

void CRecoveryOffer::run()
{
    m_claimed = CRecoveryFolder::claimLeftovers(m_keeper.folder(), m_keeper.instance());
    readFiles();
    if (m_found.isEmpty()) {
        if (!m_refused.isEmpty())
            UiSeam::messageBox(m_parent, refusedText(m_refused).trimmed(), QMessageBox::Warning);
        offerParts();
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

// Reads every claimed file; a refused one is put aside, so that it is
// neither offered again nor lost, or left where it is when a later start may
// read it.
void CRecoveryOffer::readFiles()
{
    for (size_t i = 0; i < m_claimed.size(); ++i) {
        for (const QString& file : m_claimed[i].journals())
            readJournal(i, file);
        for (const QString& file : m_claimed[i].copies()) {
            if (keptTooLarge(i, file))
                continue;
            QFile f(file);
            Found found{{}, {}, QString(), i};
            const RecoveryCopy::Fault fault = f.open(QIODevice::ReadOnly)
                                                  ? RecoveryCopy::decode(f.readAll(), found.copy)
                                                  : RecoveryCopy::Fault::Damaged;
            f.close();
            if (fault == RecoveryCopy::Fault::None) {
                m_found.append(found);
            } else if (fault == RecoveryCopy::Fault::NewVersion) {
                // Left where it is for the version that wrote it.
                keepInPlace(i, file);
                m_refused.append({file, RecoveryCopy::faultText(fault)});
            } else {
                QFile::rename(file, asideName(file));
                m_refused.append({asideName(file), RecoveryCopy::faultText(fault)});
            }
        }
    }
    std::stable_sort(m_found.begin(), m_found.end(),
                     [](const Found& a, const Found& b) { return a.when() < b.when(); });
}

// A file too large to be read into memory is refused with the reason and
// left where it is: with more memory a later start may read it.
bool CRecoveryOffer::keptTooLarge(size_t claim, const QString& file)
{
    const QString obstacle = DocumentFile::sizeObstacle(QFileInfo(file).size());
    if (obstacle.isEmpty())
        return false;
    keepInPlace(claim, file);
    m_refused.append({file, obstacle});
    return true;
}

// Leaves a file where it is when the rest of its claim goes; a journal
// keeps the copies it may start from.
void CRecoveryOffer::keepInPlace(size_t claim, const QString& file)
{
    m_claimed[claim].keep(file);
    if (!file.endsWith(QLatin1String(".journal")))
        return;
    const QFileInfo info(file);
    const QStringList copies =
        info.dir().entryList({info.completeBaseName() + QStringLiteral("-*.base")});
    for (const QString& name : copies)
        m_claimed[claim].keep(info.dir().filePath(name));
}

void CRecoveryOffer::readJournal(size_t claim, const QString& file)
{
    if (keptTooLarge(claim, file))
        return;
    Found found{CFoundJournal::read(file), {}, file, claim};
    const EditJournal::Reading& reading = found.journal.reading;
    if (reading.fault == EditJournal::Fault::NewVersion) {
        // Left where it is for the version that wrote it.
        keepInPlace(claim, file);
        m_refused.append({file, EditJournal::faultText(reading.fault)});
        return;
    }
    if (found.journal.isWhole()) {
        if (!found.journal.unchanged)
            m_found.append(found);
        return;
    }
    m_refused.append({asideName(file), EditJournal::faultText(reading.fault)});
    if (found.journal.hasPart() && !reading.records.isEmpty())
        m_parts.append(found);
    else
        putAside(found.journal);
}

// Keeps a journal that cannot be restored as a whole beside the others, with
// the copy it starts from, under names no start offers again.
void CRecoveryOffer::putAside(const CFoundJournal& journal)
{
    QFile::rename(journal.file, asideName(journal.file));
    const QString copy = journal.reading.header.baseCopy;
    if (journal.reading.hasHeader && !copy.isEmpty()) {
        const QString path = QFileInfo(journal.file).dir().filePath(copy);
        QFile::rename(path, asideName(path));
    }
}

QString CRecoveryOffer::question() const
{
    QString list;
    for (const Found& found : m_found) {
        const QString when = QLocale::c().toString(found.when().toLocalTime(),
                                                   QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        list += QStringLiteral("・%1 (%2)\n").arg(found.name(), when);
    }
    return QStringLiteral("Marquill が正しく終了しなかったため、\n保存されていない変更が残って"
                          "います。\n\n%1%2\n復元しますか？")
        .arg(list, refusedText(m_refused));
}

QString CRecoveryOffer::refusedText(const QList<Refused>& refused)
{
    if (refused.isEmpty())
        return QString();
    QString text = QStringLiteral("\n次の回復用ファイルは復元できません。\n");
    for (const Refused& r : refused)
        text += QStringLiteral("・%1 (%2)\n").arg(r.file, r.reason);
    return text;
}

void CRecoveryOffer::restoreAll()
{
    std::vector<bool> failed(m_claimed.size(), false);
    for (const Found& found : std::as_const(m_found)) {
        if (found.file.isEmpty()) {
            if (!m_restoreCopy(found.copy))
                failed[found.claim] = true;
            continue;
        }
        const JournalReplay::Outcome outcome = m_restoreJournal(found.journal, false);
        if (outcome == JournalReplay::Outcome::BaseMismatch) {
            putAside(found.journal);
            m_mismatched.append(
                {asideName(found.file), EditJournal::faultText(EditJournal::Fault::BaseMismatch)});
        } else if (outcome != JournalReplay::Outcome::Restored) {
            failed[found.claim] = true;
        }
    }
    if (!m_mismatched.isEmpty())
        UiSeam::messageBox(m_parent, refusedText(m_mismatched).trimmed(), QMessageBox::Warning);
    offerParts();
    // The restored documents get journals of their own before the old ones
    // go; where that fails, the old ones stay until a normal end.
    const bool kept = m_keeper.flush();
    for (size_t i = 0; i < m_claimed.size(); ++i) {
        if (failed[i])
            m_claimed[i].release();
        else if (kept)
            m_claimed[i].discard();
        else
            m_kept.push_back(std::move(m_claimed[i]));
    }
    m_claimed.clear();
}

void CRecoveryOffer::declined()
{
    offerParts();
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

// The edits before the damage of damaged journals, as untitled documents;
// the journals themselves are kept aside in any case.
void CRecoveryOffer::offerParts()
{
    if (m_parts.isEmpty())
        return;
    QString list;
    for (const Found& part : std::as_const(m_parts))
        list += QStringLiteral("・%1\n").arg(part.name());
    const auto answer = UiSeam::messageBox(
        m_parent,
        QStringLiteral("次の回復用ファイルは壊れていますが、壊れた箇所より前の変更は復元できます。"
                       "\n\n%1\n一部だけの内容を、無題の文書として開きますか？")
            .arg(list),
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    for (const Found& part : std::as_const(m_parts)) {
        if (answer == QMessageBox::Yes)
            m_restoreJournal(part.journal, true);
        putAside(part.journal);
    }
    m_parts.clear();
}
