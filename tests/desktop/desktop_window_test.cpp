// The main window offscreen: its menu, the whole Open road through the real dialogs,
// the chart's pixels, and the two ways of closing it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "app/window_commands.h"
#include "front/desktop/about_box.h"
#include "front/desktop/command_line.h"
#include "front/desktop/entry_dialog.h"
#include "front/desktop/main_window.h"
#include "tests/desktop/qt_test_support.h"
#include "ui/version.h"

namespace pellum {
namespace {

using testing::ModalAnswers;
using testing::TempFolder;
using testing::TestApplication;
using testing::TypeFileName;
using testing::WaitFor;

const char* const kListing =
    "Peak search of film 7\n"
    "2-Theta d(A) BG Height I%\n"
    "28.45 3.1347 12 500 100.0\n"
    "47.31 1.9198 10 310 62.0\n";
const char* const kReadings[6] = {"28.45", "47.31", "56.13", "69.14", "76.39", "88.04"};

int CountLines(const std::string& path) {
  std::ifstream in(path);
  int lines = 0;
  for (std::string line; std::getline(in, line);) {
    ++lines;
  }
  return lines;
}

// Pixels darker than mid-grey in the chart: axes, labels, markers and the curve.
int DarkPixels(const QImage& image) {
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
  }
  return dark;
}

// The answer a user gives to each window of the Open road.
ModalAnswers::Answer TypeReadings(const char* const (&readings)[6]) {
  return [&readings](QWidget* modal) {
    auto* dialog = dynamic_cast<EntryDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->objectName().toStdString();
    for (std::size_t row = 0; row < 6; ++row) {
      dialog->Field(row)->setText(readings[row]);
    }
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  };
}

ModalAnswers::Answer ChooseFile(const std::string& path) {
  return [path](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr) << modal->objectName().toStdString();
    TypeFileName(*dialog, QString::fromStdString(path));
  };
}

// Clicks "&File" the way the window system delivers a click, so that a modal window above
// can block it; says whether the menu opened, and closes it again.
bool ClickOpensFileMenu(MainWindow& window) {
  QMenuBar* bar = window.menuBar();
  const QPoint title = bar->actionGeometry(bar->actions()[0]).center();
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&window, title));
  QWidget* popup = QApplication::activePopupWidget();
  if (popup != nullptr) {
    popup->close();
  }
  return popup != nullptr;
}

// Checks a message box's caption, text and icon, and that it blocks the main window:
// a click on the menu bar opens no menu while the box is up.
ModalAnswers::Answer ExpectMessage(MainWindow& window, QString caption, QString text,
                                   QMessageBox::Icon icon) {
  return [&window, caption, text, icon](QWidget* modal) {
    auto* box = dynamic_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr) << modal->objectName().toStdString();
    EXPECT_EQ(box->windowTitle(), caption);
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->icon(), icon);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_TRUE(box->isModal());
    EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_GT(box->width(), box->fontMetrics().horizontalAdvance(caption)) << "caption cut";
    EXPECT_FALSE(ClickOpensFileMenu(window)) << "the menu opened under a message";
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  };
}

class DesktopWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    // "fitdata.txt" goes to the current folder.
    previous_ = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(folder_.Path()));
    window_ = std::make_unique<MainWindow>(Setting());
    window_->resize(800, 600);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    QDir::setCurrent(previous_);
  }

  // Where this test's windows keep their last folder.
  std::string Setting() const { return config_.File("Pellum/last-folder"); }

  QString previous_;
  TempFolder folder_;
  TempFolder config_;
  std::unique_ptr<MainWindow> window_;
};

// A window just made is never larger than its screen, nor is its minimum: on a small
// screen (or one at twice the density) the chart draws itself shrunk and the panel goes
// below or waits in the View menu.
TEST_F(DesktopWindowTest, TheWindowFitsOnTheScreen) {
  MainWindow fresh(config_.File("Pellum/fresh/last-folder"));
  fresh.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
  const QSize screen = fresh.screen()->availableGeometry().size();
  EXPECT_LE(fresh.width(), screen.width());
  EXPECT_LE(fresh.height(), screen.height())
      << "chart " << fresh.Chart()->minimumHeight() << " panel " << fresh.Panel()->isVisible()
      << " " << fresh.Panel()->height() << " menu " << fresh.menuBar()->height() << " status "
      << fresh.statusBar()->height() << " width " << screen.width();
  EXPECT_LE(fresh.minimumSizeHint().width(), screen.width());
  EXPECT_LE(fresh.minimumSizeHint().height(), screen.height());
}

TEST_F(DesktopWindowTest, MenuCarriesTheCommandsAndTheirIdentifiers) {
  EXPECT_EQ(window_->windowTitle(), "Pellum - (untitled)");
  EXPECT_FALSE(window_->windowIcon().isNull());
  QStringList found;
  for (QAction* top : window_->menuBar()->actions()) {
    found << top->text();
    for (QAction* item : top->menu()->actions()) {
      found << "  " + item->text() + " " + QString::number(item->data().toInt());
    }
  }
  // The first three keep their places and identifiers; what is new comes between them or
  // in menus of its own. The panel's toggle is no command of the shell's (0).
  EXPECT_EQ(found, QStringList({"&File",
                                "  &Open 40004",
                                "  Save Chart &As... 40008",
                                "  Save &Calibration... 40006",
                                "  Export C&IF... 40009",
                                "  &Exit 40005",
                                "&Edit",
                                "  &Copy Calibration 40007",
                                "&View",
                                "  Ca&libration Chart 40010",
                                "  C&orrection Chart 40011",
                                "   0",
                                "  &Calibration Panel 0",
                                "F&it",
                                "  &Smaller Chi-Square (the report's rule) 40012",
                                "  Straight &Line 40013",
                                "  &Quadratic 40014",
                                "  Quadratic Only If a3 Is Si&gnificant (95 %) 40015",
                                "&Help",
                                "  &About Pellum... 40001"}));
  // The click the message-box checks rely on does open the menu when nothing blocks it.
  EXPECT_TRUE(ClickOpensFileMenu(*window_));
}

TEST_F(DesktopWindowTest, AboutIsModalOverTheWindow) {
  bool seen = false;
  ModalAnswers answers;
  answers.Then([&](QWidget* modal) {
    auto* box = dynamic_cast<AboutBox*>(modal);
    ASSERT_NE(box, nullptr);
    seen = box->parentWidget() == window_.get() && box->isModal();
    QTest::mouseClick(box->OkButton(), Qt::LeftButton);
  });
  window_->Command(IDM_ABOUT);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(answers.AllUsed());
}

TEST_F(DesktopWindowTest, OpenCalibratesConvertsAndDrawsTheChart) {
  folder_.Write("film.pid", kListing);
  const QImage before = window_->Chart()->grab().toImage();

  ModalAnswers answers;
  answers.Then(TypeReadings(kReadings));
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder_.Path());
    EXPECT_EQ(dialog->selectedNameFilter(), "Listing Files (*.PID)");
    ChooseFile(folder_.File("film.pid"))(modal);
  });
  answers.Then(ExpectMessage(
      *window_, "Info",
      QString::fromStdString("Output file is saved as " + folder_.File("film.dat") +
                             "\nFit report is saved as " + folder_.File("fitdata.txt")),
      QMessageBox::Information));
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(window_->statusBar()->currentMessage().toStdString(),
            "Fit report is saved as " + folder_.File("fitdata.txt"));

  EXPECT_EQ(window_->windowTitle(), "Pellum - film.pid");
  EXPECT_EQ(CountLines(folder_.File("film.dat")), 4);
  EXPECT_EQ(CountLines(folder_.File("fitdata.txt")), 17);

  // Beside the chart, the quality of the calibration, each coefficient as value(su); Copy
  // Calibration gives it at full precision.
  const QString panel = window_->Panel()->Text();
  EXPECT_TRUE(
      panel.startsWith("Model: quadratic, by the rule chi-square\na1 = -0.0062(88)\n"
                       "a2 = 0.99998(32)\na3 = -0.0000005(27)\n"
                       "a3 significant: no (t = 0.17 < 3.18, 95 %)\n"))
      << panel.toStdString();
  EXPECT_TRUE(panel.contains("3 3 1")) << panel.toStdString();
  EXPECT_TRUE(panel.contains("3 3 1  76.3900  76.3760   76.37934  -0.00334 *\n"))
      << panel.toStdString();
  EXPECT_TRUE(panel.contains("Calibrated range: 28.45 to 88.04 degrees"));
  window_->Command(MenuCommand::CopyCalibration);
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("Model: quadratic\na1 = -0.006215050010224119\n     +/- "))
      << copied.toStdString();
  EXPECT_TRUE(copied.endsWith(panel.mid(panel.indexOf("\nhkl"))));

  // The chart now carries six markers and the curve: many more dark pixels, on white.
  ::testing::internal::CaptureStdout();
  const QImage after = window_->Chart()->grab().toImage();
  const std::string trace = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(trace.find("source:"), std::string::npos) << "every paint traces its labels";
  EXPECT_EQ(qGray(after.pixel(2, 2)), 255);
  EXPECT_GT(DarkPixels(before), 500) << "axes and labels";
  EXPECT_GT(DarkPixels(after), DarkPixels(before) + 300) << "markers and curve";

  // The next Open starts from these readings and this file; cancelling keeps the title.
  bool startedThere = false;
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<EntryDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Field(5)->text(), "88.04");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  });
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    startedThere =
        dialog->selectedFiles() == QStringList(QString::fromStdString(folder_.File("film.pid")));
    dialog->reject();
  });
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_TRUE(startedThere);
  EXPECT_EQ(window_->windowTitle(), "Pellum - film.pid");
}

TEST_F(DesktopWindowTest, FailedConversionShowsBothMessagesAndUntitled) {
  folder_.Write("film.pid", "no heading in this file\n");
  window_->State().inputTitle = "old.pid";
  ModalAnswers answers;
  answers.Then(TypeReadings(kReadings));
  answers.Then(ChooseFile(folder_.File("film.pid")));
  const QString path = QString::fromStdString(folder_.File("film.pid"));
  answers.Then(ExpectMessage(*window_, "Invalid file format!", path, QMessageBox::Critical));
  answers.Then(ExpectMessage(*window_, "Cannot open a file!", path, QMessageBox::Critical));
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(window_->windowTitle(), "Pellum - (untitled)");
  EXPECT_EQ(window_->State().inputPath, "");
}

TEST_F(DesktopWindowTest, RefusedEntriesComeBackWithTheirText) {
  static const char* const kTooLarge[6] = {"150", "47.31", "-1", "-1", "-1", "-1"};
  static const char* const kNone[6] = {"-1", "-1", "-1", "-1", "-1", "-1"};
  ModalAnswers answers;
  answers.Then(TypeReadings(kTooLarge));
  answers.Then(ExpectMessage(*window_, "Warning!", "2 theta value must be below 100.",
                             QMessageBox::Warning));
  answers.Then([](QWidget* modal) {
    auto* dialog = dynamic_cast<EntryDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Field(0)->text(), "150");
    TypeReadings(kNone)(modal);
  });
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(window_->windowTitle(), "Pellum - (untitled)");
  EXPECT_FALSE(QFile::exists("fitdata.txt"));
}

TEST_F(DesktopWindowTest, ExitAndTheCloseButtonEndTheSameWay) {
  for (bool viaMenu : {true, false}) {
    window_ = std::make_unique<MainWindow>(Setting());
    window_->show();
    window_->State().points.resize(2);
    window_->State().pointCount = 2;
    if (viaMenu) {
      window_->Command(IDM_EXIT);
    } else {
      window_->close();
    }
    EXPECT_FALSE(window_->isVisible()) << viaMenu;
    EXPECT_TRUE(window_->State().points.empty()) << viaMenu;
    EXPECT_EQ(window_->State().pointCount, 0) << viaMenu;
  }
}

TEST_F(DesktopWindowTest, UnknownCommandsChangeNothing) {
  for (int id : {0, 40002, 40003, 40006}) {
    window_->Command(static_cast<MenuCommand>(id));
    EXPECT_EQ(window_->windowTitle(), "Pellum - (untitled)") << id;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << id;
  }
}

// Each shortcut runs its command as the menu does; a key press goes where a user's would.
TEST_F(DesktopWindowTest, ShortcutsRunTheirCommands) {
  struct Case {
    const char* name;
    QKeyCombination key;
    std::function<bool(QWidget*)> isTheWindow;  // the modal window the command opens
  };
  const std::vector<Case> cases = {
      {"Ctrl+O opens the Calibration Data dialog", Qt::CTRL | Qt::Key_O,
       [](QWidget* w) { return dynamic_cast<EntryDialog*>(w) != nullptr; }},
      {"Ctrl+S opens Save Chart As", Qt::CTRL | Qt::Key_S,
       [](QWidget* w) { return w->windowTitle() == "Save Chart As"; }},
      {"F1 shows the About box", QKeyCombination(Qt::Key_F1),
       [](QWidget* w) { return dynamic_cast<AboutBox*>(w) != nullptr; }},
  };
  for (const Case& c : cases) {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get())) << c.name;
    bool opened = false;
    ModalAnswers answers;
    answers.Then([&](QWidget* modal) {
      opened = c.isTheWindow(modal);
      if (auto* entry = dynamic_cast<EntryDialog*>(modal)) {
        QTest::mouseClick(entry->OkButton(), Qt::LeftButton);  // all "-1": nothing more
      } else if (auto* about = dynamic_cast<AboutBox*>(modal)) {
        QTest::mouseClick(about->OkButton(), Qt::LeftButton);
      } else {
        dynamic_cast<QDialog*>(modal)->reject();
      }
    });
    QTest::keyClick(window_.get(), c.key.key(), c.key.keyboardModifiers());
    EXPECT_TRUE(WaitFor([&] { return answers.AllUsed(); })) << c.name;
    EXPECT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; })) << c.name;
    EXPECT_TRUE(opened) << c.name;
  }
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window_->isVisible()) << "Ctrl+Q closes the window as Exit does";
}

// The folder of the file opened last is where the dialog starts after a restart, wherever
// the program is started from; the setting is a file of one line in the configuration
// folder.
TEST_F(DesktopWindowTest, TheNextRunStartsTheFileDialogInTheLastFolder) {
  folder_.Write("film.pid", kListing);
  ModalAnswers answers;
  answers.Then(TypeReadings(kReadings));
  answers.Then(ChooseFile(folder_.File("film.pid")));
  answers.Then([](QWidget* modal) { dynamic_cast<QDialog*>(modal)->accept(); });  // "Info"
  window_->Command(IDM_OPEN);
  ASSERT_TRUE(answers.AllUsed());
  std::ifstream setting(Setting());
  std::string kept;
  std::getline(setting, kept);
  EXPECT_EQ(kept, folder_.Path());

  window_.reset();
  TempFolder elsewhere;
  QDir::setCurrent(QString::fromStdString(elsewhere.Path()));
  window_ = std::make_unique<MainWindow>(Setting());
  window_->show();
  QString startedIn;
  answers.Then(TypeReadings(kReadings));
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    startedIn = dialog->directory().absolutePath();
    EXPECT_EQ(dialog->windowTitle(), "Open Listing or Profile");
    dialog->reject();
  });
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(startedIn.toStdString(), folder_.Path());
  QDir::setCurrent(QString::fromStdString(folder_.Path()));
}

// The reference chosen in the Calibration Data dialog is kept beside the last folder: the
// next run's dialog opens on it and calibrates against it, the panel naming it. A setting
// that cannot be written is said once a run.
TEST_F(DesktopWindowTest, TheNextRunKeepsTheReferenceChosen) {
  auto choose = [](const char* standard, const char* radiation, std::vector<const char*> readings) {
    return [=](QWidget* modal) {
      auto* dialog = dynamic_cast<EntryDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      QComboBox* standards = dialog->Choice().StandardBox();
      standards->setCurrentIndex(standards->findData(QString::fromUtf8(standard)));
      QComboBox* radiations = dialog->Choice().RadiationBox();
      radiations->setCurrentIndex(radiations->findData(QString::fromUtf8(radiation)));
      for (std::size_t i = 0; i < readings.size(); ++i)
        dialog->LineFields().at(i)->setText(readings[i]);
      QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    };
  };
  ModalAnswers answers;
  answers.Then(choose("lab6-660c", "cr", {}));
  window_->Command(IDM_OPEN);
  ASSERT_TRUE(answers.AllUsed());
  std::ifstream setting(config_.File("Pellum/reference"));
  std::string kept;
  std::getline(setting, kept);
  EXPECT_EQ(kept, "lab6-660c cr");

  window_ = std::make_unique<MainWindow>(Setting());
  window_->show();
  folder_.Write("film.pid", kListing);
  QString shown;
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<EntryDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    shown = dialog->Choice().StandardBox()->currentData().toString() + " " +
            dialog->Choice().RadiationBox()->currentData().toString();
    choose("lab6-660c", "cr", {"31.99", "45.86", "57.0"})(modal);
  });
  answers.Then(ChooseFile(folder_.File("film.pid")));
  answers.Then([](QWidget* modal) { dynamic_cast<QDialog*>(modal)->accept(); });  // "Info"
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(shown, "lab6-660c cr");
  const QString panel = window_->Panel()->Text();
  EXPECT_TRUE(panel.startsWith(QString::fromUtf8(
      "Reference: LaB6 SRM 660c\nRadiation: Cr K-alpha1 (2.289726 \u00C5)\nModel: ")))
      << panel.toStdString();
  EXPECT_TRUE(panel.contains("1 1 0  45.8600")) << panel.toStdString();

  window_ = std::make_unique<MainWindow>("/dev/null/Pellum/last-folder");
  window_->show();
  answers.Then(choose("si-640e", "cr", {}));
  answers.ThenOn("QMessageBox", ExpectMessage(*window_, "Cannot remember the reference!",
                                              "/dev/null/Pellum/reference", QMessageBox::Warning));
  window_->Command(IDM_OPEN);
  answers.Then(choose("si-640d", "fe", {}));
  window_->Command(IDM_OPEN);
  EXPECT_TRUE(answers.AllUsed()) << "said once a run";
}

// A relative XDG_CONFIG_HOME is ignored, as the XDG rule says: the setting goes to the
// default folder under the home folder, never into the folder the program started from.
TEST(DesktopSettings, ARelativeConfigHomeIsIgnored) {
  const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "relative/cfg");
  const std::string path = MainWindow::DefaultFolderSettingPath();
  qputenv("XDG_CONFIG_HOME", kept);
  EXPECT_EQ(path.find("relative/cfg"), std::string::npos) << path;
  EXPECT_TRUE(path.starts_with(QDir::homePath().toStdString() + "/")) << path;
}

// --help and --version are answered before a window opens; Qt's own options pass through.
TEST(DesktopCommandLine, AnswersOnlyHelpAndVersion) {
  struct Case {
    std::vector<std::string> arguments;
    bool answered;
    std::string printedStart;
  };
  const std::vector<Case> cases = {
      {{"pellum", "--version"}, true, std::string("pellum ").append(kVersion).append("\n")},
      {{"pellum", "-platform", "offscreen", "--help"}, true, "Usage: pellum [QT-OPTION...]\n"},
      {{"pellum", "-h"}, true, "Usage: pellum"},
      {{"pellum"}, false, ""},
      {{"pellum", "-platform", "offscreen"}, false, ""},
      {{"pellum", "--versions"}, false, ""},
  };
  for (const Case& c : cases) {
    std::vector<char*> argv;
    std::vector<std::string> copies = c.arguments;
    for (std::string& argument : copies)
      argv.push_back(argument.data());
    std::ostringstream out;
    EXPECT_EQ(AnswerInformationalArguments(argv, out), c.answered) << c.arguments.back();
    EXPECT_EQ(out.str().substr(0, c.printedStart.size()), c.printedStart) << c.arguments.back();
    if (!c.answered) {
      EXPECT_EQ(out.str(), "");
    }
  }
}

}  // namespace
}  // namespace pellum
