// One real benchmark run on the real 100 ms timer: about ten seconds. The About window is opened
// and closed again while it runs.
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "popup_probe.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

class RealRunTest : public QObject {
  Q_OBJECT

 private slots:
  void hundredTicksTakeTenSecondsAndGiveAScore() {
    Form::setProgramEndHandler([] {});
    frmMain& window = frmMain::defaultInstance();
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    bool busyDuringRun = false;
    QTimer::singleShot(5000, &window,
                       [&] { busyDuringRun = window.cursor().shape() == Qt::WaitCursor; });
    bool aboutOpened = false;
    bool aboutClosed = false;
    QTimer::singleShot(3000, &window, [&] {
      testing::PopupProbe probe;
      probe.press(&window, QPoint(10, 150), Qt::RightButton, {}, /*choose=*/true);
      aboutOpened = frmAbout::defaultInstance().isVisible();
    });
    QTimer::singleShot(6000, &window, [&] {
      QTest::mouseClick(&frmAbout::defaultInstance().button("Command1"), Qt::LeftButton);
      aboutClosed = !frmAbout::defaultInstance().isVisible();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(window.findChild<QWidget*>("Command1"), Qt::LeftButton);
    const qint64 ms = elapsed.elapsed();
    qInfo("run took %lld ms, %.0f iterations, %s", ms, window.engine().dblLoops(),
          qPrintable(window.label("Label1").text()));

    QVERIFY2(ms >= 9900 && ms <= 10100, qPrintable(QString::number(ms)));
    QVERIFY(QRegularExpression("^Result: [1-9][0-9]*$")
                .match(window.label("Label1").text())
                .hasMatch());
    QCOMPARE(window.textBox("Text2").text(), QString("100"));
    QVERIFY(busyDuringRun);
    QVERIFY(aboutOpened);
    QVERIFY(aboutClosed);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!window.timer("Timer1").isEnabled());
    window.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::RealRunTest)
#include "real_run_test.moc"
