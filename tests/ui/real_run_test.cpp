// One session on the real 100 ms timer: a full ten-second run during which About is opened from
// the popup and closed, then a run ended by Exit a second in. scripts/valgrind_session.sh runs it
// under memcheck: every window is destroyed before Qt goes away, so what is left was lost.
#include <QElapsedTimer>
#include <QPointer>
#include <cstdlib>

#include "popup_probe.h"
#include "support/runtime_probes.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

class RealRunTest : public QObject {
  Q_OBJECT

 private slots:
  void fullRunWithAboutThenARunEndedByExit() {
    testing::MsgBoxRecorder messages;
    Form::setProgramEndHandler([] {});
    QPointer<frmMain> window = &frmMain::defaultInstance();
    window->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    QPointer<frmAbout> about;
    bool busy = false;
    QTimer::singleShot(3000, window, [&] {
      testing::PopupProbe().press(window, QPoint(10, 150), Qt::RightButton, /*choose=*/true);
      about = &frmAbout::defaultInstance();
      busy = about->isVisible() && window->cursor().shape() == Qt::WaitCursor;
    });
    QTimer::singleShot(5000, window,
                       [&] { QTest::mouseClick(&about->button("Command1"), Qt::LeftButton); });
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(&window->button("Command1"), Qt::LeftButton);  // returns after tick 100
    const qint64 ms = elapsed.elapsed();
    qInfo("run took %lld ms, %.0f iterations", ms, window->engine().dblLoops());
    qInfo("timing: a window run's distance from 10 s, ms: %lld (limit 100)", std::abs(ms - 10000));
    // Under memcheck everything runs some fifty times slower and a late tick pushes the later
    // ones back; only a native run is held to 1 %.
    const bool memcheck = qEnvironmentVariable("LD_PRELOAD").contains("vgpreload");
    QVERIFY2(memcheck || (ms >= 9900 && ms <= 10100), "the run did not last 10 s");
    QCOMPARE(window->textBox("Text2").text(), QString("100"));
    QVERIFY2(busy, "About did not open, or the pointer was not busy during the run");
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);

    QTimer::singleShot(1000, window, [&] { window->button("Command2").click(); });
    QTest::mouseClick(&window->button("Command1"), Qt::LeftButton);
    QVERIFY(messages.shown.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window == nullptr && about == nullptr);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::RealRunTest)
#include "real_run_test.moc"
