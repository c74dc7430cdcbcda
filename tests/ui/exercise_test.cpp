// Plays seeded random user actions on both windows before, during and between benchmark runs,
// nested runs included, through the window system layer (an open popup takes them), and checks
// after each that the program is sound; a finding stops it with the seed and the last actions.
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

// How often an action is tried; if while a run is kept to its end (1; 2: on About; 3: also to
// start it); if once time is up; where it aims; its button (none: any) or keys ("a key": one).
const std::tuple<int, int, bool, std::string_view, Qt::MouseButton, QKeySequence> kRows[] = {
    {30, 0, false, "anywhere", Qt::NoButton, {}},
    {15, 3, false, "Command1", Qt::LeftButton, {}},      // Run Benchmark, or About's Close
    {3, 2, true, "Command2", Qt::LeftButton, {}},        // Exit, or About's Close
    {10, 1, false, "the surface", Qt::RightButton, {}},  // opens the popup
    {8, 1, false, "the popup: About...", Qt::LeftButton, {}},
    {3, 2, true, "the close box", Qt::NoButton, {}},
    {25, 0, false, "a key", {}, {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space}},
    {5, 1, true, "the focus", Qt::NoButton, {Qt::Key_Escape}},
    {5, 1, false, "the popup: keys", Qt::NoButton, {Qt::Key_Down, Qt::Key_Return}}};
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
    orvendale::setMsgBoxHandler(
        [this](std::string_view m) { fail("message box: " + QString::fromUtf8(m)); });
  }
  void play(std::uint32_t seed) {
    rng_.seed(seed_ = seed);
    actions_ = runs_ = completed_ = 0;
    for (clock_.start(), watchdog_.start(250); budgetMs_ - clock_.elapsed() > 1000;)
      episode();
    qInfo("seed %u: %d actions, %d runs started, %d completed in %.1f s", seed, actions_, runs_,
          completed_, clock_.elapsed() / 1000.0);
  }

 private:
  int below(std::size_t n) { return static_cast<int>(rng_() % n); }
  QPoint inside(const QRect& r) { return {r.x() + below(r.width()), r.y() + below(r.height())}; }
  bool fullRunFits() const { return budgetMs_ - clock_.elapsed() > 11'500; }  // with a margin
  void episode() {
    ends_ = depth_ = 0;
    endedAt_ = qint64(1) << 40;  // not yet
    calm_ = fullRunFits() &&
            (below(10) < 4 || (completed_ == 0 && budgetMs_ - clock_.elapsed() < 23'000));
    log(QString("episode %1%2").arg(++episode_).arg(calm_ ? ", keeping a run to its end" : ""));
    frmMain* main = main_ = &frmMain::defaultInstance();
    // A click on Run Benchmark releases the button before the run, and reports the click after.
    connect(&main->button("Command1"), &QAbstractButton::released, this,
            [this] { ++runs_, ++depth_; });
    connect(&main->button("Command1"), &QAbstractButton::clicked, this, [this, main] {
      completed_ += --depth_ == 0 && main->engine().intTicks() == 100 ? 1 : 0;
      calm_ = calm_ && depth_ > 0;
    });
    main->Show();
    if (!QTest::qWaitForWindowExposed(main))
      fail("the main window was not shown");
    QTimer::singleShot(0, this, [this, e = episode_] { step(e); });
    const bool ended = QTest::qWaitFor([] { return Form::loadedFormCount() == 0; }, 1 << 30);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!ended || ends_ != 1 || !forms().empty())
      fail(QString("the program ended %1 times, left %2 windows").arg(ends_).arg(forms().size()));
  }
  // Plays a row on a shown window, or tries another; schedules the next step first, for a run.
  void step(int episode) {
    check("before the next action");
    const std::vector<Form*> shown = forms(true);
    if (episode != episode_ || shown.empty())
      return;
    Form& form = *shown[below(shown.size())];
    const auto& [weight, calm, closes, aim, button, keys] = kRows[below(9)];
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    calm_ = calm_ && (depth_ > 0 || fullRunFits());
    const bool onMain = &form == main_.data(), late = clock_.elapsed() >= budgetMs_;
    if (below(30) >= weight || (aim.starts_with("the popup") && !popup) || (late && !closes) ||
        (aim == "the close box" && popup) || (onMain && aim == "Command1" && depth_ > 2) ||
        (calm_ && calm != 1 && !(calm > 1 && !onMain) && !(calm == 3 && depth_ == 0))) {
      return step(episode);
    }
    QWidget* window = aim == "the popup: About..." ? static_cast<QWidget*>(popup) : &form;
    QPoint at =
        inside(window == popup              ? popup->actionGeometry(popup->actions().first())
               : aim.starts_with("Command") ? form.button(onMain ? aim : "Command1").geometry()
                                            : form.rect());
    for (int i = 0; i < 50 && aim == "the surface" && form.childAt(at) != nullptr; ++i)
      at = inside(form.rect());
    const auto mouse = aim == "anywhere" ? Qt::MouseButton(1 << below(3)) : button;
    const QKeySequence key = aim == "a key" ? QKeySequence(keys[below(depth_ > 2 ? 2 : 4)]) : keys;
    const int hold = below(120);
    const QString what = QString::asprintf(
        "%s: button %d, keys '%s', on %s", aim.data(), int(mouse), qPrintable(key.toString()),
        window == popup ? "the popup" : qPrintable(form.objectName()));
    log(QString("action %1, ").arg(++actions_) + what);
    QTimer::singleShot(
        std::max(below(10) < 9 ? below(below(10) < 6 ? 40 : 400) : 400 + below(1600), hold + 1),
        Qt::PreciseTimer, this, [this, episode] { step(episode); });
    if (aim == "the close box")
      form.windowHandle()->close();
    for (int i = 0; i < key.count(); ++i)
      QTest::keyClick(window->windowHandle(), key[i].key());
    if (mouse != Qt::NoButton) {  // a press, released a little later as by a hand
      QTest::mousePress(window->windowHandle(), mouse, {}, at);
      QTimer::singleShot(hold, window,
                         [=] { QTest::mouseRelease(window->windowHandle(), mouse, {}, at); });
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
    log_.append(
        QString::asprintf("%6lld ms, %d deep: %s", clock_.elapsed(), depth_, qPrintable(what)));
    if (qEnvironmentVariableIntValue("ORVENDALE_EXERCISE_VERBOSE"))
      qInfo("%s", qPrintable(log_.last()));
    return clock_.elapsed();
  }
  std::uint32_t seed_ = 0;
  std::mt19937 rng_;
  const qint64 budgetMs_;
  qint64 endedAt_ = 0;
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
  static const QtMessageHandler next = qInstallMessageHandler(  // offscreen's notice on popups
      [](QtMsgType t, const QMessageLogContext& c, const QString& m) {
        if (!m.startsWith("This plugin does not support"))
          next(t, c, m);
      });
  Player player(1000 * qEnvironmentVariable("ORVENDALE_EXERCISE_SECONDS", "22").toInt());
  for (const QString& seed :
       qEnvironmentVariable("ORVENDALE_EXERCISE_SEED", "7,19,42,1009,65537").split(','))
    player.play(seed.trimmed().toUInt());
}
