// Plays seeded random user actions on both windows before, during and between (nested) runs, via
// the window system layer, and checks the program after each; a finding stops it with the seed.
// ORVENDALE_EXERCISE_SEED=n[,m...]: only these seeds; _SECONDS=s: per seed (22); _VERBOSE=1.
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <random>

#include "runtime/msgbox.h"
#include "ui/frmMain.h"

using namespace orvendale::ui;

constexpr int kPicks = 30;             // an action's odds are out of so many picks
constexpr int kKeptInTen = 4;          // episodes in ten that keep a run going to its end
constexpr int kDeepest = 3;            // nested runs: no more are started
constexpr int kKeysStartingNoRun = 2;  // the first of "a key"'s keys: Tab and Down
constexpr int kSpots = 50;             // spots tried for a right click on no control
constexpr int kLogTail = 40;           // lines of the log a finding shows
constexpr int kCheckEveryMs = 250;     // the periodic check
constexpr int kQuickMs = 40;           // a quick user's longest pause
constexpr int kSlowMs = 400;           // a slower user's longest pause, and a pause's shortest
constexpr int kLongestPauseMs = 2000;  // a slower user's longest pause but one
constexpr int kLongestHoldMs = 120;    // a press held while the popup it closes goes
constexpr int kNoLimitMs = 1 << 30;    // the test's own timeout ends a hang
constexpr qint64 kEpisodeMs = 1000;    // the least time left to start another episode
constexpr qint64 kRunMs = 11'500;      // a run's 10 s and a margin
constexpr qint64 kNotYet = qint64(1) << 40;  // the program's end, before it comes
constexpr qint64 kRunAfterEndMs = 3000;      // the longest a run goes on after the program's end
constexpr qint64 kOvertimeMs = 30'000;       // the longest a seed goes on past its time

// Whether an action is tried while the episode keeps a run going to its end.
enum class Kept {
  kNo,                // never
  kYes,               // always
  kOnAbout,           // on About only
  kOnAboutOrToStart,  // on About, and on the main window to start a run while none goes
};

struct Action {
  int odds;  // tried on this many of kPicks picks
  Kept kept = Kept::kNo;
  bool late = false;     // tried once time is up too: it may close a window
  std::string_view aim;  // Command1: Run Benchmark, Command2: Exit; on About, both its Close
  Qt::MouseButton button = Qt::NoButton;  // for "anywhere": any
  QKeySequence keys = {};                 // for "a key": one of them
};

const Action kActions[] = {
    {.odds = 30, .aim = "anywhere"},
    {.odds = 15, .kept = Kept::kOnAboutOrToStart, .aim = "Command1", .button = Qt::LeftButton},
    {.odds = 3, .kept = Kept::kOnAbout, .late = true, .aim = "Command2", .button = Qt::LeftButton},
    {.odds = 10, .kept = Kept::kYes, .aim = "the surface", .button = Qt::RightButton},
    {.odds = 8, .kept = Kept::kYes, .aim = "the popup: About...", .button = Qt::LeftButton},
    {.odds = 3, .kept = Kept::kOnAbout, .late = true, .aim = "the close box"},
    {.odds = 25,
     .aim = "a key",
     .keys = {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space}},
    {.odds = 5, .kept = Kept::kYes, .late = true, .aim = "the focus", .keys = {Qt::Key_Escape}},
};
const Qt::MouseButton kAnyButton[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
const QRegularExpression kResult(R"(^Result: (\(not run\)|[1-9][0-9]*)$)");

std::vector<Form*> forms(bool shownOnly = false) {
  std::vector<Form*> found;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* form = dynamic_cast<Form*>(widget);
    if (form != nullptr && (form->isVisible() || !shownOnly)) {
      found.push_back(form);
    }
  }
  return found;
}

class Player : public QObject {
 public:
  explicit Player(qint64 budgetMs) : budgetMs_(budgetMs) {
    watchdog_.callOnTimeout(this, [this] { check("(periodic check)"); });
    Form::setProgramEndHandler([this] {
      ++ends_;
      endedAt_ = log(QString("program end %1").arg(ends_));
    });
    orvendale::setMsgBoxHandler([this](auto m) { fail("message box: " + QString::fromUtf8(m)); });
  }
  void play(std::uint32_t seed) {
    seed_ = seed;
    qInfo("seed %u", seed_);  // before it plays, for a crash
    rng_.seed(seed);
    log_.clear();
    actions_ = 0;
    runs_ = 0;
    completed_ = 0;
    clock_.start();
    watchdog_.start(kCheckEveryMs);
    while (fits(kEpisodeMs)) {
      episode();
    }
    qInfo("%d actions, %d runs started, %d run to their end", actions_, runs_, completed_);
  }

 private:
  int below(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint inside(const QRect& r) { return {r.x() + below(r.width()), r.y() + below(r.height())}; }
  bool fits(qint64 ms = kRunMs) const { return budgetMs_ - clock_.elapsed() > ms; }
  void episode() {
    ends_ = 0;
    depth_ = 0;
    endedAt_ = kNotYet;
    calm_ = fits() && (below(10) < kKeptInTen || (completed_ == 0 && !fits(2 * kRunMs)));
    ++episode_;
    log(QString("episode %1%2").arg(episode_).arg(calm_ ? ", keeping a run to its end" : ""));
    main_ = &frmMain::defaultInstance();
    // A click on Run Benchmark releases the button before the run, and reports the click after.
    connect(&main_->button("Command1"), &CommandButton::released, this, [this] {
      ++runs_;
      ++depth_;
    });
    connect(&main_->button("Command1"), &CommandButton::clicked, this, [this] {
      --depth_;
      if (depth_ == 0 && main_->engine().intTicks() == orvendale::BenchmarkEngine::kTickLimit) {
        ++completed_;
      }
      calm_ = calm_ && depth_ > 0;
    });
    main_->Show();
    const bool exposed = QTest::qWaitForWindowExposed(main_);
    QTimer::singleShot(0, this, [this, e = episode_] { step(e); });
    const bool ended = QTest::qWaitFor([] { return Form::loadedFormCount() == 0; }, kNoLimitMs);
    if (!exposed || !ended || ends_ != 1 || !forms().empty()) {
      fail(QString::asprintf("ended %d times, %zu windows left, shown %d", ends_, forms().size(),
                             exposed));
    }
  }
  bool ruledOut(const Action& action, bool onMain, const QMenu* popup) const {
    const bool reasons[] = {
        action.aim.starts_with("the popup") && popup == nullptr,  // nothing to choose
        clock_.elapsed() >= budgetMs_ && !action.late,            // time is up
        action.aim == "the close box" && popup != nullptr,  // the click would only shut the popup
        onMain && action.aim == "Command1" && depth_ >= kDeepest,  // a fourth nested run
        calm_ && action.kept == Kept::kNo,                 // it could end or restart the kept run
        calm_ && onMain && action.kept == Kept::kOnAbout,  // likewise on the main window
        calm_ && onMain && action.kept == Kept::kOnAboutOrToStart && depth_ > 0,  // a run inside it
    };
    return std::ranges::find(reasons, true) != std::end(reasons);
  }
  // Until the next action: mostly a quick user's, one time in ten a pause.
  int pause() {
    if (below(10) >= 9) {
      return kSlowMs + below(kLongestPauseMs - kSlowMs);
    }
    return below(below(10) < 6 ? kQuickMs : kSlowMs);
  }
  // Plays an action on a shown window, or tries another; the next step is due first (a run blocks).
  void step(int episode) {
    check("after the last action");
    const std::vector<Form*> shown = forms(true);
    if (episode != episode_ || shown.empty()) {
      return;
    }
    Form& form = *shown[below(shown.size())];
    const Action& action = kActions[below(std::size(kActions))];
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    calm_ = calm_ && (depth_ > 0 || fits());  // or too late to start the run it keeps
    const bool onMain = &form == main_.data();
    if (below(kPicks) >= action.odds || ruledOut(action, onMain, popup)) {
      return step(episode);
    }
    QWidget* window = &form;
    QRect area = form.rect();
    if (action.aim == "the popup: About...") {
      window = popup;
      area = popup->actionGeometry(popup->actions()[0]);
    } else if (action.aim.starts_with("Command")) {
      area = form.button(onMain ? action.aim : "Command1").geometry();
    }
    QPoint at = inside(area);
    for (int i = 0; i < kSpots && action.aim == "the surface" && form.childAt(at) != nullptr; ++i) {
      at = inside(form.rect());
    }
    const auto mouse =
        action.aim == "anywhere" ? kAnyButton[below(std::size(kAnyButton))] : action.button;
    const int keys = depth_ >= kDeepest ? kKeysStartingNoRun : action.keys.count();
    const Qt::Key key = action.keys[action.aim == "a key" ? below(keys) : 0].key();  // or none
    // Released at once, but later when the press closes the popup and Qt passes it on.
    const int hold = popup != nullptr && !popup->geometry().contains(window->mapToGlobal(at))
                         ? below(kLongestHoldMs)
                         : 0;
    const QString what = QString::asprintf("%s: button %d, key '%s', on %s", action.aim.data(),
                                           int(mouse), qPrintable(QKeySequence(key).toString()),
                                           qPrintable(window->objectName()));
    ++actions_;
    log(QString("action %1, ").arg(actions_) + what);
    QTimer::singleShot(std::max(pause(), hold + 1), Qt::PreciseTimer, this,
                       [this, episode] { step(episode); });
    if (action.aim == "the close box") {
      form.windowHandle()->close();
    }
    const QPointer<QWidget> target(window);  // which the action may close and destroy
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      if (key != 0 && target != nullptr && target->isVisible()) {
        qt_handleKeyEvent(target->windowHandle(), type, key, Qt::NoModifier);
      }
    }
    // Real times, as a user's: two quick presses at one spot make a double click.
    const auto send = [=, this](QEvent::Type type, Qt::MouseButtons state) {
      if (target != nullptr && target->isVisible()) {
        qt_handleMouseEvent(target->windowHandle(), at, target->mapToGlobal(at), state, mouse, type,
                            Qt::NoModifier, static_cast<int>(clock_.elapsed()) + 1);
      }
    };
    if (mouse != Qt::NoButton) {
      send(QEvent::MouseButtonPress, mouse);
      const auto release = [send] { send(QEvent::MouseButtonRelease, Qt::NoButton); };
      if (hold == 0) {
        release();
      } else {
        QTimer::singleShot(hold, this, release);
      }
    }
    check("after " + what);
  }
  void check(const QString& when) {
    const int shown = static_cast<int>(forms(true).size());
    const int loaded = Form::loadedFormCount();
    const QString caption = main_ != nullptr ? main_->label("Label1").text() : "Result: 1";
    const auto failIf = [&when, this](bool broken, const QString& what) {
      if (broken) {
        fail(what + " " + when);
      }
    };
    failIf(loaded != shown, QString("%1 windows are loaded but %2 shown").arg(loaded).arg(shown));
    failIf(shown > 2, "two About windows are open");
    failIf(loaded > 0 && ends_ > 0, "the program has ended with a window loaded");
    failIf(loaded == 0 && ends_ == 0, "no window is loaded but the program goes on");
    failIf(!kResult.match(caption).hasMatch(), "Label1 reads \"" + caption + "\"");
    failIf(depth_ > 0 && clock_.elapsed() > endedAt_ + kRunAfterEndMs,
           QString("a run goes on %1 s after the end").arg(kRunAfterEndMs / 1000));
    failIf(clock_.elapsed() > budgetMs_ + kOvertimeMs,
           QString("the seed goes on %1 s past its time").arg(kOvertimeMs / 1000));
  }
  [[noreturn]] void fail(const QString& what) {
    qFatal("seed %u (replay: ORVENDALE_EXERCISE_SEED=%u), %d actions in: %s\n  %s", seed_, seed_,
           actions_, qPrintable(what), qPrintable(log_.mid(log_.size() - kLogTail).join("\n  ")));
  }
  qint64 log(const QString& what) {
    log_.append(QString("%1 ms, %2 deep: ").arg(clock_.elapsed(), 6).arg(depth_) + what);
    if (qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_VERBOSE")) {
      qInfo("%s", qPrintable(log_.last()));
    }
    return clock_.elapsed();
  }

  std::uint32_t seed_ = 0;
  std::mt19937 rng_;
  qint64 budgetMs_;
  qint64 endedAt_ = 0;
  QElapsedTimer clock_;
  QTimer watchdog_;
  QPointer<frmMain> main_;
  QStringList log_;
  int actions_ = 0;
  int runs_ = 0;
  int completed_ = 0;
  int episode_ = 0;
  int ends_ = 0;
  int depth_ = 0;
  bool calm_ = false;  // this episode keeps a run going to its end: nothing may end or restart it
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // the program ends when no window is loaded
  static const QtMessageHandler next = qInstallMessageHandler([](auto t, auto& c, auto& m) {
    if (!m.startsWith("This plugin does not support")) {  // offscreen's notices, for every popup
      next(t, c, m);
    }
  });
  Player player(1000 * qEnvironmentVariable("ORVENDALE_EXERCISE_SECONDS", "22").toInt());
  for (const QString& seed :
       qEnvironmentVariable("ORVENDALE_EXERCISE_SEED", "7,19,42,1009,65537").split(',')) {
    player.play(seed.trimmed().toUInt());
  }
}
