// One scripted session of the program for memcheck (scripts/valgrind_session.sh): the main
// window starts, a full ten-second run, the About window is opened from the popup and closed,
// then a run is ended by Exit, which ends the program. Every window is destroyed before Qt goes
// away, so whatever is still allocated at exit was lost by the program.
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "popup_probe.h"
#include "support/msgbox_recorder.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

class ScriptedSession : public QObject {
  Q_OBJECT

 private slots:
  void startRunAboutAndExitDuringARun() {
    const QRegularExpression result("^Result: [1-9][0-9]*$");
    testing::MsgBoxRecorder messages;
    int programEnds = 0;
    Form::setProgramEndHandler([&] { ++programEnds; });

    QPointer<frmMain> window = &frmMain::defaultInstance();
    window->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QWidget* runBenchmark = window->findChild<QWidget*>("Command1");

    // A full run: returns after the 100th tick.
    QTest::mouseClick(runBenchmark, Qt::LeftButton);
    QCOMPARE(window->textBox("Text2").text(), QString("100"));
    QVERIFY(result.match(window->label("Label1").text()).hasMatch());
    QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);

    // About, from the popup, and closed again.
    testing::PopupProbe probe;
    probe.press(window, QPoint(10, 150), Qt::RightButton, {}, /*choose=*/true);
    QVERIFY(probe.opened);
    QPointer<frmAbout> about = &frmAbout::defaultInstance();
    QVERIFY(about->isVisible());
    QTest::mouseClick(&about->button("Command1"), Qt::LeftButton);
    QVERIFY(!about->isLoaded());
    QCOMPARE(programEnds, 0);

    // A run ended by Exit a second in; the program ends with it.
    QTimer::singleShot(1000, window, [&] {
      QTest::mouseClick(window->findChild<QWidget*>("Command2"), Qt::LeftButton);
    });
    QTest::mouseClick(runBenchmark, Qt::LeftButton);
    QVERIFY(window->textBox("Text2").text().toInt() < 100);
    QVERIFY(result.match(window->label("Label1").text()).hasMatch());
    QCOMPARE(programEnds, 1);
    QCOMPARE(Form::loadedFormCount(), 0);
    QVERIFY(messages.shown.empty());

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window == nullptr);
    QVERIFY(about == nullptr);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::ScriptedSession)
#include "scripted_session.moc"
