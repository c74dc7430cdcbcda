// Faults in the middle of a run from stand-ins that fail once when armed: QLineEdit::setText in
// the tick handler, the C library's tan and a cipher allocation in the work loop. Each is reported,
// the busy pointer comes back, and the next real run starts cleanly and gives a valid score.
#include <dlfcn.h>

#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <cfenv>
#include <cstdlib>
#include <limits>
#include <new>

#include "runtime/errors.h"
#include "support/runtime_probes.h"
#include "ui/frmMain.h"

namespace {
bool g_failSetText = false;  // the next setText (Text2's tick count) raises
bool g_failTan = false;      // the next tan() gives NaN and sets invalid-operation
// The next tan() arms the failure of the next allocation of 90 bytes or more: from there only the
// work loop's own code runs until its sixth encryption allocates its output.
bool g_failCipherAllocation = false;
bool g_failLargeAllocation = false;
}  // namespace

void QLineEdit::setText(const QString& text) {
  static const auto realSetText = reinterpret_cast<void (*)(QLineEdit*, const QString&)>(
      dlsym(RTLD_NEXT, "_ZN9QLineEdit7setTextERK7QString"));
  if (std::exchange(g_failSetText, false)) {
    orvendale::raiseError(orvendale::kInvalidArgument);
  }
  realSetText(this, text);
}

extern "C" double tan(double x) {
  static const auto realTan = reinterpret_cast<double (*)(double)>(dlsym(RTLD_NEXT, "tan"));
  g_failLargeAllocation |= std::exchange(g_failCipherAllocation, false);
  if (std::exchange(g_failTan, false)) {  // as the C library fails: no exception, a NaN and a flag
    std::feraiseexcept(FE_INVALID);
    return std::numeric_limits<double>::quiet_NaN();
  }
  return realTan(x);
}

// The C++ library's array forms call these; unarmed, they allocate as its own do.
void* operator new(std::size_t size) {
  if (size >= 90 && std::exchange(g_failLargeAllocation, false)) {
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}
// Kept out of line: inlined where a replaced new's memory is deleted, g++ for arm64 pairs that new
// with free() and fails the build with -Wmismatched-new-delete.
__attribute__((noinline)) void operator delete(void* memory) noexcept {
  std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace orvendale::ui {

class FaultTest : public QObject {
  Q_OBJECT

 private slots:
  void faultsAreReportedAndTheNextRunIsClean() {
    Form::setProgramEndHandler([] {});
    testing::MsgBoxRecorder messages;
    frmMain& window = frmMain::defaultInstance();
    window.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto run = [&] {
      messages.shown.clear();
      QTest::mouseClick(&window.button("Command1"), Qt::LeftButton);
      QVERIFY2(window.cursor().shape() != Qt::WaitCursor, "the busy pointer stayed");
    };

    // A failing tick handler is reported and the run goes on; a failing math routine ends it.
    QTimer::singleShot(300, &window, [] { g_failSetText = true; });
    QTimer::singleShot(600, &window, [] { g_failTan = true; });
    run();
    QCOMPARE(messages.shown, (std::vector<std::string>{"Error 5: Invalid argument",
                                                       "Error 16: Floating-point error"}));
    QCOMPARE(window.label("Label1").text(), QString("Result: (not run)"));
    QTimer::singleShot(300, &window, [] { g_failCipherAllocation = true; });
    run();
    QCOMPARE(messages.shown, (std::vector<std::string>{"Error 7: Out of memory"}));

    run();
    QVERIFY(messages.shown.empty());
    QVERIFY2(
        QRegularExpression("^Result: [1-9][0-9]*$").match(window.label("Label1").text()).hasMatch(),
        "no score after the faults");
    window.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::FaultTest)
#include "fault_test.moc"
