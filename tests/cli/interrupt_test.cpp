// SIGINT during a real run on the 100 ms timer: the run ends at the end of its current iteration.
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <vector>

#include "cli/InterruptWatch.h"
#include "cli/RunResult.h"
#include "platform/HeadlessRunHost.h"

namespace orvendale::cli {

class InterruptTest : public QObject {
  Q_OBJECT

 private slots:
  void sigintDuringARunStopsItUnscored() {
    platform::HeadlessRunHost host;
    std::vector<std::int16_t> seen;
    host.setTickHandler([&seen](std::int16_t ticks) { seen.push_back(ticks); });
    InterruptWatch watch([&host] { host.stopRun(); });
    QTimer::singleShot(450, [] { std::raise(SIGINT); });

    QElapsedTimer elapsed;
    elapsed.start();
    host.runOnce();
    const qint64 ms = elapsed.elapsed();

    QVERIFY(watch.requested());
    QVERIFY2(ms >= 400 && ms < 2000, qPrintable(QString::number(ms)));
    const std::int16_t ticks = host.engine().intTicks();
    QVERIFY2(ticks >= 3 && ticks < 100, qPrintable(QString::number(ticks)));
    // The tick handler saw every tick the engine counted, each after it was counted.
    QCOMPARE(static_cast<std::int16_t>(seen.size()), ticks);
    for (std::size_t i = 0; i < seen.size(); ++i) {
      QCOMPARE(seen[i], static_cast<std::int16_t>(i + 1));
    }
    const RunResult run = resultOfRun(host.engine(), elapsed.nsecsElapsed());
    QCOMPARE(run.status, RunStatus::kInterrupted);
    QCOMPARE(run.score, 0.0);
  }

  void sigintBetweenRunsIsNoticedWithoutAPump() {
    bool called = false;
    InterruptWatch watch([&called] { called = true; });
    QVERIFY(!watch.requested());
    std::raise(SIGINT);
    QVERIFY(watch.requested());
    QVERIFY(watch.requested());  // it stays requested
    QVERIFY(!called);            // no pump has run
  }
};

}  // namespace orvendale::cli

QTEST_GUILESS_MAIN(orvendale::cli::InterruptTest)
#include "interrupt_test.moc"
