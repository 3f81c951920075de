#include "frame/results_pane.h"

#include "core/file_names.h"
#include "document/folder_search.h"
#include "document/marquill_doc.h"
#include "document/utf16_text.h"
#include "editor/control_text.h"
#include "editor/marquill_view.h"
#include "frame/child_frame.h"
#include "frame/document_manager.h"
#include "frame/main_frame.h"
#include "widgets/results_list.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Sci = QsciScintillaBase;

QString number(qint64 n)
{
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(n);
}

// Selects in the view the match at line and column (from 1; the column and
// the length in characters), kept within the text should the file have
// changed since it was searched.
void selectMatch(CMarquillView* view, int line, int column, int length)
{
    const long lines = view->sci(Sci::SCI_GETLINECOUNT);
    const long index = qBound(0L, static_cast<long>(line) - 1, lines - 1);
    const qint64 lineStart =
        view->sci(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(index));
    const qint64 lineEnd =
        view->sci(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(index));
    // A character takes at most 4 bytes.
    const QByteArrayView bytes = ControlText::range(
        *view, lineStart, lineStart + 4 * (static_cast<qint64>(column) - 1 + length));
    const qint64 start = qMin(lineStart + CUtf16Text::advance(bytes, 0, column - 1), lineEnd);
    const qint64 end = lineStart + CUtf16Text::advance(bytes, start - lineStart, length);
    view->setSel(start, end);
    view->revealCaret();
    view->setFocus();
}

} // namespace

CResultsPane* CResultsPane::of(CMainFrame* frame)
{
    if (auto* pane = frame->findChild<CResultsPane*>(QString(), Qt::FindDirectChildrenOnly))
        return pane;
    auto* pane = new CResultsPane(frame);
    frame->addDockWidget(Qt::BottomDockWidgetArea, pane);
    return pane;
}

CResultsPane::CResultsPane(CMainFrame* frame)
    : QDockWidget(QStringLiteral("検索結果"), frame), m_frame(frame),
      m_search(new CFolderSearch(this))
{
    setObjectName(QStringLiteral("ResultsPane"));
    auto* body = new QWidget(this);
    m_progress = new QLabel(body);
    m_progress->setObjectName(QStringLiteral("progressLine"));
    m_progress->setTextFormat(Qt::PlainText);
    m_progress->setMinimumWidth(100);
    m_progress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_stop = new QToolButton(body);
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_stop->setText(QStringLiteral("中止"));
    m_stop->setToolTip(QStringLiteral("検索を中止する"));
    m_stop->setEnabled(false);
    m_list = new CResultsList(body);

    auto* top = new QHBoxLayout;
    top->addWidget(m_progress, 1);
    top->addWidget(m_stop);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    setWidget(body);

    connect(m_stop, &QToolButton::clicked, this, &CResultsPane::stop);
    connect(m_list, &CResultsList::entryActivated, this, &CResultsPane::open);
    connect(m_search, &CFolderSearch::matchesFound, this, [this](const QList<FileMatches>& batch) {
        for (const FileMatches& matches : batch)
            m_list->addEntries(matches.path, matches.entries);
    });
    connect(m_search, &CFolderSearch::progress, this, &CResultsPane::showProgress);
    connect(m_search, &CFolderSearch::finished, this, &CResultsPane::finish);
}

CResultsPane::~CResultsPane() = default;

void CResultsPane::start(const FolderSearchQuery& query, const QString& what)
{
    m_what = what;
    m_list->clearEntries();
    m_progress->setText(QStringLiteral("「%1」を検索しています...").arg(what));
    m_stop->setEnabled(true);
    show();
    raise();
    m_search->start(query);
}

void CResultsPane::stop()
{
    m_search->stop();
}

bool CResultsPane::isRunning() const
{
    return m_search->isRunning();
}

QString CResultsPane::progressText() const
{
    return m_progress->text();
}

void CResultsPane::showProgress(int files, const QString& path)
{
    m_progress->setText(
        QStringLiteral("「%1」を検索しています... %2 ファイル (%3 件): %4")
            .arg(m_what, number(files), number(m_list->entryCount()), FileNames::display(path)));
}

void CResultsPane::finish(const FolderSearchSummary& summary)
{
    m_stop->setEnabled(false);
    m_progress->setText(summaryText(m_what, summary));
    if (m_list->entryCount() > 0) {
        m_list->selectFirstEntry();
        m_list->setFocus();
    }
    emit searchFinished();
}

QString CResultsPane::summaryText(const QString& what, const FolderSearchSummary& summary)
{
    if (!summary.error.isEmpty())
        return summary.error;
    QString text = summary.matches > 0
                       ? QStringLiteral("「%1」: %2 件 (%3 ファイル)")
                             .arg(what, number(summary.matches), number(summary.filesMatched))
                       : QStringLiteral("「%1」は見つかりませんでした").arg(what);
    text += QStringLiteral("。検索したファイル %1").arg(number(summary.filesSearched));
    QStringList skipped;
    if (summary.binary > 0)
        skipped << QStringLiteral("バイナリ %1").arg(number(summary.binary));
    if (summary.tooLarge > 0)
        skipped << QStringLiteral("%1 MB を超えるもの %2")
                       .arg(number(FolderSearchQuery::kDefaultSizeLimit >> 20),
                            number(summary.tooLarge));
    if (summary.unreadable > 0)
        skipped << QStringLiteral("読めないもの %1").arg(number(summary.unreadable));
    if (!skipped.isEmpty())
        text += QStringLiteral("、飛ばしたファイル: %1").arg(skipped.join(QStringLiteral("、")));
    text += QStringLiteral("。");
    if (summary.gaveUp > 0)
        text += QStringLiteral(
                    "正規表現の照合が複雑になりすぎて終わりまで検索できなかったファイル: %1。")
                    .arg(number(summary.gaveUp));
    if (summary.limitReached)
        text += QStringLiteral("%1 件で打ち切りました。")
                    .arg(number(FolderSearchQuery::kDefaultMatchLimit));
    if (summary.stopped)
        text += QStringLiteral("途中で中止しました。");
    return text;
}

void CResultsPane::open(const QString& path, int line, int column, int length)
{
    CDocumentManager* documents = m_frame->documentManager();
    CMarquillDoc* doc = documents ? documents->openDocumentFile(path) : nullptr;
    CChildFrame* child = doc ? documents->frameOf(doc) : nullptr;
    if (!child)
        return;
    m_frame->mdiArea()->setActiveSubWindow(child);
    selectMatch(child->view(), line, column, length);
}
