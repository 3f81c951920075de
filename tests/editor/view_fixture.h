#pragma once

// What the tests of the HTML view share: its styles written out as a
// string, and the messages it shows caught instead of shown.

#include "core/ui_seam.h"
#include "editor/marquill_view.h"
#include "editor/rules/tag_scan.h"
#include "test_support.h"
#include "widgets/progress_dialog.h"

namespace ViewTest {

// The view's styles as a string: '.' default, 't' tag, 'q' quote.
inline QByteArray styleMap(const CMarquillView& view)
{
    QByteArray out;
    for (qint64 i = 0; i < view.textLength(); ++i) {
        const int s = view.styleAt(i);
        out += s == CMyRichEditView::StyleTag ? 't' : s == CMyRichEditView::StyleQuote ? 'q' : '.';
    }
    return out;
}

inline QByteArray expectedMap(const QByteArray& text)
{
    QByteArray out(text.size(), '.');
    TagScan::styleRange(text.constData(), text.size(), [&](qint64 start, const char* s, qint64 n) {
        for (qint64 k = 0; k < n; ++k)
            out[start + k] = s[k] == TagScan::Tag ? 't' : s[k] == TagScan::Quote ? 'q' : '.';
    });
    return out;
}

struct Message
{
    QString text;
    QMessageBox::Icon icon;
};

} // namespace ViewTest

class ViewFixture
{
protected:
    QList<ViewTest::Message> m_messages;

    void showView(QWidget& w)
    {
        w.resize(700, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

    void typeAtEnd(CMarquillView& view, const QByteArray& keys)
    {
        view.setSel(view.textLength(), view.textLength());
        QTest::keyClicks(&view, QString::fromUtf8(keys));
    }

    // Settings cleared, the messages the view shows caught.
    void catchMessages()
    {
        TestSupport::clearSettings();
        m_messages.clear();
        UiSeam::setMessageHook(
            [this](const QString& text, QMessageBox::Icon icon, QMessageBox::StandardButtons) {
                m_messages.append({text, icon});
                return QMessageBox::Ok;
            });
    }

    void releaseHooks()
    {
        UiSeam::setMessageHook({});
        CProgressDialog::setCreationHook({});
    }
};
