#include <QElapsedTimer>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "popup_probe.h"
#include "support/msgbox_recorder.h"
#include "ui/frmMain.h"
#include "ui/toolkit/Units.h"

namespace orvendale::ui {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  QPointer<frmMain> window_;
  int programEnds_ = 0;

  QWidget* control(const char* name) { return window_->findChild<QWidget*>(name); }

  // A point of the window in pixels, from twips.
  static QPoint at(int xTwips, int yTwips) {
    return {pixelsFromTwips(xTwips), pixelsFromTwips(yTwips)};
  }

 private slots:
  void init() {
    Form::setProgramEndHandler([this] { ++programEnds_; });
    programEnds_ = 0;
    window_ = &frmMain::defaultInstance();
    window_->Show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }

  void cleanup() {
    if (window_ != nullptr) {
      window_->Unload();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void startsAsDescribed() {
    QCOMPARE(window_->windowTitle(), QString("Quillomar CPU Orvendale"));
    QCOMPARE(window_->size(), QSize(312, 213));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());  // cannot be resized
    // What the user sees, title bar included, is centred on the screen.
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QTRY_VERIFY((window_->frameGeometry().center() - screenCentre).manhattanLength() <= 2);
    QVERIFY(window_->findChild<QMenuBar*>() == nullptr);
    QCOMPARE(window_->label("Label1").text(), QString("Result: (not run)"));
    QVERIFY(!control("Text2")->isVisible());
    QVERIFY(!window_->timer("Timer1").isEnabled());
    for (const ControlDescription& c : frmMain::description().controls) {
      if (c.kind != ControlKind::Timer) {
        QCOMPARE(control(c.name)->geometry(), pixelRect(c));
      }
    }
    // Stacking order: each control is drawn over those listed after it.
    const QStringList frontToBack{"Command2", "Text2",  "Command1", "Label4", "Label3", "Label2",
                                  "Shape3",   "Shape4", "Shape1",   "Label1", "Shape2"};
    const QObjectList children = window_->children();
    for (int i = 1; i < frontToBack.size(); ++i) {
      QVERIFY2(children.indexOf(control(qPrintable(frontToBack[i]))) <
                   children.indexOf(control(qPrintable(frontToBack[i - 1]))),
               qPrintable(frontToBack[i]));
    }
  }

  void rendersTheDescribedColours() {
    const QImage image = window_->grab().toImage();
    struct Probe {
      const char* what;
      QPoint point;
      QColor colour;
    };
    const Probe probes[] = {
        {"window background", at(150, 2300), QColor(0, 0, 128)},
        {"Shape1 red", at(270, 150), QColor(255, 0, 0)},
        {"Shape2 orange below Shape1", at(525, 1050), QColor(255, 128, 0)},
        {"Shape3 light yellow", at(1230, 1350), QColor(255, 255, 128)},
        {"Shape4 green right of the title", at(4350, 630), QColor(0, 255, 0)},
        {"Label1 opaque navy over Shape2's area", at(1110, 1470), QColor(0, 0, 128)},
        {"Command1 face", at(600, 2600), QColor(128, 128, 255)},
        {"Command2 face", at(3780, 2580), QColor(128, 128, 255)},
    };
    for (const Probe& p : probes) {
      QCOMPARE(QColor(image.pixel(p.point)), p.colour);
    }
    // The title's yellow letters lie over the rectangles.
    bool yellow = false;
    for (int x = 0; x < image.width() && !yellow; ++x) {
      for (int y = 8; y < 60 && !yellow; ++y) {
        yellow = QColor(image.pixel(x, y)) == QColor(255, 255, 0);
      }
    }
    QVERIFY(yellow);
  }

  void focusStartsOnRunBenchmark() {
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QCOMPARE(QApplication::focusWidget(), control("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("Command2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control("Command1"));
  }

  void popupOnlyOnRightPressOverTheSurface_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");
    const int right = Qt::RightButton;
    QTest::newRow("right on bare surface") << "" << at(150, 2300) << right << 0 << true;
    QTest::newRow("right with Shift")
        << "" << at(150, 2300) << right << int(Qt::ShiftModifier) << true;
    QTest::newRow("right with Ctrl")
        << "" << at(150, 2300) << right << int(Qt::ControlModifier) << true;
    QTest::newRow("right on a rectangle") << "" << at(270, 150) << right << 0 << true;
    QTest::newRow("right over the hidden text box") << "" << at(4600, 2000) << right << 0 << true;
    QTest::newRow("left") << "" << at(150, 2300) << int(Qt::LeftButton) << 0 << false;
    QTest::newRow("middle") << "" << at(150, 2300) << int(Qt::MiddleButton) << 0 << false;
    QTest::newRow("right on a label") << "Label1" << QPoint(5, 5) << right << 0 << false;
    QTest::newRow("right on a button") << "Command2" << QPoint(5, 5) << right << 0 << false;
  }

  void popupOnlyOnRightPressOverTheSurface() {
    QFETCH(QString, target);
    QFETCH(QPoint, point);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    QWidget* widget = target.isEmpty() ? window_.data() : control(qPrintable(target));
    testing::PopupProbe probe;
    probe.press(widget, point, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(probe.opened, opens);
    if (opens) {
      QCOMPARE(probe.items, QStringList{"About..."});
    }
  }

  void exitOrCloseBoxDuringARunEndsTheRunAndTheProgram_data() {
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Exit") << false;
    QTest::newRow("close box") << true;
  }

  void exitOrCloseBoxDuringARunEndsTheRunAndTheProgram() {
    QFETCH(bool, closeBox);
    testing::MsgBoxRecorder messages;
    QTimer::singleShot(300, window_, [this, closeBox] {
      if (closeBox) {
        window_->close();
      } else {
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
      }
    });
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(control("Command1"), Qt::LeftButton);  // returns when the run is over
    QVERIFY(elapsed.elapsed() < 2000);
    QCOMPARE(programEnds_, 1);
    QCOMPARE(Form::loadedFormCount(), 0);
    QVERIFY(messages.shown.empty());
    QVERIFY(window_ != nullptr && !window_->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window_ == nullptr);  // destroyed once the run had unwound
  }

  void defaultInstanceIsOnePerLoad() {
    QCOMPARE(&frmMain::defaultInstance(), window_.data());
    window_->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window_ == nullptr);
    window_ = &frmMain::defaultInstance();  // loads a fresh window
    QCOMPARE(window_->label("Label1").text(), QString("Result: (not run)"));
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::MainWindowTest)
#include "main_window_test.moc"
