#include "frame/window_arrangement.h"
#include "test_support.h"

using WindowArrangement::Placement;
using WindowArrangement::Window;
using Windows = QList<Window>;
using Placements = QList<Placement>;

Q_DECLARE_METATYPE(Windows)
Q_DECLARE_METATYPE(Placements)

namespace QTest {
template <> char* toString(const Placement& p)
{
    return qstrdup(QStringLiteral("#%1 (%2,%3 %4x%5)")
                       .arg(p.index)
                       .arg(p.rect.x())
                       .arg(p.rect.y())
                       .arg(p.rect.width())
                       .arg(p.rect.height())
                       .toUtf8());
}
} // namespace QTest

namespace {

const Window kShown{false, true, QSize(300, 200)};
const Window kMinimized{true, true, QSize(160, 30)};
const Window kHidden{false, false, QSize(300, 200)};

} // namespace

// Where tile, cascade and arrange icons put the document windows.
class TestWindowArrangement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tile_data()
    {
        QTest::addColumn<Windows>("windows");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("horizontal");
        QTest::addColumn<Placements>("placements");
        const QRect area(0, 0, 800, 600);
        QTest::newRow("horizontally one above the other")
            << Windows{kShown, kShown} << area << true
            << Placements{{0, QRect(0, 0, 800, 300)}, {1, QRect(0, 300, 800, 300)}};
        QTest::newRow("vertically side by side")
            << Windows{kShown, kShown} << area << false
            << Placements{{0, QRect(0, 0, 400, 600)}, {1, QRect(400, 0, 400, 600)}};
        QTest::newRow("uneven shares, no gap")
            << Windows{kShown, kShown, kShown} << QRect(0, 0, 100, 50) << false
            << Placements{
                   {0, QRect(0, 0, 33, 50)}, {1, QRect(33, 0, 33, 50)}, {2, QRect(66, 0, 34, 50)}};
        QTest::newRow("minimised and hidden windows left alone")
            << Windows{kMinimized, kShown, kHidden, kShown} << area << true
            << Placements{{1, QRect(0, 0, 800, 300)}, {3, QRect(0, 300, 800, 300)}};
        QTest::newRow("only minimised windows")
            << Windows{kMinimized} << area << true << Placements{};
    }
    void tile()
    {
        QFETCH(Windows, windows);
        QFETCH(QRect, area);
        QFETCH(bool, horizontal);
        QFETCH(Placements, placements);
        QCOMPARE(WindowArrangement::tile(windows, area, horizontal), placements);
    }

    void cascade_data()
    {
        QTest::addColumn<Windows>("windows");
        QTest::addColumn<int>("active");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("titleBar");
        QTest::addColumn<Placements>("placements");
        const QRect area(0, 0, 800, 600);
        QTest::newRow("one title bar apart, the active one on top")
            << Windows{kShown, kShown, kShown} << 0 << area << 20
            << Placements{{1, QRect(0, 0, 760, 560)},
                          {2, QRect(20, 20, 760, 560)},
                          {0, QRect(40, 40, 760, 560)}};
        QTest::newRow("no active window keeps creation order")
            << Windows{kShown, kShown} << -1 << area << 20
            << Placements{{0, QRect(0, 0, 780, 580)}, {1, QRect(20, 20, 780, 580)}};
        QTest::newRow("a step of at least 16 pixels")
            << Windows{kShown, kShown} << -1 << area << 10
            << Placements{{0, QRect(0, 0, 784, 584)}, {1, QRect(16, 16, 784, 584)}};
        QTest::newRow("past half the area it starts again at the corner")
            << Windows{kShown, kShown, kShown, kShown, kShown} << -1 << QRect(0, 0, 100, 100) << 20
            << Placements{{0, QRect(0, 0, 60, 60)},
                          {1, QRect(20, 20, 60, 60)},
                          {2, QRect(40, 40, 60, 60)},
                          {3, QRect(0, 0, 60, 60)},
                          {4, QRect(20, 20, 60, 60)}};
        QTest::newRow("minimised and hidden windows left alone, even when active")
            << Windows{kMinimized, kShown, kHidden} << 0 << area << 20
            << Placements{{1, QRect(0, 0, 800, 600)}};
    }
    void cascade()
    {
        QFETCH(Windows, windows);
        QFETCH(int, active);
        QFETCH(QRect, area);
        QFETCH(int, titleBar);
        QFETCH(Placements, placements);
        QCOMPARE(WindowArrangement::cascade(windows, active, area, titleBar), placements);
    }

    void arrangeIcons_data()
    {
        QTest::addColumn<Windows>("windows");
        QTest::addColumn<Placements>("placements");
        QTest::newRow("along the bottom, a new row above when full")
            << Windows{kMinimized, kShown, kMinimized, kMinimized}
            << Placements{{0, QRect(0, 270, 160, 30)},
                          {2, QRect(160, 270, 160, 30)},
                          {3, QRect(0, 240, 160, 30)}};
        QTest::newRow("no minimised window") << Windows{kShown, kHidden} << Placements{};
    }
    void arrangeIcons()
    {
        QFETCH(Windows, windows);
        QFETCH(Placements, placements);
        QCOMPARE(WindowArrangement::arrangeIcons(windows, QRect(0, 0, 400, 300)), placements);
    }
};

MARQUILL_TEST_MAIN(TestWindowArrangement)
#include "tst_window_arrangement.moc"
