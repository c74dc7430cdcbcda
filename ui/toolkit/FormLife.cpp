// A form's life: built and loaded, shown at its start position, unloaded, and the end of the
// program when no form is loaded any more.
#include <QApplication>
#include <QCloseEvent>
#include <QMoveEvent>
#include <QScreen>
#include <utility>

#include "ui/toolkit/Form.h"

namespace orvendale::ui {

namespace {
// What ends the program when the last form is unloaded. The application object owns it, so a
// replacement lives as long as the application it was set for.
class ProgramEnd final : public QObject {
 public:
  ProgramEnd(QObject* application, std::function<void()> end)
      : QObject(application), end(std::move(end)) {}

  std::function<void()> end;
};

ProgramEnd* installedProgramEnd() {
  for (QObject* child : QCoreApplication::instance()->children()) {
    if (auto* found = dynamic_cast<ProgramEnd*>(child)) {
      return found;
    }
  }
  return nullptr;
}
}  // namespace

Form::Form(const WindowDescription& description)
    : description_(description), controls_(*this, description) {}

int Form::loadedFormCount() {
  int count = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    const auto* form = dynamic_cast<const Form*>(window);
    count += form != nullptr && form->isLoaded() ? 1 : 0;
  }
  return count;
}

void Form::setProgramEndHandler(std::function<void()> handler) {
  delete installedProgramEnd();
  new ProgramEnd(QCoreApplication::instance(), std::move(handler));
}

void Form::Show(const QWidget* owner) {
  if (!shownBefore_) {
    shownBefore_ = true;
    const bool onOwner = description_.startPosition == StartPosition::CenterOwner &&
                         owner != nullptr && owner->isVisible();
    if (onOwner) {
      frameCentrePending_ = owner->frameGeometry().center();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      frameCentrePending_ = screen->availableGeometry().center();
    }
    if (frameCentrePending_) {
      centreFrameOn(*frameCentrePending_);
    }
  }
  show();
}

void Form::centreFrameOn(QPoint centre) {
  QRect frame = frameGeometry();  // the client area alone while no frame is known
  frame.moveCenter(centre);
  move(frame.topLeft());  // a top-level window's position is its frame's
}

// A window manager adds the frame after the window is shown, and the window system then reports
// the window moved: centre again, now with the frame.
void Form::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (frameCentrePending_ && frameGeometry().size() != size()) {
    const QPoint centre = *frameCentrePending_;
    frameCentrePending_.reset();
    centreFrameOn(centre);
  }
}

void Form::Unload() {
  if (!loaded_) {
    return;
  }
  loaded_ = false;
  controls_.disableTimers();
  hide();
  destroyWhenIdle();
  if (loadedFormCount() != 0) {
    return;
  }
  const ProgramEnd* programEnd = installedProgramEnd();
  if (programEnd == nullptr) {
    QCoreApplication::exit(0);
    return;
  }
  const std::function<void()> end = programEnd->end;  // which may replace itself
  if (end) {
    end();
  }
}

void Form::destroyWhenIdle() {
  if (!loaded_ && runningHandlers_ == 0) {
    deleteLater();
  }
}

void Form::closeEvent(QCloseEvent* event) {
  event->accept();
  Unload();
}

}  // namespace orvendale::ui
