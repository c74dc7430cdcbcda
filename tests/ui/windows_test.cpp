// The windows as the user sees and drives them, and the icon file.
#include <dlfcn.h>

#include <QElapsedTimer>
#include <QImageReader>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <atomic>
#include <functional>
#include <thread>

#include "platform/EventGate.h"
#include "popup_probe.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"
#include "ui/icons/ProgramIcon.h"

namespace orvendale::ui {
namespace {

const QPoint kBareSurface(10, 150);  // of the main window: no control there

// A click on a widget the way a platform plugin reports a user's click: queued for the next
// event pump, from any thread (X11's events come from a reader thread of their own). QTest's
// clicks are delivered at once, bypassing that queue.
std::function<void()> clickToQueue(QWidget& widget) {
  using HandleMouse =
      bool (*)(QWindow*, const QPointF&, const QPointF&, Qt::MouseButtons, Qt::MouseButton,
               QEvent::Type, Qt::KeyboardModifiers, Qt::MouseEventSource);
  static const auto handleMouse = reinterpret_cast<HandleMouse>(
      dlsym(RTLD_DEFAULT,
            "_ZN22QWindowSystemInterface16handleMouseEventINS_20AsynchronousDeliveryEEEbP7QWindowRK"
            "7QPointFS6_6QFlagsIN2Qt11MouseButtonEES9_N6QEvent4TypeES7_INS8_"
            "16KeyboardModifierEENS8_16MouseEventSourceE"));
  if (handleMouse == nullptr) {
    qFatal("Qt's window-system input queue is not available");
  }
  const QPoint centre = widget.rect().center();
  const QPointF local = widget.mapTo(widget.window(), centre);
  const QPointF global = widget.mapToGlobal(centre);
  QWindow* window = widget.window()->windowHandle();
  return [=] {
    handleMouse(window, local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress, {},
                Qt::MouseEventNotSynthesized);
    handleMouse(window, local, global, {}, Qt::LeftButton, QEvent::MouseButtonRelease, {},
                Qt::MouseEventNotSynthesized);
  };
}

}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

  QPointer<frmMain> main_;
  int programEnds_ = 0;

 private slots:
  void init() {
    programEnds_ = 0;
    Form::setProgramEndHandler([this] { ++programEnds_; });
    main_ = &frmMain::defaultInstance();
    main_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(main_));
  }

  void cleanup() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* form = dynamic_cast<Form*>(widget)) {
        form->Unload();
      }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void mainWindowStartsCentredAndStaysWhereItIsMoved() {
    QCOMPARE(main_->label("Label2").font().pixelSize(), 37);  // 27.75 points
    // Centred is what the user sees, title bar included, once the window manager has framed it.
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QTRY_VERIFY(main_->frameGeometry() != main_->geometry());
    QTRY_VERIFY((main_->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    main_->move(40, 30);
    QTest::qWait(300);
    QVERIFY2(main_->frameGeometry().topLeft() == QPoint(40, 30), "the moved window snapped back");
  }

  void popupOpensOnARightPressOnlyAndDismissingItChoosesNothing() {
    struct PressCase {
      Qt::MouseButton button;
      QStringList items;  // of the popup it opens
    };
    const PressCase cases[] = {
        {.button = Qt::LeftButton, .items = {}},
        {.button = Qt::MiddleButton, .items = {}},  // catches middle-button-code
        {.button = Qt::RightButton, .items = {"About..."}},
    };
    for (const PressCase& press : cases) {
      testing::PopupProbe probe;
      probe.press(main_, kBareSurface, press.button);
      QCOMPARE(probe.items, press.items);
    }
    QCOMPARE(Form::loadedFormCount(), 1);
  }

  // Queued 330 ms into the run, from another thread: the pump right after handles it, not the
  // one at the next tick, 70 ms later.
  void exitClickedDuringARunEndsTheRunAndTheProgram() {
    QCOMPARE(QByteArray(platform::eventPumpKind()), QByteArray("gated"));  // this platform's too
    QElapsedTimer elapsed;
    elapsed.start();
    std::atomic<qint64> queuedAt{0};
    std::thread reader([&, click = clickToQueue(main_->button("Command2"))] {
      std::this_thread::sleep_for(std::chrono::milliseconds(330));
      queuedAt = elapsed.elapsed();
      click();
    });
    QTest::mouseClick(&main_->button("Command1"), Qt::LeftButton);  // returns when the run ends
    reader.join();
    qInfo("timing: Exit queued to the run's end, ms: %lld (limit 35)",
          elapsed.elapsed() - queuedAt);
    QVERIFY2(elapsed.elapsed() - queuedAt < 35, "the click on Exit waited for a tick");
    QCOMPARE(programEnds_, 1);
    QVERIFY2(main_ != nullptr && !main_->isVisible(), "unloaded, yet shown or already destroyed");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(main_ == nullptr, "not destroyed once the run had unwound");
  }

  void aboutShowsTheVersionOnTheMainWindowOutlivesExitAndEscClosesIt() {
    testing::PopupProbe().press(main_, kBareSurface, Qt::RightButton, /*choose=*/true);
    frmAbout& about = frmAbout::defaultInstance();
    QCOMPARE(about.windowTitle(), QString("About Orvendale   " ORVENDALE_PACKAGE_VERSION));
    QTRY_VERIFY(
        (about.frameGeometry().center() - main_->frameGeometry().center()).manhattanLength() <= 2);
    QTest::mouseClick(&main_->button("Command2"), Qt::LeftButton);
    QVERIFY2(programEnds_ == 0, "Exit ended the program with About still loaded");
    QTest::keyClick(&about, Qt::Key_Escape);
    QCOMPARE(programEnds_, 1);
  }

  // Only the Windows resource script reads the icon file, so no build would notice it wrong.
  void windowsIconHoldsTheProgramsImages() {
    QImageReader ico(ORVENDALE_ICO);
    for (const int size : {32, 16}) {
      QCOMPARE(ico.read().convertToFormat(QImage::Format_ARGB32_Premultiplied),
               programIcon().pixmap(size).toImage().convertToFormat(
                   QImage::Format_ARGB32_Premultiplied));
      ico.jumpToNextImage();
    }
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::WindowsTest)
#include "windows_test.moc"
