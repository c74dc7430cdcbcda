#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "platform/version/VersionRecord.h"
#include "popup_probe.h"
#include "runtime/errors.h"
#include "support/error_code.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace orvendale::ui {

namespace {
// The entries `readelf -p orvendale_version` shows for an executable.
std::map<std::string, std::string> readelfRecord(const QString& executable) {
  QProcess readelf;
  readelf.start("readelf", {"-p", "orvendale_version", executable});
  readelf.waitForFinished();
  std::map<std::string, std::string> entries;
  const QRegularExpression line(R"(^\s*\[\s*[0-9a-f]+\]\s+([^=]+)=(.*)$)");
  for (const QString& text : QString::fromUtf8(readelf.readAllStandardOutput()).split('\n')) {
    const auto match = line.match(text);
    if (match.hasMatch()) {
      entries[match.captured(1).toStdString()] = match.captured(2).toStdString();
    }
  }
  return entries;
}

int loadedAboutWindows() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const auto* about = dynamic_cast<frmAbout*>(widget);
    count += (about != nullptr && about->isLoaded()) ? 1 : 0;
  }
  return count;
}

const QString kCaption = "About Orvendale   1.0.5";
}  // namespace

class AboutWindowTest : public QObject {
  Q_OBJECT

 private:
  QPointer<frmMain> main_;
  int programEnds_ = 0;

  void chooseAbout() {
    testing::PopupProbe probe;
    probe.press(main_, QPoint(10, 150), Qt::RightButton, {}, /*choose=*/true);
    QVERIFY(probe.opened);
  }

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

  void aboutShowsTheRecordThroughApp() {
    chooseAbout();
    frmAbout& about = frmAbout::defaultInstance();
    QVERIFY(about.isVisible());
    QCOMPARE(about.windowTitle(), kCaption);
    const QString content = about.label("lblContent").text();
    QVERIFY(
        content.startsWith("This program can test the calculation preformance of you CPU.\n\n"));
    QCOMPARE(content.toStdString(),
             platform::App.Comments() + "\n\n" + platform::App.FileDescription());
    QVERIFY(!content.contains('\r'));
    QCOMPARE(about.size(), QSize(319, 287));
    QVERIFY(about.parentWidget() == nullptr);  // modeless, without an owner
    // Its frame centred on the main window's.
    QTRY_VERIFY(
        (about.frameGeometry().center() - main_->frameGeometry().center()).manhattanLength() <= 2);
  }

  void aboutTwiceGivesOneWindowAndCloseOrEscapeThenAboutAgainShowsItAgain() {
    chooseAbout();
    chooseAbout();
    QCOMPARE(loadedAboutWindows(), 1);
    QTest::mouseClick(&frmAbout::defaultInstance().button("Command1"), Qt::LeftButton);
    QCOMPARE(loadedAboutWindows(), 0);
    QCOMPARE(programEnds_, 0);  // the main window is still loaded
    chooseAbout();
    QCOMPARE(loadedAboutWindows(), 1);
    QCOMPARE(frmAbout::defaultInstance().windowTitle(), kCaption);
    QTest::keyClick(&frmAbout::defaultInstance(), Qt::Key_Escape);
    QCOMPARE(loadedAboutWindows(), 0);
  }

  void exitLeavesAboutOpenAndClosingItEndsTheProgram() {
    chooseAbout();
    QTest::mouseClick(main_->findChild<QWidget*>("Command2"), Qt::LeftButton);
    QCOMPARE(programEnds_, 0);
    QVERIFY(frmAbout::defaultInstance().isVisible());
    QTest::mouseClick(&frmAbout::defaultInstance().button("Command1"), Qt::LeftButton);
    QCOMPARE(programEnds_, 1);
    QCOMPARE(Form::loadedFormCount(), 0);
  }

  void readelfShowsTheRecordAppReads() {
    const auto mine = readelfRecord(QCoreApplication::applicationFilePath());
    const auto program = readelfRecord(ORVENDALE_EXECUTABLE);
    QCOMPARE(mine.size(), platform::VersionRecord::embedded().entries().size());
    for (const auto& [key, value] : platform::VersionRecord::embedded().entries()) {
      QCOMPARE(mine.at(key), value);
    }
    QCOMPARE(program, mine);
    QCOMPARE(program.at("fixed.FileVersion"), std::string("1.0.0.5"));
    QCOMPARE(program.at("StringTable"), std::string("040404B0"));
  }

  void versionFields_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("major") << "1.0.0.5" << 0 << 1 << 0;
    QTest::newRow("minor") << "1.0.0.5" << 1 << 0 << 0;
    QTest::newRow("revision is the fourth field") << "1.0.0.5" << 3 << 5 << 0;
    QTest::newRow("too large for 16 bits") << "1.40000" << 1 << 0 << int(kOverflow);
    QTest::newRow("missing field") << "1.0" << 3 << 0 << int(kInvalidArgument);
    QTest::newRow("not a number") << "1.x" << 1 << 0 << int(kInvalidArgument);
  }

  void versionFields() {
    QFETCH(QString, version);
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(int, error);
    const std::string bytes = "fixed.FileVersion=" + version.toStdString() + '\0';
    const platform::VersionRecord record = platform::VersionRecord::parse(bytes);
    int field = 0;
    QCOMPARE(testing::errorCodeOf([&] { field = record.versionField("fixed.FileVersion", index); }),
             error);
    QCOMPARE(field, value);
  }
};

}  // namespace orvendale::ui

QTEST_MAIN(orvendale::ui::AboutWindowTest)
#include "about_window_test.moc"
