#include "editor/caret_moves.h"

#include "editor/my_rich_edit_view.h"

namespace CaretMoves {
namespace {

using Sci = QsciScintillaBase;

unsigned long upos(qint64 pos)
{
    return static_cast<unsigned long>(pos);
}

// The character starting at pos (decoded from UTF-8; a stray byte as is).
unsigned charAt(CMyRichEditView& view, qint64 pos)
{
    const qint64 next = view.sci(Sci::SCI_POSITIONAFTER, upos(pos));
    const QByteArray bytes = view.textRange(pos, next);
    if (bytes.isEmpty())
        return 0;
    const QString s = QString::fromUtf8(bytes);
    return s.size() == 1 || (s.size() == 2 && s.at(0).isHighSurrogate())
               ? s.toUcs4().value(0)
               : static_cast<unsigned char>(bytes.at(0));
}

// The control's blank class: ASCII controls other than line ends, the
// space, and the Unicode space separators and format characters.
bool isBlank(unsigned c)
{
    if (c < 0x80)
        return c == ' ' || (c < 0x20 && c != '\r' && c != '\n');
    return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) || c == 0x202F || c == 0x205F ||
           c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

bool blankBefore(CMyRichEditView& view, qint64 pos)
{
    return pos > 0 && isBlank(charAt(view, view.sci(Sci::SCI_POSITIONBEFORE, upos(pos))));
}

bool blankAt(CMyRichEditView& view, qint64 pos)
{
    return pos < view.textLength() && isBlank(charAt(view, pos));
}

int lineHeight(CMyRichEditView& view)
{
    return qMax(1, int(view.sci(Sci::SCI_TEXTHEIGHT, 0)));
}

int pointX(CMyRichEditView& view, qint64 pos)
{
    return int(view.sci(Sci::SCI_POINTXFROMPOSITION, 0, long(pos)));
}

int pointY(CMyRichEditView& view, qint64 pos)
{
    return int(view.sci(Sci::SCI_POINTYFROMPOSITION, 0, long(pos)));
}

qint64 positionAt(CMyRichEditView& view, int x, int y)
{
    return view.sci(Sci::SCI_POSITIONFROMPOINT, upos(x), y);
}

// The position on the displayed line at y nearest to x, the way the
// control's vertical moves pick it: never on the line the caret left.
qint64 verticalTarget(CMyRichEditView& view, qint64 caret, int x, int fromY, int y, int direction)
{
    qint64 pos = positionAt(view, x, y);
    if (direction < 0) {
        while (pos > 0 && pointY(view, pos) == fromY)
            pos = view.sci(Sci::SCI_POSITIONBEFORE, upos(pos));
    } else if (pos != view.textLength()) {
        while (pos > caret && pointY(view, pos) > y)
            pos = view.sci(Sci::SCI_POSITIONBEFORE, upos(pos));
    }
    return pos;
}

// The last position of the displayed line holding pos: its line end, or the
// last character before the next displayed line of the same paragraph.
qint64 displayLineEnd(CMyRichEditView& view, qint64 pos)
{
    const qint64 start = view.displayLineStartAt(pos);
    const qint64 length = view.lineLength(start);
    const long docLine = view.sci(Sci::SCI_LINEFROMPOSITION, upos(start));
    const qint64 docLineEnd = view.sci(Sci::SCI_GETLINEENDPOSITION, upos(docLine));
    if (start + length >= docLineEnd)
        return docLineEnd;
    return view.sci(Sci::SCI_POSITIONBEFORE, upos(start + length));
}

Move vertical(CMyRichEditView& view, qint64 caret, qint64 anchor, bool extend, int lines,
              const KeptX& kept)
{
    const int direction = lines < 0 ? -1 : 1;
    const int x = kept.caret == caret ? kept.x : pointX(view, caret);
    const int fromY = pointY(view, caret);
    Move move;
    move.caret = verticalTarget(view, caret, x, fromY, fromY + lines * lineHeight(view), direction);
    move.anchor = extend ? anchor : move.caret;
    move.vertical = true;
    move.x = x;
    return move;
}

// A page up or down: the view scrolls by a page less one line, and the caret
// keeps its place on the screen.
Move page(CMyRichEditView& view, qint64 caret, qint64 anchor, bool extend, int direction,
          const KeptX& kept)
{
    const int step = qMax(1, int(view.sci(Sci::SCI_LINESONSCREEN)) - 1);
    const int x = kept.caret == caret ? kept.x : pointX(view, caret);
    const int fromY = pointY(view, caret);
    const long top = view.sci(Sci::SCI_GETFIRSTVISIBLELINE);
    view.sci(Sci::SCI_SETFIRSTVISIBLELINE, upos(qMax<long>(0, top + direction * step)));
    view.viewport()->repaint();
    const long scrolled = view.sci(Sci::SCI_GETFIRSTVISIBLELINE) - top;
    const int y = fromY + int(direction * step - scrolled) * lineHeight(view);
    Move move;
    move.caret = positionAt(view, x, y);
    move.anchor = extend ? anchor : move.caret;
    move.vertical = true;
    move.x = x;
    return move;
}

} // namespace

qint64 nextWordStart(CMyRichEditView& view, qint64 pos, int direction)
{
    if (direction < 0) {
        if (blankBefore(view, pos))
            pos = view.sci(Sci::SCI_WORDSTARTPOSITION, upos(pos), 0);
        if (pos > 0)
            pos = view.sci(Sci::SCI_WORDSTARTPOSITION, upos(pos), 0);
        return pos;
    }
    pos = view.sci(Sci::SCI_WORDENDPOSITION, upos(pos), 0);
    if (blankAt(view, pos))
        pos = view.sci(Sci::SCI_WORDENDPOSITION, upos(pos), 0);
    return pos;
}

std::optional<Move> plan(CMyRichEditView& view, int command, const KeptX& kept)
{
    const qint64 caret = view.sci(Sci::SCI_GETCURRENTPOS);
    const qint64 anchor = view.sci(Sci::SCI_GETANCHOR);
    qint64 start, end;
    view.getSel(start, end);
    const long docLine = view.sci(Sci::SCI_LINEFROMPOSITION, upos(caret));
    auto to = [&](qint64 pos, bool extend) {
        Move move;
        move.caret = pos;
        move.anchor = extend ? anchor : pos;
        return move;
    };
    switch (command) {
    case Sci::SCI_LINEDOWN:
    case Sci::SCI_LINEDOWNEXTEND:
        return vertical(view, caret, anchor, command == Sci::SCI_LINEDOWNEXTEND, 1, kept);
    case Sci::SCI_LINEUP:
    case Sci::SCI_LINEUPEXTEND:
        return vertical(view, caret, anchor, command == Sci::SCI_LINEUPEXTEND, -1, kept);
    case Sci::SCI_PAGEDOWN:
    case Sci::SCI_PAGEDOWNEXTEND:
        return page(view, caret, anchor, command == Sci::SCI_PAGEDOWNEXTEND, 1, kept);
    case Sci::SCI_PAGEUP:
    case Sci::SCI_PAGEUPEXTEND:
        return page(view, caret, anchor, command == Sci::SCI_PAGEUPEXTEND, -1, kept);
    case Sci::SCI_CHARLEFT:
        return to(start != end ? start : view.sci(Sci::SCI_POSITIONBEFORE, upos(caret)), false);
    case Sci::SCI_CHARLEFTEXTEND:
        return to(view.sci(Sci::SCI_POSITIONBEFORE, upos(caret)), true);
    case Sci::SCI_CHARRIGHT:
        return to(start != end ? end : view.sci(Sci::SCI_POSITIONAFTER, upos(caret)), false);
    case Sci::SCI_CHARRIGHTEXTEND:
        return to(view.sci(Sci::SCI_POSITIONAFTER, upos(caret)), true);
    case Sci::SCI_WORDLEFT:
    case Sci::SCI_WORDLEFTEXTEND:
        return to(nextWordStart(view, caret, -1), command == Sci::SCI_WORDLEFTEXTEND);
    case Sci::SCI_WORDRIGHT:
    case Sci::SCI_WORDRIGHTEXTEND:
        return to(nextWordStart(view, caret, 1), command == Sci::SCI_WORDRIGHTEXTEND);
    case Sci::SCI_VCHOME:
    case Sci::SCI_VCHOMEEXTEND: {
        const qint64 indent = view.sci(Sci::SCI_GETLINEINDENTPOSITION, upos(docLine));
        const qint64 home =
            caret == indent ? view.sci(Sci::SCI_POSITIONFROMLINE, upos(docLine)) : indent;
        return to(home, command == Sci::SCI_VCHOMEEXTEND);
    }
    case Sci::SCI_LINEEND:
    case Sci::SCI_LINEENDEXTEND:
        return to(view.sci(Sci::SCI_GETLINEENDPOSITION, upos(docLine)),
                  command == Sci::SCI_LINEENDEXTEND);
    case Sci::SCI_HOMEDISPLAY:
        return to(view.displayLineStartAt(caret), false);
    case Sci::SCI_LINEENDDISPLAY:
        return to(displayLineEnd(view, caret), false);
    case Sci::SCI_DOCUMENTSTART:
    case Sci::SCI_DOCUMENTSTARTEXTEND:
        return to(0, command == Sci::SCI_DOCUMENTSTARTEXTEND);
    case Sci::SCI_DOCUMENTEND:
    case Sci::SCI_DOCUMENTENDEXTEND:
        return to(view.textLength(), command == Sci::SCI_DOCUMENTENDEXTEND);
    case Sci::SCI_DELWORDLEFT:
    case Sci::SCI_DELWORDRIGHT: {
        Move move;
        move.anchor = caret;
        move.caret = nextWordStart(view, caret, command == Sci::SCI_DELWORDLEFT ? -1 : 1);
        move.erase = true;
        return move;
    }
    default:
        return std::nullopt;
    }
}

std::optional<qint64> reach(CMyRichEditView& view, int command)
{
    const qint64 caret = view.sci(Sci::SCI_GETCURRENTPOS);
    const qint64 caretLine = view.sci(Sci::SCI_LINEFROMPOSITION, upos(caret));
    switch (command) {
    case Sci::SCI_PAGEDOWN:
    case Sci::SCI_PAGEDOWNEXTEND:
        // A page of displayed lines spans at most as many document lines.
        return caretLine + view.sci(Sci::SCI_LINESONSCREEN) + 1;
    case Sci::SCI_PAGEUP:
    case Sci::SCI_PAGEUPEXTEND:
        return caretLine;
    default:
        break;
    }
    const std::optional<Move> move = plan(view, command, {});
    if (!move)
        return std::nullopt;
    return qint64(view.sci(Sci::SCI_LINEFROMPOSITION, upos(move->caret)));
}

void apply(CMyRichEditView& view, const Move& move)
{
    if (move.erase) {
        // The selection follows the deleted text, as with the control.
        const qint64 from = qMin(move.caret, move.anchor);
        const qint64 to = qMax(move.caret, move.anchor);
        if (to > from)
            view.sci(Sci::SCI_DELETERANGE, upos(from), long(to - from));
        // Deleting forwards leaves the caret alone where it was.
        if (move.caret > move.anchor)
            view.sci(Sci::SCI_SETEMPTYSELECTION, upos(move.anchor));
    } else {
        view.sci(Sci::SCI_SETSEL, upos(move.anchor), long(move.caret));
    }
    reveal(view);
    if (!move.vertical)
        view.sci(Sci::SCI_CHOOSECARETX);
}

void reveal(CMyRichEditView& view)
{
    const int height = view.viewport()->height();
    for (int pass = 0; pass < 3; ++pass) {
        view.sci(Sci::SCI_SCROLLCARET);
        view.viewport()->repaint();
        const int y = pointY(view, view.sci(Sci::SCI_GETCURRENTPOS));
        if (y >= 0 && y + lineHeight(view) <= height)
            break;
    }
}

} // namespace CaretMoves
