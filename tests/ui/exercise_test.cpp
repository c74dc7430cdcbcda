// Plays seeded random sequences of user actions on both windows at random moments, before,
// during and between benchmark runs (nested runs included), and checks after every action that
// the program is still sound. Actions inside a run come from timers that fire in the run's own
// event pump; input goes through the window system layer, as a user's would, so an open popup
// takes the mouse and keyboard.
//
// Environment:
//   ORVENDALE_EXERCISE_SEED=n      plays only seed n (a comma-separated list plays several)
//   ORVENDALE_EXERCISE_SECONDS=s   time each seed plays (default 22)
//   ORVENDALE_EXERCISE_VERBOSE=1   prints every action as it is played
// A replay makes the same choices with the same delays; where an action lands relative to the
// 100 ms ticks can differ by a few milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <vector>

#include "support/msgbox_recorder.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {
namespace {

constexpr qint64 kRunMs = 10'000;       // 100 ticks of 100 ms
constexpr qint64 kRunMarginMs = 1'500;  // a run started with less time left may be cut short
constexpr qint64 kUnwindMs = 3'000;     // far longer than a run needs to stop once unloaded
constexpr qint64 kOverrunMs = 30'000;   // an episode still going this long after its time
constexpr std::size_t kLogLines = 40;
const std::vector<std::uint32_t> kSeeds{7, 19, 42, 1009, 65537};

struct Figures {
  int events = 0;
  int runsStarted = 0;
  int nestedRuns = 0;
  int runsCompleted = 0;
  int episodes = 0;
};

// What an action is expected to do to the run budget; used to steer the schedule so that some
// runs reach their end and every seed ends within its time.
struct Effect {
  bool startsRun = false;
  bool unloadsMain = false;
};

struct Action {
  QString description;
  Effect effect;
  std::function<void()> play;
  int minGapMs = 0;  // the next action comes no sooner (a press whose release is still due)
};

struct KeyStroke {
  Qt::Key key;
  const char* name;
  const char* text;
  Qt::KeyboardModifiers modifiers;
};

const KeyStroke kWindowKeys[] = {
    {Qt::Key_Tab, "Tab", "\t", Qt::NoModifier},
    {Qt::Key_Return, "Enter", "\r", Qt::NoModifier},
    {Qt::Key_Enter, "keypad Enter", "\r", Qt::KeypadModifier},
    {Qt::Key_Space, "Space", " ", Qt::NoModifier},
    {Qt::Key_Escape, "Esc", "\x1b", Qt::NoModifier},
};
const KeyStroke* const kReturn = &kWindowKeys[1];
const KeyStroke* const kEscape = &kWindowKeys[4];
const KeyStroke kDown{Qt::Key_Down, "Down", "", Qt::NoModifier};
const KeyStroke kUp{Qt::Key_Up, "Up", "", Qt::NoModifier};

const char* buttonName(Qt::MouseButton button) {
  return button == Qt::LeftButton ? "left" : button == Qt::RightButton ? "right" : "middle";
}

QString nameOf(const QWidget* widget) {
  return widget->objectName().isEmpty() ? QString("the popup") : widget->objectName();
}

// The loaded, shown windows, the main window first.
std::vector<Form*> shownForms() {
  std::vector<Form*> forms;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* form = dynamic_cast<Form*>(widget);
    if (form != nullptr && form->isLoaded() && form->isVisible()) {
      forms.insert(dynamic_cast<frmMain*>(form) != nullptr ? forms.begin() : forms.end(), form);
    }
  }
  return forms;
}

// Plays one seed: episodes from the main window's first showing to the program's end, until
// the seed's time is spent.
class Exerciser : public QObject {
 public:
  Exerciser(std::uint32_t seed, qint64 budgetMs, const testing::MsgBoxRecorder& messages)
      : rng_(seed), budgetMs_(budgetMs), messages_(messages) {
    next_.setSingleShot(true);
    next_.setTimerType(Qt::PreciseTimer);
    connect(&next_, &QTimer::timeout, this, [this] { step(); });
    connect(&watchdog_, &QTimer::timeout, this, [this] { watch(); });
    Form::setProgramEndHandler([this] { programEnded(); });
  }
  ~Exerciser() override {
    Form::setProgramEndHandler([] {});
  }
  Exerciser(const Exerciser&) = delete;
  Exerciser& operator=(const Exerciser&) = delete;

  // Returns the first finding with the last actions before it, or an empty string.
  QString play() {
    clock_.start();
    do {
      playEpisode();
    } while (finding_.isEmpty() && remainingMs() > 1000);
    QString report = finding_;
    for (const QString& line : log_) {
      report += (report.size() == finding_.size() ? "\nlast actions:\n  " : "\n  ") + line;
    }
    return finding_.isEmpty() ? QString() : report;
  }

  const Figures& figures() const { return figures_; }
  qint64 elapsedMs() const { return clock_.elapsed(); }

 private:
  // --- Randomness -----------------------------------------------------------------------------

  int below(std::size_t n) { return static_cast<int>(rng_() % n); }
  bool chance(int percent) { return below(100) < percent; }
  QPoint inside(const QRect& r) { return {r.x() + below(r.width()), r.y() + below(r.height())}; }

  // Mostly quick bursts, some pauses, now and then a long wait.
  int pickDelay() {
    const int r = below(100);
    return r < 55 ? below(40) : r < 90 ? 40 + below(360) : 400 + below(1600);
  }
  Qt::MouseButton pickButton() {
    const int r = below(10);
    return r < 4 ? Qt::LeftButton : r < 8 ? Qt::RightButton : Qt::MiddleButton;
  }
  Qt::KeyboardModifiers pickModifiers() {
    const int r = below(20);
    return r == 0 ? Qt::ShiftModifier : r == 1 ? Qt::ControlModifier : Qt::NoModifier;
  }
  const KeyStroke* pickKey() { return &kWindowKeys[below(std::size(kWindowKeys))]; }

  // A point of a window's bare surface: a right press there on the main window opens the popup.
  QPoint bareSurfacePoint(QWidget& window) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      const QPoint point = inside(window.rect());
      if (window.childAt(point) == nullptr) {
        return point;
      }
    }
    return {10, 150};
  }

  // --- Budget ---------------------------------------------------------------------------------

  qint64 remainingMs() const { return budgetMs_ - clock_.elapsed(); }
  bool timeForAFullRun() const { return remainingMs() > kRunMs + kRunMarginMs; }
  bool windingDown() const { return remainingMs() <= 0 && !keptRun_; }
  bool endingSuppressed() const {
    return keptRun_ || (keepARun_ && !completedInEpisode_ && timeForAFullRun());
  }
  bool runMayStart() const {
    return !windingDown() &&
           (runDepth_ == 0 || (nestedLeft_ > 0 && (!keptRun_ || timeForAFullRun())));
  }
  bool allowed(const Effect& effect) const {
    return !(effect.startsRun && !runMayStart()) && !(effect.unloadsMain && endingSuppressed());
  }

  // --- Episodes and runs ----------------------------------------------------------------------

  void playEpisode() {
    ++figures_.episodes;
    ++episode_;
    programEnds_ = 0;
    programEndedAt_ = -1;
    keptRun_ = completedInEpisode_ = false;
    // Some episodes keep their first run going to its end; the last chance in a seed always does.
    keepARun_ =
        (figures_.runsCompleted == 0 && remainingMs() < 2 * (kRunMs + kRunMarginMs)) || chance(40);
    nestedLeft_ = below(3);
    log(QString::asprintf("episode %d: %s, up to %d nested runs", episode_,
                          keepARun_ ? "keeps a run to its end" : "free", nestedLeft_));

    main_ = &frmMain::defaultInstance();
    // Every click on Run Benchmark releases the button just before its handler runs the
    // benchmark, and reports the click once the handler has returned.
    connect(&main_->button("Command1"), &QAbstractButton::released, this, [this] { runStarted(); });
    connect(&main_->button("Command1"), &QAbstractButton::clicked, this, [this] { runEnded(); });
    connect(&main_->textBox("Text2"), &QLineEdit::textChanged, this, [this](const QString& ticks) {
      if (ticks == "100") {
        ++figures_.runsCompleted;
        completedInEpisode_ = true;
        keptRun_ = false;
        log("a run reached its 100th tick");
      }
    });
    main_->Show();
    if (!QTest::qWaitForWindowExposed(main_)) {
      fail("the main window was not shown");
    }
    check("at the start of the episode");

    next_.start(pickDelay());
    watchdog_.start(250);
    // Control comes back here only between actions, with every handler returned.
    while (Form::loadedFormCount() > 0) {
      QTest::qWait(20);
    }
    next_.stop();
    watchdog_.stop();

    check("after the program ended");
    if (programEnds_ != 1) {
      fail(QString::asprintf("the program ended %d times", programEnds_));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (dynamic_cast<Form*>(widget) != nullptr) {
        fail(widget->objectName() + " was not destroyed after the program ended");
        delete widget;
      }
    }
  }

  void programEnded() {
    ++programEnds_;
    programEndedAt_ = clock_.elapsed();
    log("the program ended");
    if (Form::loadedFormCount() != 0 || programEnds_ > 1) {
      fail(QString::asprintf("the program ended (time %d) with %d windows loaded", programEnds_,
                             Form::loadedFormCount()));
    }
  }

  void runStarted() {
    ++runDepth_;
    ++figures_.runsStarted;
    if (runDepth_ > 1) {
      ++figures_.nestedRuns;
      --nestedLeft_;
    } else {
      keptRun_ = keepARun_ && !completedInEpisode_ && timeForAFullRun();
    }
    log(QString::asprintf("run starts, %d deep%s", runDepth_, keptRun_ ? ", kept" : ""));
  }

  void runEnded() {
    --runDepth_;
    keptRun_ = keptRun_ && runDepth_ > 0;
    log(QString::asprintf("run ends, %d still running", runDepth_));
  }

  // --- Choosing actions -----------------------------------------------------------------------

  void step() {
    if (!finding_.isEmpty() || Form::loadedFormCount() == 0) {
      return;  // the episode is over
    }
    check("before the next action");
    const Action action = pick();
    // Scheduled before acting: the action may not return for a while (a run, a popup), and the
    // next one must then be played from inside it.
    next_.start(std::max(pickDelay(), action.minGapMs));
    perform(action, true);
  }

  void perform(const Action& action, bool counted) {
    figures_.events += counted ? 1 : 0;
    log(action.description);
    action.play();
    check("after: " + action.description);
  }

  Action pick() {
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      return pickInPopup(*popup);
    }
    const std::vector<Form*> forms = shownForms();
    if (forms.empty()) {
      return {"nothing to act on", {}, [] {}};
    }
    Form& target = *forms[forms.size() == 1 || chance(65) ? 0 : 1];
    if (windingDown()) {
      return pickEnding(target);
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
      Action action = pickOn(target);
      if (allowed(action.effect)) {
        return action;
      }
    }
    return click(target, bareSurfacePoint(target), Qt::MiddleButton);
  }

  Action pickOn(Form& window) {
    const bool onMain = &window == main_;
    const int r = below(100);
    if (r < 30) {
      return click(window, inside(window.rect()), pickButton(), pickModifiers());
    }
    if (r < 45) {  // Run Benchmark, or the About window's Close
      return click(window, inside(window.button("Command1").geometry()), Qt::LeftButton);
    }
    if (onMain && r < 55) {  // a right press on the bare surface opens the popup
      return click(window, bareSurfacePoint(window), Qt::RightButton, pickModifiers());
    }
    if (onMain && r < 58) {  // Exit
      return click(window, inside(window.button("Command2").geometry()), Qt::LeftButton);
    }
    if (r >= 58 && r < 61) {
      return closeCommand(window);
    }
    return keys(window, {pickKey()});
  }

  Action pickInPopup(QMenu& popup) {
    if (windingDown()) {
      return keys(popup, {kEscape});
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
      const int r = below(100);
      if (r < 35) {
        return keys(popup, {below(7) < 5 ? pickKey() : chance(50) ? &kDown : &kUp});
      }
      if (r < 55) {
        Action action = click(popup, inside(popup.actionGeometry(popup.actions().constFirst())),
                              Qt::LeftButton);
        action.description = "About... chosen with a " + action.description;
        return action;
      }
      if (r < 70) {
        return keys(popup, {&kDown, kReturn});
      }
      const std::vector<Form*> forms = shownForms();
      if (forms.empty()) {
        break;
      }
      Form& target = *forms[below(forms.size())];
      Action action = pressOutsidePopup(popup, target, inside(target.rect()), pickButton());
      if (allowed(action.effect)) {
        return action;
      }
    }
    return keys(popup, {kEscape});
  }

  // Once the seed's time is spent: close the windows, each in any of its ways.
  Action pickEnding(Form& window) {
    const int way = below(3);
    if (way == 0) {
      return closeCommand(window);
    }
    if (way == 1 && &window != main_) {
      return keys(window, {kEscape});
    }
    const char* button = &window == main_ ? "Command2" : "Command1";
    return click(window, inside(window.button(button).geometry()), Qt::LeftButton);
  }

  // --- Actions --------------------------------------------------------------------------------

  Effect effectOfClick(const QWidget* receiver) const {
    if (main_ == nullptr || receiver == nullptr) {
      return {};
    }
    return {receiver == &main_->button("Command1"), receiver == &main_->button("Command2")};
  }

  QString where(const QWidget& window, QPoint point, const QWidget* receiver) const {
    return QString::asprintf("%s (%d,%d) on %s", qPrintable(nameOf(&window)), point.x(), point.y(),
                             receiver == &window ? "the surface" : qPrintable(nameOf(receiver)));
  }

  // A press and release at one point of a window (or of the popup).
  Action click(QWidget& window, QPoint point, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* child = window.childAt(point);
    QWidget* receiver = child != nullptr ? child : &window;
    QPointer<QWidget> target(&window);
    return {QString::asprintf("%s click%s at %s", buttonName(button),
                              modifiers == Qt::NoModifier ? "" : " with a modifier",
                              qPrintable(where(window, point, receiver))),
            button == Qt::LeftButton ? effectOfClick(child) : Effect{},
            [this, target, point, button, modifiers] {
              mouse(target, point, QEvent::MouseButtonPress, button, modifiers);
              mouse(target, point, QEvent::MouseButtonRelease, button, modifiers);
            }};
  }

  // A press on a window while the popup is open closes the popup; Qt then hands the press on to
  // what lies under the pointer. The release follows a little later, as a hand's would.
  Action pressOutsidePopup(QMenu& popup, Form& window, QPoint point, Qt::MouseButton button) {
    const QPoint global = window.mapToGlobal(point);
    const QWidget* under =
        popup.geometry().contains(global) ? &popup : QApplication::widgetAt(global);
    const int releaseMs = 20 + below(100);
    QPointer<QWidget> target(&window);
    const int episode = episode_;
    const auto release = [this, target, point, button, episode] {
      if (episode == episode_ && finding_.isEmpty() && target != nullptr && target->isVisible()) {
        perform({QString(buttonName(button)) + " release",
                 {},
                 [=, this] {
                   mouse(target, point, QEvent::MouseButtonRelease, button, Qt::NoModifier);
                 }},
                false);
      }
    };
    return {
        QString::asprintf("%s press at %s with the popup open, released after %d ms",
                          buttonName(button), qPrintable(where(window, point, under)), releaseMs),
        button == Qt::LeftButton ? effectOfClick(under) : Effect{},
        [this, target, point, button, releaseMs, release] {
          mouse(target, point, QEvent::MouseButtonPress, button, Qt::NoModifier);
          QTimer::singleShot(releaseMs, this, release);
        },
        releaseMs + 1};
  }

  // The window's close command, as from its title bar.
  Action closeCommand(Form& window) {
    QPointer<QWindow> handle(window.windowHandle());
    return {"close command on " + window.objectName(), {false, &window == main_}, [handle] {
              if (handle != nullptr) {
                handle->close();
              }
            }};
  }

  // Key strokes to a window's focus (or to the popup); the rest is dropped once it is hidden.
  Action keys(QWidget& window, std::vector<const KeyStroke*> strokes) {
    QWidget* focus = window.focusWidget() != nullptr ? window.focusWidget() : &window;
    const Qt::Key key = strokes.front()->key;
    const bool clicks = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    QString description = strokes.front()->name;
    for (std::size_t i = 1; i < strokes.size(); ++i) {
      description += QString(", ") + strokes[i]->name;
    }
    QPointer<QWidget> target(&window);
    return {description + " on " + nameOf(&window) + " (focus on " + nameOf(focus) + ")",
            clicks ? effectOfClick(focus) : Effect{}, [target, strokes] {
              for (const KeyStroke* stroke : strokes) {
                for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                  if (target == nullptr || !target->isVisible()) {
                    return;
                  }
                  qt_handleKeyEvent(target->windowHandle(), type, stroke->key, stroke->modifiers,
                                    QString::fromLatin1(stroke->text));
                }
              }
            }};
  }

  void mouse(const QPointer<QWidget>& window, QPoint point, QEvent::Type type,
             Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (window == nullptr || window->windowHandle() == nullptr) {
      return;
    }
    const Qt::MouseButtons state = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    // Real times: two quick presses at one spot make a double click, as they would for a user.
    qt_handleMouseEvent(window->windowHandle(), QPointF(point), window->mapToGlobal(QPointF(point)),
                        state, button, type, modifiers, static_cast<int>(clock_.elapsed()) + 1);
  }

  // --- Checks ---------------------------------------------------------------------------------

  void check(const QString& when) {
    const auto require = [&](bool holds, const QString& what) {
      if (!holds) {
        fail(what + " " + when);
      }
      return holds && finding_.isEmpty();
    };
    if (!require(messages_.shown.empty(),
                 "a message box appeared: " + QString::fromStdString(messages_.shown.empty()
                                                                         ? std::string()
                                                                         : messages_.shown[0]))) {
      return;
    }
    int loaded = 0;
    int aboutLoaded = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (const auto* form = dynamic_cast<const Form*>(widget)) {
        loaded += form->isLoaded() ? 1 : 0;
        aboutLoaded += form->isLoaded() && dynamic_cast<const frmAbout*>(form) != nullptr ? 1 : 0;
        if (!require(form->isLoaded() == form->isVisible(),
                     form->objectName() + (form->isLoaded() ? " is loaded but hidden"
                                                            : " is unloaded but still shown"))) {
          return;
        }
      }
    }
    if (!require(loaded == Form::loadedFormCount(),
                 QString::asprintf("%d windows are loaded but the count says %d", loaded,
                                   Form::loadedFormCount())) ||
        !require(aboutLoaded <= 1, QString::asprintf("%d About windows are loaded", aboutLoaded)) ||
        !require(loaded == 0 || programEnds_ == 0, "the program has ended with a window loaded") ||
        !require(loaded > 0 || programEnds_ > 0, "no window is loaded but the program goes on") ||
        main_ == nullptr) {
      return;
    }
    static const QRegularExpression result(R"(^Result: (\(not run\)|[1-9][0-9]*)$)");
    const QString caption = main_->label("Label1").text();
    if (!require(result.match(caption).hasMatch(), "Label1 reads \"" + caption + "\"") ||
        !main_->isLoaded()) {
      return;
    }
    const bool busy = main_->cursor().shape() == Qt::WaitCursor;
    const bool ticking = main_->timer("Timer1").isEnabled();
    static_cast<void>(
        require(!busy || runDepth_ > 0, "the busy pointer shows with no run in progress") &&
        require(!ticking || runDepth_ > 0, "the run timer is on with no run in progress") &&
        require(!ticking || busy, "a run is in progress without the busy pointer"));
  }

  void watch() {
    check("(periodic check)");
    const qint64 sinceEnd = clock_.elapsed() - programEndedAt_;
    if (programEndedAt_ >= 0 && runDepth_ > 0 && sinceEnd > kUnwindMs) {
      fail(QString::asprintf("a run still goes on %lld ms after the program ended", sinceEnd));
    } else if (remainingMs() < -kOverrunMs) {
      fail("the episode does not end");
    }
  }

  // Records the first finding and brings the episode to an end.
  void fail(const QString& what) {
    if (!finding_.isEmpty()) {
      return;
    }
    finding_ = QString::asprintf("at %lld ms, %d actions in: %s", clock_.elapsed(), figures_.events,
                                 qPrintable(what));
    log("FINDING: " + what);
    next_.stop();
    QTimer::singleShot(0, this, [this] {
      if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
      }
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = dynamic_cast<Form*>(widget)) {
          form->Unload();
        }
      }
      if (main_ != nullptr) {
        main_->timer("Timer1").setEnabled(false);  // a run on a window already unloaded
      }
    });
  }

  void log(const QString& what) {
    const QString line = QString::asprintf("%6lld ms%s: %s", clock_.elapsed(),
                                           runDepth_ > 0 ? " [in a run]" : "", qPrintable(what));
    if (verbose_) {
      qInfo("%s", qPrintable(line));
    }
    log_.push_back(line);
    if (log_.size() > kLogLines) {
      log_.pop_front();
    }
  }

  std::mt19937 rng_;
  qint64 budgetMs_;
  const testing::MsgBoxRecorder& messages_;
  bool verbose_ = qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_VERBOSE") != 0;
  QElapsedTimer clock_;
  QTimer next_;
  QTimer watchdog_;
  QPointer<frmMain> main_;
  Figures figures_;
  std::deque<QString> log_;
  QString finding_;
  int episode_ = 0;
  int programEnds_ = 0;
  qint64 programEndedAt_ = -1;
  int runDepth_ = 0;
  int nestedLeft_ = 0;
  bool keepARun_ = false;  // this episode keeps its first run going to its end
  bool keptRun_ = false;   // that run is in progress
  bool completedInEpisode_ = false;
};

// Drops the offscreen platform's notices about what it cannot do (raise a window, grab the
// keyboard for a popup), printed for every popup; everything else is passed on.
QtMessageHandler g_previousHandler = nullptr;
void quietOffscreenNotices(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (!message.startsWith("This plugin does not support")) {
    g_previousHandler(type, context, message);
  }
}

}  // namespace

class ExerciseTest : public QObject {
  Q_OBJECT

 private:
  Figures total_;
  int seeds_ = 0;

  static void print(const char* what, const Figures& f) {
    qInfo("%s: %d events played, %d runs started (%d nested), %d runs completed, %d episodes", what,
          f.events, f.runsStarted, f.nestedRuns, f.runsCompleted, f.episodes);
  }

 private slots:
  void initTestCase() {
    // As in the program: it ends when no window is loaded, not when the last one is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    g_previousHandler = qInstallMessageHandler(quietOffscreenNotices);
  }

  void exercise_data() {
    QTest::addColumn<std::uint32_t>("seed");
    const QString chosen = qEnvironmentVariable("ORVENDALE_EXERCISE_SEED");
    std::vector<std::uint32_t> seeds = kSeeds;
    if (!chosen.isEmpty()) {
      seeds.clear();
      for (const QString& seed : chosen.split(',', Qt::SkipEmptyParts)) {
        seeds.push_back(seed.trimmed().toUInt());
      }
    }
    for (const std::uint32_t seed : seeds) {
      QTest::addRow("seed %u", seed) << seed;
    }
  }

  void exercise() {
    QFETCH(std::uint32_t, seed);
    const qint64 seconds = qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_SECONDS");
    testing::MsgBoxRecorder messages;
    Exerciser exerciser(seed, 1000 * (seconds > 0 ? seconds : 22), messages);
    const QString finding = exerciser.play();
    const Figures& f = exerciser.figures();
    print(qPrintable(QString::asprintf("seed %u, %.1f s", seed, exerciser.elapsedMs() / 1000.0)),
          f);
    total_ = {total_.events + f.events, total_.runsStarted + f.runsStarted,
              total_.nestedRuns + f.nestedRuns, total_.runsCompleted + f.runsCompleted,
              total_.episodes + f.episodes};
    ++seeds_;
    QVERIFY2(finding.isEmpty(),
             qPrintable(QString::asprintf("seed %u (replay with ORVENDALE_EXERCISE_SEED=%u): %s",
                                          seed, seed, qPrintable(finding))));
  }

  void cleanupTestCase() { print(qPrintable(QString::asprintf("%d seeds", seeds_)), total_); }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::ExerciseTest)
#include "exercise_test.moc"
