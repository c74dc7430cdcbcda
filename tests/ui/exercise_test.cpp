// Plays seeded random user actions on both windows before, during and between benchmark runs
// (nested runs included) and checks after every action that the program is still sound. Input
// goes through the window system layer, so an open popup takes it; actions during a run come
// from timers that fire in the run's own event pump. A finding stops the program with the seed
// and the last actions.
//   ORVENDALE_EXERCISE_SEED=n[,m...]  plays only these seeds
//   ORVENDALE_EXERCISE_SECONDS=s      time each seed plays (default 22)
//   ORVENDALE_EXERCISE_VERBOSE=1      prints every action as it is played
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <random>

#include "support/msgbox_recorder.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {
namespace {

// The actions by weight: where they aim and with which button (none: any) or keys (none: any).
// Those that `close` are still played once the seed's time is spent, to bring it to an end.
struct Row {
  int weight;
  bool closes;
  const char* aim;
  Qt::MouseButton button;
  QKeySequence keys;
};
const Row kRows[] = {
    {30, false, "anywhere", Qt::NoButton, {}},
    {15, false, "Command1", Qt::LeftButton, {}},      // Run Benchmark; About's Close
    {10, false, "the surface", Qt::RightButton, {}},  // the popup on frmMain
    {3, true, "Exit", Qt::LeftButton, {}},            // or About's Close
    {8, false, "About...", Qt::LeftButton, {}},       // in the popup
    {3, true, "the close box", Qt::NoButton, {}},
    {25, false, "the focus", Qt::NoButton, {}},
    {5, true, "the focus", Qt::NoButton, QKeySequence(Qt::Key_Escape)},
    {5, false, "the popup", Qt::NoButton, QKeySequence(Qt::Key_Down, Qt::Key_Return)}};
const Qt::Key kKeys[] = {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Down};

QString nameOf(const QWidget* w) {
  return w == nullptr ? "the surface" : w->inherits("QMenu") ? "the popup" : w->objectName();
}
std::vector<Form*> forms() {
  std::vector<Form*> found;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* f = dynamic_cast<Form*>(w))
      found.push_back(f);
  }
  return found;
}

class Player : public QObject {
 public:
  Player(std::uint32_t seed, qint64 budgetMs) : seed_(seed), rng_(seed), budgetMs_(budgetMs) {
    watchdog_.callOnTimeout(this, [this] { check("(periodic check)"); });
    watchdog_.start(250);
    Form::setProgramEndHandler(
        [this] { endedAt_ = log(QString::asprintf("the program ends (%d)", ++ends_)); });
  }
  ~Player() override {
    Form::setProgramEndHandler([] {});
  }

  void play() {
    for (clock_.start(); budgetMs_ - clock_.elapsed() > 1000;)
      episode();
    qInfo("seed %u: %d actions, %d runs started, %d completed, %d episodes in %.1f s", seed_,
          actions_, runs_, completed_, episode_, clock_.elapsed() / 1000.0);
  }

 private:
  int below(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint inside(const QRect& r) { return {r.x() + below(r.width()), r.y() + below(r.height())}; }
  void schedule(int ms) {
    QTimer::singleShot(ms, Qt::PreciseTimer, this, [this, e = episode_] {
      if (e == episode_)
        step();
    });
  }
  bool fullRunFits() const { return budgetMs_ - clock_.elapsed() > 11'500; }  // and a margin

  void episode() {
    ends_ = depth_ = 0;
    endedAt_ = -1;
    // Some episodes let nothing end or restart their first run until it has reached its end.
    calm_ = fullRunFits() &&
            ((completed_ == 0 && !(budgetMs_ - clock_.elapsed() > 23'000)) || below(10) < 4);
    log(QString::asprintf("episode %d%s", ++episode_, calm_ ? ", calm until a run has ended" : ""));
    main_ = &frmMain::defaultInstance();
    // A click on Run Benchmark releases the button before the run, and reports the click after.
    connect(&main_->button("Command1"), &QAbstractButton::released, this,
            [this] { log(QString::asprintf("run %d starts, %d deep", ++runs_, ++depth_)); });
    connect(&main_->button("Command1"), &QAbstractButton::clicked, this, [this] {
      completed_ += --depth_ == 0 && main_->engine().intTicks() == 100 ? 1 : 0;
      calm_ = calm_ && depth_ > 0;
      log(QString::asprintf("run ends, %d still running", depth_));
    });
    main_->Show();
    if (!QTest::qWaitForWindowExposed(main_))
      fail("the main window was not shown");
    schedule(0);
    while (Form::loadedFormCount() > 0) {  // here only between actions, every handler returned
      QTest::qWait(20);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (ends_ != 1 || !forms().empty()) {
      fail(QString::asprintf("the program ended %d times and left %zu windows", ends_,
                             forms().size()));
    }
  }

  // Plays a random row on a random shown window; while the popup is open, it takes the input.
  void step() {
    std::vector<Form*> shown = forms();
    std::erase_if(shown, [](Form* f) { return !f->isVisible(); });
    if (Form::loadedFormCount() == 0 || shown.empty())
      return;
    check("before the next action");
    calm_ = calm_ && (depth_ > 0 || fullRunFits());
    for (Form& form = *shown[below(shown.size())]; !play(kRows[below(9)], form);) {
    }
  }

  // Plays `row` on `form` and returns true, unless it does not apply or is held back: while
  // calm, a second run or the program's end; past the seed's time, a run or what closes nothing.
  bool play(const Row& row, Form& form) {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QString aim = row.aim;
    if (below(30) >= row.weight || ((aim == "About..." || aim == "the popup") && !popup) ||
        (aim == "the close box" && popup)) {
      return false;
    }
    QWidget* window = aim == "About..." ? static_cast<QWidget*>(popup) : &form;
    const char* exit = &form == main_.data() ? "Command2" : "Command1";
    QPoint at = aim == "About..." ? inside(popup->actionGeometry(popup->actions().first()))
                : aim == "Command1" || aim == "Exit"
                    ? inside(form.button(aim == "Exit" ? exit : "Command1").geometry())
                    : inside(form.rect());
    for (int i = 0; i < 50 && aim == "the surface" && form.childAt(at) != nullptr; ++i) {
      at = inside(form.rect());
    }
    const QPoint global = window->mapToGlobal(at);
    const QWidget* under = !popup                               ? window->childAt(at)
                           : popup->geometry().contains(global) ? popup
                                                                : QApplication::widgetAt(global);
    const auto button = aim == "anywhere" ? Qt::MouseButton(1 << below(3)) : row.button;
    const auto keys =
        aim == "the focus" && row.keys.isEmpty() ? QKeySequence(kKeys[below(5)]) : row.keys;
    const bool clicks =
        !popup && (keys[0].key() == Qt::Key_Return || keys[0].key() == Qt::Key_Space);
    const QWidget* activates = aim == "the close box"     ? &form
                               : button == Qt::LeftButton ? under
                               : clicks                   ? form.focusWidget()
                                                          : nullptr;
    const bool runs = main_ != nullptr && activates == &main_->button("Command1");
    const bool ends =
        main_ != nullptr && (activates == main_.data() || activates == &main_->button("Command2"));
    const bool late = clock_.elapsed() >= budgetMs_;
    if ((runs && (late || depth_ > (calm_ ? 0 : 2))) || (ends && calm_) || (late && !row.closes))
      return false;
    const int hold = below(120);
    const QString what = QString::asprintf(
        "%s: %s on %s at (%d,%d), %s", row.aim,
        qPrintable(button != Qt::NoButton
                       ? QString::asprintf("button %d held %d ms", int(button), hold)
                       : keys.toString()),
        qPrintable(nameOf(window)), at.x(), at.y(),
        qPrintable(button != Qt::NoButton ? "on " + nameOf(under)
                                          : "focus on " + nameOf(form.focusWidget())));
    ++actions_;
    log(what);
    schedule(std::max(below(100) < 90 ? below(400) : 400 + below(1600),
                      hold + 1));  // may fire inside the action
    const QPointer<QWidget> target(window);
    if (aim == "the close box")
      form.windowHandle()->close();
    for (int i = 0; i < keys.count() && target != nullptr && target->isVisible(); ++i) {
      QTest::keyClick(target->windowHandle(), keys[i].key());
    }
    // Real times: two quick presses at one spot make a double click, as they would for a user.
    const auto send = [=, this, e = episode_](QEvent::Type type, Qt::MouseButtons state) {
      if (target != nullptr && target->isVisible() && e == episode_) {
        qt_handleMouseEvent(target->windowHandle(), at, global, state, button, type, Qt::NoModifier,
                            static_cast<int>(clock_.elapsed()) + 1);
      }
    };
    if (button != Qt::NoButton) {  // released a little later, as by a hand
      send(QEvent::MouseButtonPress, button);
      QTimer::singleShot(hold, this, [=, this] {
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        check("after the release");
      });
    }
    check("after " + what);
    return true;
  }

  void check(const QString& when) {
    int loaded = 0, abouts = 0;
    const Form* odd = nullptr;
    for (const Form* f : forms()) {
      loaded += f->isLoaded() ? 1 : 0;
      abouts += f->isLoaded() && dynamic_cast<const frmAbout*>(f) != nullptr ? 1 : 0;
      odd = f->isLoaded() != f->isVisible() ? f : odd;
    }
    static const QRegularExpression result(R"(^Result: (\(not run\)|[1-9][0-9]*)$)");
    const QString caption = main_ != nullptr ? main_->label("Label1").text() : "Result: 1";
    const bool busy = main_ && main_->isLoaded() && main_->cursor().shape() == Qt::WaitCursor;
    const bool ticking = main_ && main_->isLoaded() && main_->timer("Timer1").isEnabled();
    const QString problem =
        !messages_.shown.empty()
            ? "a message box appeared: " + QString::fromStdString(messages_.shown[0])
        : odd != nullptr ? odd->objectName() + (odd->isLoaded() ? " is loaded but hidden"
                                                                : " is unloaded but shown")
        : abouts > 1     ? "two About windows are loaded"
        : (loaded > 0) == (ends_ > 0) ? (loaded > 0 ? "the program has ended with a window loaded"
                                                    : "no window is loaded but the program goes on")
        : !result.match(caption).hasMatch() ? "Label1 reads \"" + caption + "\""
        : busy && depth_ == 0               ? "the busy pointer shows with no run in progress"
        : ticking && !busy                  ? "the run timer ticks without the busy pointer"
        : endedAt_ >= 0 && depth_ > 0 && clock_.elapsed() > endedAt_ + 3000
            ? "a run goes on 3 s after the program ended"
        : clock_.elapsed() > budgetMs_ + 30'000 ? "the seed goes on 30 s past its time"
                                                : QString();
    if (!problem.isEmpty())
      fail(problem + " " + when);
  }
  [[noreturn]] void fail(const QString& what) {
    qFatal(
        "seed %u (replay with ORVENDALE_EXERCISE_SEED=%u): at %lld ms, %d actions in: %s\nlast "
        "actions:\n  %s",
        seed_, seed_, clock_.elapsed(), actions_, qPrintable(what), qPrintable(log_.join("\n  ")));
  }
  qint64 log(const QString& what) {
    log_.append(QString::asprintf(
        "%6lld ms%s%s: %s", clock_.elapsed(), depth_ > 0 ? " [in a run]" : "",
        QApplication::activePopupWidget() ? " [popup open]" : "", qPrintable(what)));
    if (verbose_)
      qInfo("%s", qPrintable(log_.last()));
    if (log_.size() > 40)
      log_.removeFirst();
    return clock_.elapsed();
  }

  std::uint32_t seed_;
  std::mt19937 rng_;
  qint64 budgetMs_, endedAt_ = -1;
  testing::MsgBoxRecorder messages_;
  const bool verbose_ = qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_VERBOSE") != 0;
  QElapsedTimer clock_;
  QTimer watchdog_;
  QPointer<frmMain> main_;
  QStringList log_;
  int actions_ = 0, runs_ = 0, completed_ = 0, episode_ = 0, ends_ = 0, depth_ = 0;
  bool calm_ = false;  // nothing may end or restart the first run until it has ended
};

}  // namespace
}  // namespace orvendale::ui

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // the program ends when no window is loaded
  static const QtMessageHandler next = qInstallMessageHandler(  // offscreen's notice on popups
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith("This plugin does not support"))
          next(type, context, message);
      });
  const int seconds = qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_SECONDS");
  for (const QString& seed : qEnvironmentVariable("ORVENDALE_EXERCISE_SEED", "7,19,42,1009,65537")
                                 .split(',', Qt::SkipEmptyParts)) {
    orvendale::ui::Player(seed.trimmed().toUInt(), 1000 * (seconds > 0 ? seconds : 22)).play();
  }
}
