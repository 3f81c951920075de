#include "frame/check_pane.h"

#include "core/file_names.h"
#include "core/options.h"
#include "document/my_rich_edit_doc.h"
#include "editor/marquill_view.h"
#include "widgets/results_list.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>

namespace {

DocumentCheck::Options storedOptions()
{
    DocumentCheck::Options options;
    options.accessibilityLevel = Options::kCheckAccessibility.read();
    options.showWarnings = Options::kCheckWarnings.read() != 0;
    return options;
}

QString counts(const DocumentCheck::Report& report)
{
    int errors = 0;
    int warnings = 0;
    int notes = 0;
    for (const DocumentCheck::Finding& f : report.findings) {
        switch (f.kind) {
        case DocumentCheck::Kind::Error:
            ++errors;
            break;
        case DocumentCheck::Kind::Warning:
            ++warnings;
            break;
        case DocumentCheck::Kind::Info:
            ++notes;
            break;
        }
    }
    QString text =
        QStringLiteral("エラー %1 件、警告 %2 件、情報 %3 件").arg(errors).arg(warnings).arg(notes);
    if (report.total > report.findings.size())
        text += QStringLiteral("（全 %1 件のうち最初の %2 件を表示しています）")
                    .arg(report.total)
                    .arg(report.findings.size());
    return text;
}

} // namespace

CCheckPane::CCheckPane(QWidget* parent)
    : QWidget(parent), m_summary(new QLabel(this)), m_list(new CResultsList(this))
{
    setObjectName(QStringLiteral("CheckPane"));
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setText(
        QStringLiteral("ツール → 文書のチェック (F7) で、作業中の文書をチェックします。"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);
    connect(m_list, &CResultsList::entryActivated, this,
            [this](const QString&, int line, int column, int) { goTo(line, column); });
}

void CCheckPane::check(CMarquillView* view)
{
    if (!view || !view->document())
        return;
    m_view = view;
    const int generation = ++m_generation;
    const CMyRichEditDoc* doc = view->document();
    const QString label = doc->pathName().isEmpty() ? doc->titleWithoutMark() : doc->pathName();
    const QByteArray text = view->textBytes(); // the only read of the document
    const DocumentCheck::Options options = storedOptions();
    m_summary->setText(QStringLiteral("%1 をチェックしています...").arg(FileNames::display(label)));
    ++m_running;

    QPointer<CCheckPane> pane(this);
    QThread* worker = QThread::create([pane, text, options, generation, label] {
        const DocumentCheck::Report report = DocumentCheck::check(text, options);
        // A pane closed meanwhile, or a newer check, drops the findings.
        QMetaObject::invokeMethod(
            qApp,
            [pane, report, generation, label] {
                if (!pane)
                    return;
                --pane->m_running;
                if (generation == pane->m_generation)
                    pane->showReport(report, label);
            },
            Qt::QueuedConnection);
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start(QThread::LowPriority);
}

void CCheckPane::showReport(const DocumentCheck::Report& report, const QString& label)
{
    QList<ResultEntry> entries;
    entries.reserve(report.findings.size());
    for (const DocumentCheck::Finding& f : report.findings)
        entries.append({f.line, f.column, 0,
                        DocumentCheck::kindText(f.kind) + QStringLiteral(": ") + f.message});
    m_list->clearEntries();
    m_list->addEntries(label, entries);
    m_list->expandAll();
    if (!entries.isEmpty())
        m_list->selectFirstEntry();
    const QString name = FileNames::display(label); // a name that is not UTF-8, readably
    m_summary->setText(report.findings.isEmpty()
                           ? QStringLiteral("%1: 問題は見つかりませんでした。").arg(name)
                           : QStringLiteral("%1: %2").arg(name, counts(report)));
    Q_EMIT checked();
}

QString CCheckPane::summary() const
{
    return m_summary->text();
}

// The findings count characters from the start of a line; the view's
// positions are bytes, so the place is found by stepping characters.
void CCheckPane::goTo(int line, int column)
{
    CMarquillView* view = m_view;
    if (!view)
        return;
    const long lines = view->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const long docLine = qBound(0L, long(line) - 1, lines - 1);
    const long start = view->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, docLine);
    const long end = view->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, docLine);
    long pos =
        view->SendScintilla(QsciScintillaBase::SCI_POSITIONRELATIVE, start, long(column) - 1);
    if (pos <= 0 || pos > end)
        pos = column > 1 ? end : start; // past the line's end (or its text changed)
    view->setSel(pos, pos);
    view->setFocus(Qt::OtherFocusReason);
}
