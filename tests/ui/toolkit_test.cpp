#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cfenv>

#include "benchmark/scripted_host.h"
#include "platform/EventPump.h"
#include "runtime/errors.h"
#include "support/msgbox_recorder.h"
#include "ui/toolkit/Form.h"

namespace orvendale::ui {
namespace {

const WindowDescription& testWindow() {
  static const WindowDescription window{
      .name = "frmTest",
      .caption = "Test",
      .backColor = {0, 0, 128},
      .clientWidth = 1500,
      .clientHeight = 1500,
      .resizable = true,
      .startPosition = StartPosition::CenterScreen,
      .controls =
          {
              {.kind = ControlKind::CommandButton, .name = "Fail", .width = 600, .height = 300},
              {.kind = ControlKind::CommandButton, .name = "UnloadMe", .width = 600, .height = 300},
              {.kind = ControlKind::Timer, .name = "Tick", .enabled = false, .interval = 0},
          },
  };
  return window;
}

class TestForm : public Form {
 public:
  TestForm() : Form(testWindow()) {
    onClick("Fail", "Fail_Click", [] { raiseError(kOverflow); });
    onClick("UnloadMe", "UnloadMe_Click", [this] {
      Unload();
      platform::rtcDoEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      survivedOwnUnload = true;  // still alive: the handler is running
    });
    onTimer("Tick", "Tick_Timer", [this] { ++ticks; });
  }
  int ticks = 0;
  bool survivedOwnUnload = false;
};

void flushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class ToolkitTest : public QObject {
  Q_OBJECT

 private slots:
  void errorEscapingAHandlerIsReportedAndTheProgramGoesOn() {
    testing::MsgBoxRecorder messages;
    TestForm form;
    QTest::mouseClick(&form.button("Fail"), Qt::LeftButton);
    QTest::mouseClick(&form.button("Fail"), Qt::LeftButton);
    QCOMPARE(messages.shown, (std::vector<std::string>{"Error 6: Overflow", "Error 6: Overflow"}));
    QVERIFY(form.isLoaded());
  }

  void timerTicksOnlyWhenEnabledWithAnInterval_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("ticks");
    QTest::newRow("enabled, interval 0") << true << 0 << false;
    QTest::newRow("disabled, interval 20") << false << 20 << false;
    QTest::newRow("enabled, interval 20") << true << 20 << true;
  }

  void timerTicksOnlyWhenEnabledWithAnInterval() {
    QFETCH(bool, enabled);
    QFETCH(int, interval);
    QFETCH(bool, ticks);
    TestForm form;
    Timer& timer = form.timer("Tick");
    timer.setEnabled(enabled);
    timer.setInterval(interval);
    QCOMPARE(timer.isEnabled(), enabled);  // reads back as written, ticking or not
    QTest::qWait(150);
    QCOMPARE(form.ticks >= 3, ticks);
    QVERIFY(form.ticks <= 8);
    timer.setEnabled(false);
    const int stoppedAt = form.ticks;
    QTest::qWait(60);
    QCOMPARE(form.ticks, stoppedAt);
  }

  void unloadDuringItsOwnHandlerDestroysTheFormAfterwards() {
    int ends = 0;
    Form::setProgramEndHandler([&] { ++ends; });
    QPointer<TestForm> other = new TestForm;
    QPointer<TestForm> form = new TestForm;
    QCOMPARE(Form::loadedFormCount(), 2);

    QTest::mouseClick(&form->button("UnloadMe"), Qt::LeftButton);
    QVERIFY(form != nullptr && form->survivedOwnUnload);
    flushDeletes();
    QVERIFY(form == nullptr);
    QCOMPARE(ends, 0);  // another window is still loaded

    other->Unload();
    flushDeletes();
    QVERIFY(other == nullptr);
    QCOMPARE(ends, 1);
    QCOMPARE(Form::loadedFormCount(), 0);
  }

  // Something run by the pump leaves a fault flag set (in SSE or x87 status) or another
  // rounding mode: the run must neither fail nor compute under it.
  void pumpGivesTheLoopBackItsFloatingPointState_data() {
    QTest::addColumn<int>("disturbance");
    QTest::newRow("zero-divide flag") << 0;
    QTest::newRow("x87 invalid flag") << 1;
    QTest::newRow("rounding upward") << 2;
  }

  void pumpGivesTheLoopBackItsFloatingPointState() {
    QFETCH(int, disturbance);
    testing::ScriptedHost host;
    host.onPump = [&](int pump) {
      QTimer::singleShot(0, [disturbance] {
        volatile double one = 1;
        volatile long double zero = 0;
        if (disturbance == 0) {
          one = one / 0.0;
        } else if (disturbance == 1) {
          zero = zero / zero;
        } else {
          std::fesetround(FE_UPWARD);
        }
      });
      platform::rtcDoEvents();
      if (pump == 5) {
        host.deliverTicks(100);
      }
    };
    bool roundedToNearest = true;
    host.onTimerRead = [&] { roundedToNearest &= std::fegetround() == FE_TONEAREST; };
    host.engine.Command1_Click();
    std::fesetround(FE_TONEAREST);
    QCOMPARE(host.label1, std::string("Result: 8"));  // five iterations
    QVERIFY(roundedToNearest);
  }

  void mousePointerBusyAndDefault() {
    TestForm form;
    form.setMousePointer(11);
    QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
    form.setMousePointer(0);
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::ToolkitTest)
#include "toolkit_test.moc"
