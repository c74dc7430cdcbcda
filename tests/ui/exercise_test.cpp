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
#include <random>

#include "runtime/msgbox.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

using namespace orvendale::ui;

// An action: how often it is tried; if while a run is kept (0 no, 1 yes, 2 on About, 3 also to
// start it); if once time is up; where it aims; its button (none: any) or keys ("a key": one).
const std::tuple<int, int, bool, std::string_view, Qt::MouseButton, QKeySequence> kRows[] = {
    {30, 0, false, "anywhere", Qt::NoButton, {}},
    {15, 3, false, "Command1", Qt::LeftButton, {}},      // Run Benchmark, or About's Close
    {3, 2, true, "Command2", Qt::LeftButton, {}},        // Exit, or About's Close
    {10, 1, false, "the surface", Qt::RightButton, {}},  // opens the popup
    {8, 1, false, "the popup: About...", Qt::LeftButton, {}},
    {3, 2, true, "the close box", Qt::NoButton, {}},
    {25, 0, false, "a key", {}, {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space}},
    {5, 1, true, "the focus", Qt::NoButton, {Qt::Key_Escape}}};
const QRegularExpression kResult(R"(^Result: (\(not run\)|[1-9][0-9]*)$)");

std::vector<Form*> forms(bool shownOnly = false) {
  std::vector<Form*> found;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* f = dynamic_cast<Form*>(w); f && (f->isVisible() || !shownOnly))
      found.push_back(f);
  return found;
}

class Player : public QObject {
 public:
  explicit Player(qint64 budgetMs) : budgetMs_(budgetMs) {
    watchdog_.callOnTimeout(this, [this] { check("(periodic check)"); });
    Form::setProgramEndHandler([this] { endedAt_ = log(QString("program end %1").arg(++ends_)); });
    orvendale::setMsgBoxHandler([this](auto m) { fail("message box: " + QString::fromUtf8(m)); });
  }
  void play(std::uint32_t seed) {
    qInfo("seed %u", seed_ = seed);  // before it plays, for a crash
    rng_.seed(seed);
    actions_ = runs_ = completed_ = 0;
    for (clock_.start(), watchdog_.start(250); budgetMs_ - clock_.elapsed() > 1000;)
      episode();
    qInfo("%d actions, %d runs started, %d run to their end", actions_, runs_, completed_);
  }

 private:
  int below(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint inside(const QRect& r) { return {r.x() + below(r.width()), r.y() + below(r.height())}; }
  bool fits(qint64 ms = 11'500) const { return budgetMs_ - clock_.elapsed() > ms; }  // a run
  void episode() {
    ends_ = depth_ = 0;
    endedAt_ = qint64(1) << 40;  // not yet
    calm_ = fits() && (below(10) < 4 || (completed_ == 0 && !fits(23'000)));
    log(QString("episode %1%2").arg(++episode_).arg(calm_ ? ", keeping a run to its end" : ""));
    frmMain* main = main_ = &frmMain::defaultInstance();
    // A click on Run Benchmark releases the button before the run, and reports the click after.
    connect(&main->button("Command1"), &CommandButton::released, this, [&] { ++runs_, ++depth_; });
    connect(&main->button("Command1"), &CommandButton::clicked, this, [this, main] {
      completed_ += --depth_ == 0 && main->engine().intTicks() == 100 ? 1 : 0;
      calm_ = calm_ && depth_ > 0;
    });
    main->Show();
    const bool exposed = QTest::qWaitForWindowExposed(main);
    QTimer::singleShot(0, this, [this, e = episode_] { step(e); });
    const bool ended = QTest::qWaitFor([] { return Form::loadedFormCount() == 0; }, 1 << 30);
    if (!exposed || !ended || ends_ != 1 || !forms().empty())
      fail(QString::asprintf("ended %d times, %zu windows left, shown %d", ends_, forms().size(),
                             exposed));
  }
  // Plays a row on a shown window, or tries another; the next step is due first (a run blocks).
  void step(int episode) {
    check("after the last action");
    const std::vector<Form*> shown = forms(true);
    if (episode != episode_ || shown.empty())
      return;
    Form& form = *shown[below(shown.size())];
    const auto& [weight, calm, closes, aim, button, keys] = kRows[below(std::size(kRows))];
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    calm_ = calm_ && (depth_ > 0 || fits());
    const bool onMain = &form == main_.data(), late = clock_.elapsed() >= budgetMs_;
    if (below(30) >= weight || (aim.starts_with("the popup") && !popup) || (late && !closes) ||
        (aim == "the close box" && popup) || (onMain && aim == "Command1" && depth_ > 2) ||
        (calm_ && calm != 1 && !(calm > 1 && !onMain) && !(calm == 3 && depth_ == 0))) {
      return step(episode);
    }
    QWidget* window = aim == "the popup: About..." ? static_cast<QWidget*>(popup) : &form;
    QPoint at =
        inside(window == popup              ? popup->actionGeometry(popup->actions()[0])
               : aim.starts_with("Command") ? form.button(onMain ? aim : "Command1").geometry()
                                            : form.rect());
    for (int i = 0; i < 50 && aim == "the surface" && form.childAt(at) != nullptr; ++i)
      at = inside(form.rect());
    const auto mouse = aim == "anywhere" ? Qt::MouseButton(1 << below(3)) : button;
    const Qt::Key key = keys[aim == "a key" ? below(depth_ > 2 ? 2 : 4) : 0].key();  // or none
    // Released at once, but later when the press closes the popup and Qt passes it on.
    const int hold = popup && !popup->geometry().contains(window->mapToGlobal(at)) ? below(120) : 0;
    const QString what = QString::asprintf("%s: button %d, key '%s', on %s", aim.data(), int(mouse),
                                           qPrintable(QKeySequence(key).toString()),
                                           qPrintable(window->objectName()));
    log(QString("action %1, ").arg(++actions_) + what);
    QTimer::singleShot(
        std::max(below(10) < 9 ? below(below(10) < 6 ? 40 : 400) : 400 + below(1600), hold + 1),
        Qt::PreciseTimer, this, [this, episode] { step(episode); });
    if (aim == "the close box")
      form.windowHandle()->close();
    const QPointer<QWidget> target(window);  // which the action may close and destroy
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease})
      if (key != 0 && target != nullptr && target->isVisible())
        qt_handleKeyEvent(target->windowHandle(), type, key, Qt::NoModifier);
    // Real times, as a user's: two quick presses at one spot make a double click.
    const auto send = [=, this](QEvent::Type type, Qt::MouseButtons state) {
      if (target != nullptr && target->isVisible())
        qt_handleMouseEvent(target->windowHandle(), at, target->mapToGlobal(at), state, mouse, type,
                            Qt::NoModifier, static_cast<int>(clock_.elapsed()) + 1);
    };
    if (mouse != Qt::NoButton) {
      send(QEvent::MouseButtonPress, mouse);
      const auto release = [send] { send(QEvent::MouseButtonRelease, Qt::NoButton); };
      hold == 0 ? release() : QTimer::singleShot(hold, this, release);
    }
    check("after " + what);
  }
  void check(const QString& when) {
    const int shown = static_cast<int>(forms(true).size()), loaded = Form::loadedFormCount();
    const QString caption = main_ != nullptr ? main_->label("Label1").text() : "Result: 1";
    const std::pair<bool, QString> rules[] = {
        {loaded != shown, QString("%1 windows are loaded but %2 shown").arg(loaded).arg(shown)},
        {shown > 2, "two About windows are open"},
        {loaded > 0 && ends_ > 0, "the program has ended with a window loaded"},
        {loaded == 0 && ends_ == 0, "no window is loaded but the program goes on"},
        {!kResult.match(caption).hasMatch(), "Label1 reads \"" + caption + "\""},
        {depth_ > 0 && clock_.elapsed() > endedAt_ + 3000, "a run goes on 3 s after the end"},
        {clock_.elapsed() > budgetMs_ + 30'000, "the seed goes on 30 s past its time"}};
    for (const auto& [broken, what] : rules)
      if (broken)
        fail(what + " " + when);
  }
  [[noreturn]] void fail(const QString& what) {
    qFatal("seed %u (replay: ORVENDALE_EXERCISE_SEED=%u), %d actions in: %s\n  %s", seed_, seed_,
           actions_, qPrintable(what), qPrintable(log_.mid(log_.size() - 40).join("\n  ")));
  }
  qint64 log(const QString& what) {
    log_.append(QString("%1 ms, %2 deep: ").arg(clock_.elapsed(), 6).arg(depth_) + what);
    if (qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_VERBOSE"))
      qInfo("%s", qPrintable(log_.last()));
    return clock_.elapsed();
  }
  std::uint32_t seed_ = 0;
  std::mt19937 rng_;
  qint64 budgetMs_, endedAt_ = 0;
  QElapsedTimer clock_;
  QTimer watchdog_;
  QPointer<frmMain> main_;
  QStringList log_;
  int actions_ = 0, runs_ = 0, completed_ = 0, episode_ = 0, ends_ = 0, depth_ = 0;
  bool calm_ = false;  // this episode keeps a run going to its end: nothing may end or restart it
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // the program ends when no window is loaded
  static const QtMessageHandler next = qInstallMessageHandler([](auto t, auto& c, auto& m) {
    if (!m.startsWith("This plugin does not support"))  // offscreen's notices, for every popup
      next(t, c, m);
  });
  Player player(1000 * qEnvironmentVariable("ORVENDALE_EXERCISE_SECONDS", "22").toInt());
  for (const QString& seed :
       qEnvironmentVariable("ORVENDALE_EXERCISE_SEED", "7,19,42,1009,65537").split(','))
    player.play(seed.trimmed().toUInt());
}
