#include "editor/tag_colorizer.h"

#include "editor/control_text.h"
#include "editor/layout_runs.h"
#include "editor/rules/tag_scan.h"

#include <Qsci/qsciscintillabase.h>

#include <QPointer>

#include <vector>

namespace TagColorizer {
namespace {

TagScan::StyleRunWriter::Flush styleWriter(QsciScintillaBase& control)
{
    return [&control](qint64 start, const char* formats, qint64 length) {
        writeFormats(control, start, formats, length);
    };
}

} // namespace

void writeFormats(QsciScintillaBase& control, qint64 start, const char* formats, qint64 length)
{
    if (length <= 0)
        return;
    std::vector<char> styles(formats, formats + length);
    const int previous = start > 0
                             ? int(control.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT,
                                                         static_cast<unsigned long>(start - 1)))
                             : -1;
    LayoutRuns::mark(ControlText::range(control, start, start + length).data(), styles.data(),
                     length, previous);
    control.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, static_cast<unsigned long>(start));
    control.SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, static_cast<unsigned long>(length),
                          styles.data());
    // The control keeps asking for styles before it wraps (CWrapTracker).
    control.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0ul);
}

qint64 nextPercentBoundary(qint64 i, qint64 n)
{
    const int current = percentAt(i, n);
    if (current >= 99)
        return n;
    // Smallest j with j * 100 / n >= current + 1.
    const qint64 j = ((current + 1) * n + 99) / 100;
    return qBound(i + 1, j, n);
}

void colorRange(QsciScintillaBase& control, qint64 from, qint64 to)
{
    const qint64 length = control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    from = qBound<qint64>(0, from, length);
    to = qBound<qint64>(from, to, length);
    if (to == from)
        return;
    const char* text = ControlText::range(control, from, to).data();
    TagScan::styleRange(text, to - from, [&](qint64 start, const char* styles, qint64 n) {
        styleWriter(control)(from + start, styles, n);
    });
}

bool colorWhole(QsciScintillaBase& control, const std::function<bool(int percent)>& progress)
{
    const QPointer<QsciScintillaBase> alive(&control);
    const qint64 n = control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    TagScan::StyleRunWriter writer(0, styleWriter(control), 256 * 1024);
    TagScan::Scanner scanner;
    const char* text = ControlText::whole(control).data();
    qint64 i = 0;
    bool complete = true;
    while (i < n) {
        const qint64 to = nextPercentBoundary(i, n);
        scanner.scan(text, i, to, [&](qint64 s, qint64 e, char style) { writer.run(s, e, style); });
        writer.fillTo(scanner.settledUpTo(to));
        i = to;
        if (i >= n)
            break;
        writer.flush();
        // The events pumped by the progress report could, in principle,
        // change the text or close the view; stop rather than scan stale bytes.
        const bool goOn = progress(percentAt(i, n));
        if (!alive)
            return false;
        if (!goOn || control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH) != n) {
            complete = false;
            break;
        }
        text = ControlText::whole(control).data();
    }
    const qint64 end = qMin<qint64>(n, control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    if (writer.position() < end)
        writer.fillTo(end);
    writer.flush();
    return complete;
}

} // namespace TagColorizer
