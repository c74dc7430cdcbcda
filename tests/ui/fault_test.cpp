// Faults in the middle of a run: a toolkit operation in the tick handler, a math routine and a
// cipher allocation inside the work loop. Each is reported, the busy pointer comes back, and
// the next run starts cleanly and gives a valid score (one real ten-second run at the end).
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "fault_shims.h"
#include "support/msgbox_recorder.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

class FaultTest : public QObject {
  Q_OBJECT

 private:
  static void clickRun(frmMain& window) {
    QTest::mouseClick(window.findChild<QWidget*>("Command1"), Qt::LeftButton);
  }
  static bool busy(const frmMain& window) { return window.cursor().shape() == Qt::WaitCursor; }

 private slots:
  void faultsAreReportedAndTheNextRunIsClean() {
    Form::setProgramEndHandler([] {});
    testing::MsgBoxRecorder messages;
    frmMain& window = frmMain::defaultInstance();
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto& faults = testing::faults;

    // A failing tick handler is reported and the run goes on; a failing math routine ends it.
    QTimer::singleShot(300, &window, [&] { faults.failText2 = true; });
    QTimer::singleShot(600, &window, [&] { faults.failTan = true; });
    clickRun(window);
    QCOMPARE(messages.shown, (std::vector<std::string>{"Error 5: Invalid argument",
                                                       "Error 16: Floating-point error"}));
    QVERIFY(!busy(window));
    QCOMPARE(window.label("Label1").text(), QString("Result: (not run)"));

    // A failing allocation in the sixth encryption of an iteration ends the run.
    messages.shown.clear();
    QTimer::singleShot(300, &window, [&] { faults.failCipherAllocation = true; });
    clickRun(window);
    QCOMPARE(messages.shown, (std::vector<std::string>{"Error 7: Out of memory"}));
    QVERIFY(!busy(window));

    // The next run starts from zero and ends normally.
    messages.shown.clear();
    clickRun(window);
    QVERIFY(messages.shown.empty());
    QVERIFY(QRegularExpression("^Result: [1-9][0-9]*$")
                .match(window.label("Label1").text())
                .hasMatch());
    QCOMPARE(window.textBox("Text2").text(), QString("100"));
    QVERIFY(!busy(window));
    QVERIFY(!window.timer("Timer1").isEnabled());
    window.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::FaultTest)
#include "fault_test.moc"
