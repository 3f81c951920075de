#include "core/command_target.h"
#include "test_support.h"

// Routing order and the enabling rules of update handlers.
class TestCommandRouting : public QObject
{
    Q_OBJECT

    struct Target : CCommandTarget
    {
        QString name;
        QStringList* log;
        CCommandMap map;
        Target(const QString& n, QStringList* l) : name(n), log(l) {}
        const CCommandMap& commandMap() const override { return map; }
        void handles(int id)
        {
            map.onCommand(id, id, [this](CCommandTarget&, int id) {
                log->append(name + QString::number(id));
            });
        }
    };

private Q_SLOTS:
    void firstTargetWithAHandlerWins()
    {
        QStringList log;
        Target view(QStringLiteral("view"), &log), doc(QStringLiteral("doc"), &log),
            child(QStringLiteral("child"), &log), frame(QStringLiteral("frame"), &log),
            app(QStringLiteral("app"), &log);
        const QList<CCommandTarget*> chain{&view, &doc, &child, &frame, &app};
        app.handles(1);
        frame.handles(1);
        doc.handles(1);
        app.handles(2);
        QVERIFY(CommandRouting::execute(chain, 1));
        QVERIFY(CommandRouting::execute(chain, 2));
        QVERIFY(!CommandRouting::execute(chain, 3));
        QCOMPARE(log, QStringList({"doc1", "app2"}));
    }

    void commandsWithoutHandlersAreDisabled()
    {
        QStringList log;
        Target a(QStringLiteral("a"), &log), b(QStringLiteral("b"), &log);
        b.handles(5);
        CCmdUI handled(5), unhandled(6);
        CommandRouting::update({&a, &b}, handled);
        CommandRouting::update({&a, &b}, unhandled);
        QVERIFY(handled.isEnabled());
        QVERIFY(!unhandled.isEnabled());
        QVERIFY(!CommandRouting::executeIfEnabled({&a, &b}, 6));
    }

    void firstUpdateHandlerDecidesEvenBeforeTheHandler()
    {
        QStringList log;
        Target view(QStringLiteral("view"), &log), app(QStringLiteral("app"), &log);
        app.handles(7);
        view.map.onUpdate(7, 7, [](CCommandTarget&, CCmdUI& ui) { ui.enable(false); });
        CCmdUI ui(7);
        CommandRouting::update({&view, &app}, ui);
        QVERIFY(!ui.isEnabled());
        QVERIFY(!CommandRouting::executeIfEnabled({&view, &app}, 7));
        QVERIFY(log.isEmpty());
        view.map = CCommandMap(); // the view's update handler, changed
        view.map.onUpdate(7, 7, [](CCommandTarget&, CCmdUI& ui) {
            ui.enable(true);
            ui.setCheck(1);
        });
        CCmdUI again(7);
        CommandRouting::update({&view, &app}, again);
        QCOMPARE(again.check(), 1);
        QVERIFY(CommandRouting::executeIfEnabled({&view, &app}, 7));
        QCOMPARE(log, QStringList({"app7"}));
    }

    void rangesReachTheirCommands()
    {
        QStringList log;
        Target t(QStringLiteral("t"), &log);
        t.map.onCommand(40000, 40009,
                        [&log](CCommandTarget&, int id) { log.append(QString::number(id)); });
        QVERIFY(CommandRouting::execute({&t}, 40003));
        QVERIFY(!CommandRouting::execute({&t}, 40010));
        QCOMPARE(log, QStringList({"40003"}));
    }
};

MARQUILL_TEST_MAIN(TestCommandRouting)
#include "tst_command_routing.moc"
