// Search and replace-all. The byte search finds what a plain search finds,
// with ASCII letters folded when case does not matter; replace-all on a real
// view gives the text a plain left-to-right replacement gives.

#include "core/ui_seam.h"
#include "editor/find_replace.h"
#include "editor/my_rich_edit_view.h"
#include "editor/rules/text_search.h"
#include "fuzz_application.h"
#include "fuzz_support.h"

namespace {

char fold(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool matchesAt(const QByteArray& text, qsizetype at, const QByteArray& what, bool matchCase)
{
    for (qsizetype k = 0; k < what.size(); ++k) {
        const char a = text[at + k];
        const char b = what[k];
        if (matchCase ? a != b : fold(a) != fold(b))
            return false;
    }
    return true;
}

qsizetype plainFind(const QByteArray& text, const QByteArray& what, bool matchCase, qsizetype from)
{
    if (what.isEmpty())
        return -1;
    for (qsizetype i = from; i + what.size() <= text.size(); ++i) {
        if (matchesAt(text, i, what, matchCase))
            return i;
    }
    return -1;
}

QByteArray plainReplaceAll(const QByteArray& text, const QByteArray& what,
                           const QByteArray& replacement, bool matchCase, int& count)
{
    QByteArray out;
    qsizetype at = 0;
    count = 0;
    for (qsizetype found; (found = plainFind(text, what, matchCase, at)) >= 0; ++count) {
        out += text.mid(at, found - at) + replacement;
        at = found + what.size();
    }
    return out + text.mid(at);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::application();
    UiSeam::setBeepHook([] {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const QByteArray detail(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool matchCase = input.flag();
    const int from = input.number(16);
    const QByteArray what = input.piece();
    const QByteArray replacement = input.piece();
    const QByteArray text = input.rest();

    const qint64 found = TextSearch::find(text, what, matchCase, from);
    FUZZ_CHECK(found == plainFind(text, what, matchCase, from), detail);

    // The dialog hands over texts, so the view searches for their UTF-8.
    const QString findText = QString::fromUtf8(what);
    const QString replaceText = QString::fromUtf8(replacement);
    static CMyRichEditView* view = new CMyRichEditView;
    view->loadBytes(text);
    view->setSel(0, 0);
    const int count = CFindReplace::of(view)->replaceAll(findText, replaceText, matchCase, false);
    // Matches count only where a character starts: in valid UTF-8 that is
    // wherever a valid needle is found.
    if (findText.isEmpty() || !QByteArrayView(text).isValidUtf8())
        return 0;
    int expectedCount = 0;
    const QByteArray expected =
        plainReplaceAll(text, findText.toUtf8(), replaceText.toUtf8(), matchCase, expectedCount);
    FUZZ_CHECK(view->textBytes() == expected, detail);
    FUZZ_CHECK(count == expectedCount, detail);
    return 0;
}
