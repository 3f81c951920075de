#include "editor/control_text.h"

#include <Qsci/qsciscintillabase.h>

#include <cstdint>

namespace ControlText {
namespace {

// Scintilla's direct function: QScintilla has no pointer-returning call that
// also takes arguments, and SCI_GETRANGEPOINTER needs two.
using DirectFunction = intptr_t (*)(intptr_t control, unsigned int msg, uintptr_t wParam,
                                    intptr_t lParam);

const char* rangePointer(const QsciScintillaBase& control, qint64 start, qint64 length)
{
    const auto call = reinterpret_cast<DirectFunction>(
        control.SendScintillaPtrResult(QsciScintillaBase::SCI_GETDIRECTFUNCTION));
    const auto self = reinterpret_cast<intptr_t>(
        control.SendScintillaPtrResult(QsciScintillaBase::SCI_GETDIRECTPOINTER));
    return reinterpret_cast<const char*>(call(self, QsciScintillaBase::SCI_GETRANGEPOINTER,
                                              static_cast<uintptr_t>(start),
                                              static_cast<intptr_t>(length)));
}

} // namespace

QByteArrayView whole(const QsciScintillaBase& control)
{
    const qint64 length = control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    const auto* text = static_cast<const char*>(
        control.SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return QByteArrayView(text, length);
}

QByteArrayView range(const QsciScintillaBase& control, qint64 start, qint64 end)
{
    const qint64 length = control.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    start = qBound<qint64>(0, start, length);
    end = qBound<qint64>(start, end, length);
    return QByteArrayView(rangePointer(control, start, end - start), end - start);
}

} // namespace ControlText
