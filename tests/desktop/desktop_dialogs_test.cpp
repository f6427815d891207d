// The Calibration Data dialog, the About box and the open-file dialog, offscreen.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "app/input_file_step.h"
#include "front/desktop/about_box.h"
#include "front/desktop/entry_dialog.h"
#include "front/desktop/message_box.h"
#include "front/desktop/open_file_dialog.h"
#include "front/desktop/question_box.h"
#include "front/desktop/save_file_dialog.h"
#include "tests/desktop/qt_test_support.h"

namespace pellum {
namespace {

using testing::ModalAnswers;
using testing::TempFolder;
using testing::TestApplication;
using testing::TypeFileName;
using testing::WaitFor;

QStringList LabelTexts(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) {
    texts << label->text();
  }
  return texts;
}

class DesktopDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { TestApplication(); }
};

// Every row of the grid holds the reflection, its true position and the reading's field.
TEST_F(DesktopDialogsTest, EntryDialogShowsTheSixReflectionsInTheirRows) {
  EntryTexts entries;
  entries.SetSlot(2, "56.13");
  EntryDialog dialog(entries, nullptr);
  EXPECT_EQ(dialog.windowTitle(), "Calibration Data");
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  EXPECT_EQ(dialog.OkButton()->text(), "OK");
  EXPECT_TRUE(LabelTexts(dialog).contains("* If not available, enter negative number."));

  auto* grid = dialog.findChild<QGridLayout*>();
  ASSERT_NE(grid, nullptr);
  auto textAt = [grid](int row, int column) -> QString {
    QLayoutItem* item = grid->itemAtPosition(row, column);
    if (item == nullptr || item->widget() == nullptr) {
      return "<none>";
    }
    if (auto* label = dynamic_cast<QLabel*>(item->widget())) {
      return label->text();
    }
    if (auto* field = dynamic_cast<QLineEdit*>(item->widget())) {
      return "field:" + field->objectName() + "=" + field->text();
    }
    return "<other>";
  };
  const std::vector<std::vector<QString>> expected = {
      {"h k l", "Actual 2 theta", "Experimental 2 theta*"},
      {"1 1 1", "28.442", "field:entry0=-1"},
      {"2 2 0", "47.303", "field:entry1=-1"},
      {"3 1 1", "56.122", "field:entry2=56.13"},
      {"4 0 0", "69.130", "field:entry3=-1"},
      {"3 3 1", "76.376", "field:entry4=-1"},
      {"4 2 2", "88.030", "field:entry5=-1"},
  };
  for (int row = 0; row < static_cast<int>(expected.size()); ++row) {
    for (int column = 0; column < 3; ++column) {
      EXPECT_EQ(textAt(row, column).toStdString(), expected[row][column].toStdString())
          << "row " << row << " column " << column;
    }
  }
  for (std::size_t row = 0; row < 6; ++row) {
    EXPECT_EQ(dialog.Field(row)->maxLength(), 18);
  }
  // A caption with its close button, nothing to minimise or maximise a modal dialog with.
  const Qt::WindowFlags flags = dialog.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowTitleHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

// Tab walks OK, then the fields top to bottom, then back to OK; focus starts on OK.
TEST_F(DesktopDialogsTest, EntryDialogFocusStartsOnOkAndTabsDownTheFields) {
  EntryTexts entries;
  EntryDialog dialog(entries, nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(QApplication::focusWidget(), dialog.OkButton());
  std::vector<QWidget*> order;
  for (int i = 0; i < 7; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(QApplication::focusWidget());
  }
  const std::vector<QWidget*> expected = {dialog.Field(0),  dialog.Field(1), dialog.Field(2),
                                          dialog.Field(3),  dialog.Field(4), dialog.Field(5),
                                          dialog.OkButton()};
  EXPECT_EQ(order, expected);
}

// A click into a field, as a Tab onto it, selects its text, so that typing a reading
// replaces the "-1" rather than making "-128.365" of it; a drag keeps its own selection.
TEST_F(DesktopDialogsTest, EntryFieldsSelectTheirTextWhenTheyTakeTheFocus) {
  EntryTexts entries;
  EntryDialog dialog(entries, nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::mouseClick(dialog.Field(2), Qt::LeftButton, {}, dialog.Field(2)->rect().center());
  EXPECT_EQ(QApplication::focusWidget(), dialog.Field(2));
  EXPECT_EQ(dialog.Field(2)->selectedText(), "-1");
  QTest::keyClicks(dialog.Field(2), "56.13");
  EXPECT_EQ(dialog.Field(2)->text(), "56.13");
  // Once it has the focus, a click places the cursor as in any field.
  QTest::mouseClick(dialog.Field(2), Qt::LeftButton, {}, QPoint(2, 5));
  EXPECT_FALSE(dialog.Field(2)->hasSelectedText());

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), dialog.Field(3));
  EXPECT_EQ(dialog.Field(3)->selectedText(), "-1");
  QTest::keyClicks(dialog.Field(3), "69.14");
  EXPECT_EQ(dialog.Field(3)->text(), "69.14");
}

// The question's declining answer is the default: Return and Escape both give "Edit".
TEST_F(DesktopDialogsTest, QuestionBoxDefaultsToItsDecliningAnswer) {
  struct Case {
    const char* how;
    bool accepted;
  };
  for (const Case& c : {Case{"return", false}, Case{"escape", false}, Case{"accept", true}}) {
    ModalAnswers answers;
    answers.Then([&](QWidget* modal) {
      auto* box = dynamic_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), "Check the readings");
      EXPECT_EQ(box->defaultButton()->text(), "Edit");
      const std::string how = c.how;
      if (how == "accept")
        QTest::mouseClick(box->findChild<QPushButton*>("acceptButton"), Qt::LeftButton);
      else
        QTest::keyClick(box, how == "return" ? Qt::Key_Return : Qt::Key_Escape);
    });
    EXPECT_EQ(AskQuestionBox(nullptr, "3 1 1: reading 65.021", "Check the readings", "Use anyway",
                             "Edit"),
              c.accepted)
        << c.how;
    EXPECT_TRUE(answers.AllUsed()) << c.how;
  }
}

// Escape and the close button leave the dialog open and the slots untouched; OK stores
// what was typed, at most 18 characters of it.
TEST_F(DesktopDialogsTest, EntryDialogClosesOnlyThroughOk) {
  EntryTexts entries;
  entries.SetSlot(0, "28.45");
  EntryDialog dialog(entries, nullptr);
  bool stillOpen = false;
  ModalAnswers answers;
  answers.Then([&](QWidget* modal) {
    QTest::keyClick(modal, Qt::Key_Escape);
    modal->close();
    stillOpen = modal->isVisible();
    EXPECT_EQ(entries.Slot(0), "28.45");
    dialog.Field(0)->clear();
    QTest::keyClicks(dialog.Field(0), "28.4512345678901234567890");
    dialog.Field(5)->setText("88.04");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(entries.Slot(0), "28.451234567890123");
  EXPECT_EQ(entries.Slot(0).size(), 18u);
  EXPECT_EQ(entries.Slot(5), "88.04");
  EXPECT_EQ(entries.Slot(1), "-1");
}

// "From Profile..." fills the fields with the readings found in the example film's
// profile, says what it found, and keeps the profile for the file dialog that follows; the
// user can still edit the fields before OK.
TEST_F(DesktopDialogsTest, EntryDialogTakesTheReadingsFromAProfile) {
  const std::string profile = PELLUM_SOURCE_DIR "/examples/film-profile.txt";
  EntryTexts entries;
  entries.SetSlot(0, "28.45");
  EntryDialog dialog(entries, nullptr);
  dialog.SetProfilePath(profile);
  EXPECT_EQ(dialog.FromProfileButton()->text(), "From Profile...");
  EXPECT_EQ(dialog.FromProfileButton()->focusPolicy(), Qt::NoFocus);
  QString filter;
  QString title;
  QStringList shown;
  ModalAnswers answers;
  answers.Then([&](QWidget*) { QTest::mouseClick(dialog.FromProfileButton(), Qt::LeftButton); });
  answers.Then([&](QWidget* modal) {
    auto* files = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(files, nullptr);
    filter = files->selectedNameFilter();
    title = files->windowTitle();
    TypeFileName(*files, QStringLiteral("film-profile.txt"));
  });
  answers.Then([&](QWidget*) {
    for (std::size_t row = 0; row < 6; ++row) {
      shown << dialog.Field(row)->text();
    }
    dialog.Field(3)->setText("69.02");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(title, "Open Profile");
  EXPECT_EQ(filter, "Profile Files (*.TXT)");
  EXPECT_EQ(shown, QStringList({"28.3650", "47.2097", "56.0205", "69.0206", "76.2573", "87.9037"}));
  EXPECT_TRUE(LabelTexts(dialog).contains(QString::fromUtf8(
      "All six reflections found in the profile.\n28.3650 \u00b1 0.0004, 47.2097 \u00b1 0.0150, "
      "56.0205 \u00b1 0.0010, 69.0206 \u00b1 0.0021, 76.2573 \u00b1 0.0016, 87.9037 \u00b1 "
      "0.0015")));
  EXPECT_EQ(entries.Slot(0), "28.3650");
  EXPECT_EQ(entries.Slot(3), "69.02");
  EXPECT_TRUE(dialog.ReadingsTaken());
  EXPECT_EQ(dialog.ProfilePath(), profile);
}

// A profile without silicon, or whose lines are not silicon's, is said in a box; the
// fields keep what the user typed.
TEST_F(DesktopDialogsTest, EntryDialogKeepsTheFieldsWhenAProfileHoldsNoSilicon) {
  TempFolder folder;
  folder.Write("flat.txt", "2Theta Counts\n28.40 100\n28.42 100\n28.44 100\n");
  // Two quartz lines where a shifted film would put 3 1 1 and 4 0 0.
  std::string quartz = "2Theta Counts\n";
  for (int i = 0; i <= 6500; ++i) {
    const double x = 25.0 + 0.01 * i;
    double y = 100.0;
    for (double at : {55.281, 68.280}) {
      y += 2000.0 * std::exp(-2.772588722239781 * (x - at) * (x - at) / 0.01);
    }
    quartz += std::to_string(x) + ' ' + std::to_string(y) + '\n';
  }
  folder.Write("quartz.txt", quartz);
  struct Case {
    const char* name;
    std::string caption;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"flat.txt", "No silicon reflection found in the profile!", folder.File("flat.txt")},
      {"quartz.txt", "The lines found are not silicon's!",
       folder.File("quartz.txt") + ": only two lines, not silicon's strongest"},
  };
  for (const Case& c : cases) {
    EntryTexts entries;
    entries.SetSlot(0, "28.45");
    EntryDialog dialog(entries, nullptr);
    dialog.SetProfilePath(folder.File(c.name));
    QString caption, text;
    ModalAnswers answers;
    answers.Then([&](QWidget*) { QTest::mouseClick(dialog.FromProfileButton(), Qt::LeftButton); });
    answers.Then([&](QWidget* modal) {
      TypeFileName(*dynamic_cast<QFileDialog*>(modal), QString::fromUtf8(c.name));
    });
    answers.ThenOn("QMessageBox", [&](QWidget* modal) {
      auto* box = dynamic_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    });
    answers.Then([&](QWidget*) { QTest::mouseClick(dialog.OkButton(), Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(answers.AllUsed()) << c.name;
    EXPECT_EQ(caption.toStdString(), c.caption);
    EXPECT_EQ(text.toStdString(), c.text);
    EXPECT_EQ(entries.Slot(0), "28.45");
    EXPECT_FALSE(dialog.ReadingsTaken());
  }
}

// Chooses a reference in the dialog's row as the user does, by the boxes' items.
void ChooseReference(EntryDialog& dialog, const char* standard, const char* radiation) {
  QComboBox* standards = dialog.Choice().StandardBox();
  standards->setCurrentIndex(standards->findData(QString::fromUtf8(standard)));
  QComboBox* radiations = dialog.Choice().RadiationBox();
  radiations->setCurrentIndex(radiations->findData(QString::fromUtf8(radiation)));
}

// The Reference row: the built-in table keeps the six rows and Cu K-alpha1; another reference
// shows one field per line, with its hkl and two-theta, in a list that scrolls when long.
TEST_F(DesktopDialogsTest, EntryDialogShowsTheLinesOfTheReferenceChosen) {
  struct Case {
    const char* standard;
    const char* radiation;
    std::string wavelength;
    std::vector<std::pair<QString, QString>> firstLines;  // hkl and two-theta labels
    std::size_t lines;                                    // 0: the six rows of the table
    bool scrolls;
  };
  const std::vector<Case> cases = {
      {"si", "cu", "1.540593 Å", {}, 0, false},
      {"si-640e", "cr", "2.289726 Å", {{"1 1 1", "42.828"}, {"2 2 0", "73.199"}}, 3, false},
      {"lab6-660c", "cr", "2.289726 Å", {{"1 0 0", "31.974"}, {"1 1 0", "45.847"}}, 6, false},
      {"lab6-660c", "cu", "1.540593 Å", {{"1 0 0", "21.358"}, {"1 1 0", "30.385"}}, 15, true},
      {"al2o3-676a", "cu", "1.540593 Å", {{"0 1 2", "25.576"}, {"1 0 4", "35.150"}}, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.standard) + " " + c.radiation);
    EntryTexts entries;
    EntryDialog dialog(entries, nullptr);
    ChooseReference(dialog, c.standard, c.radiation);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const bool table = std::string(c.standard) == "si";
    EXPECT_EQ(dialog.Choice().WavelengthText()->text().toStdString(), c.wavelength);
    EXPECT_EQ(dialog.Choice().RadiationBox()->isEnabled(), !table) << "the table is Cu's only";
    EXPECT_EQ(dialog.Field(0)->isVisible(), table);
    EXPECT_EQ(dialog.LinesArea()->isVisible(), !table);
    EXPECT_TRUE(LabelTexts(dialog).contains("* If not available, enter negative number."));
    if (table) {
      EXPECT_TRUE(dialog.LineFields().empty());
      continue;
    }
    if (c.lines > 0) {
      EXPECT_EQ(dialog.LineFields().size(), c.lines);
    }
    auto* grid = dialog.LinesArea()->widget()->findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    auto label = [grid](int row, int column) {
      return dynamic_cast<QLabel*>(grid->itemAtPosition(row, column)->widget())->text();
    };
    EXPECT_EQ(label(0, 2), "Experimental 2 theta*");
    for (std::size_t i = 0; i < c.firstLines.size(); ++i) {
      EXPECT_EQ(label(static_cast<int>(i) + 1, 0), c.firstLines[i].first);
      EXPECT_EQ(label(static_cast<int>(i) + 1, 1), c.firstLines[i].second);
    }
    for (QLineEdit* field : dialog.LineFields()) {
      EXPECT_EQ(field->text(), "-1");
      EXPECT_EQ(field->maxLength(), 18);
    }
    EXPECT_EQ(dialog.LinesArea()->verticalScrollBar()->maximum() > 0, c.scrolls);
  }
}

// Readings typed for one reference are kept while the user looks at another; OK stores
// the choice and each reference's readings, and the table's six slots as they were. Tab
// goes OK and the lines' fields; the boxes are reached by Alt and a click.
TEST_F(DesktopDialogsTest, EntryDialogKeepsEachReferencesReadings) {
  EntryTexts entries;
  entries.SetSlot(0, "28.45");
  ReferenceEntries reference;
  EntryDialog dialog(entries, reference, nullptr);
  EXPECT_EQ(dialog.Choice().StandardBox()->itemData(0).toString(), "si");
  EXPECT_EQ(dialog.Choice().StandardBox()->currentText(), "si: built-in silicon table");
  EXPECT_EQ(dialog.Choice().RadiationBox()->currentText(), "Cu K-alpha1");
  EXPECT_EQ(dialog.Choice().StandardBox()->focusPolicy(), Qt::ClickFocus);
  ChooseReference(dialog, "lab6-660c", "cr");
  dialog.LineFields()[1]->setText("45.86");
  ChooseReference(dialog, "si-640e", "cr");
  ASSERT_EQ(dialog.LineFields().size(), 3u);
  EXPECT_EQ(dialog.LineFields()[1]->text(), "-1");
  dialog.LineFields()[0]->setText("42.84");
  ChooseReference(dialog, "lab6-660c", "cr");
  ASSERT_EQ(dialog.LineFields().size(), 6u);
  EXPECT_EQ(dialog.LineFields()[1]->text(), "45.86") << "kept through the switch";
  dialog.LineFields()[2]->setText("57.0");

  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.OkButton()->setFocus();
  std::vector<QWidget*> order;
  for (int i = 0; i < 3; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(order, (std::vector<QWidget*>{dialog.LineFields()[0], dialog.LineFields()[1],
                                          dialog.LineFields()[2]}));
  QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
  EXPECT_EQ(reference.Key(), "lab6-660c cr");
  EXPECT_EQ(reference.readings["lab6-660c cr"],
            (std::vector<std::string>{"-1", "45.86", "57.0", "-1", "-1", "-1"}));
  EXPECT_EQ(reference.readings["si-640e cr"], (std::vector<std::string>{"42.84", "-1", "-1"}));
  EXPECT_EQ(entries.Slot(0), "28.45");
}

// A film of LaB6 SRM 660c for Cu K-alpha1, every line 0.1 degree high: a Gaussian of 0.08
// degree per line, as strong as the reference makes it, on a flat background.
std::string LanthanumHexaborideProfile(const Reference& lab6) {
  std::string text = "2Theta Counts\n";
  for (int i = 0; i <= 8000; ++i) {
    const double x = 18.0 + 0.01 * i;
    double y = 100.0;
    for (const ReferenceLine& line : lab6.lines) {
      const double at = line.twoTheta + 0.1;
      y += 50.0 * line.intensity * std::exp(-2.772588722239781 * (x - at) * (x - at) / 0.0064);
    }
    text += std::to_string(x) + ' ' + std::to_string(y) + '\n';
  }
  return text;
}

// With another reference, "From Profile..." finds its lines: each field gets its line's
// reading (the su as its tip) and the note counts them; a profile of another phase, or
// without a line, is refused in a box and the fields stay as typed.
TEST_F(DesktopDialogsTest, EntryDialogFindsAnotherReferencesLinesInAProfile) {
  Reference lab6;
  std::string error;
  ASSERT_TRUE(ChooseReference({"lab6-660c", std::nullopt, "cu", std::nullopt}, lab6, error));
  TempFolder folder;
  folder.Write("lab6.txt", LanthanumHexaborideProfile(lab6));
  folder.Write("flat.txt", "2Theta Counts\n28.40 100\n28.42 100\n28.44 100\n");
  struct Case {
    std::string file;
    std::string caption;  // of the refusal; empty when the lines are taken
    std::string text;
  };
  const std::vector<Case> cases = {
      {folder.File("lab6.txt"), "", ""},
      {PELLUM_SOURCE_DIR "/examples/film-profile.txt",
       "The lines found are not those of LaB6 SRM 660c!",
       PELLUM_SOURCE_DIR "/examples/film-profile.txt: "},
      {folder.File("flat.txt"), "No line found in the profile of LaB6 SRM 660c!",
       folder.File("flat.txt")},
  };
  for (const Case& c : cases) {
    EntryTexts entries;
    ReferenceEntries reference;
    reference.standard = "lab6-660c";
    reference.radiation = "cu";
    EntryDialog dialog(entries, reference, nullptr);
    ASSERT_EQ(dialog.LineFields().size(), lab6.lines.size());
    dialog.LineFields()[0]->setText("21.37");
    dialog.SetProfilePath(c.file);
    QString caption, text;
    std::vector<QString> shown, tips;
    ModalAnswers answers;
    answers.Then([&](QWidget*) { QTest::mouseClick(dialog.FromProfileButton(), Qt::LeftButton); });
    answers.Then([&](QWidget* modal) {
      TypeFileName(*dynamic_cast<QFileDialog*>(modal),
                   QString::fromStdString(std::filesystem::path(c.file).filename().string()));
    });
    if (!c.caption.empty()) {
      answers.ThenOn("QMessageBox", [&](QWidget* modal) {
        caption = modal->windowTitle();
        text = dynamic_cast<QMessageBox*>(modal)->text();
        dynamic_cast<QMessageBox*>(modal)->accept();
      });
    }
    answers.Then([&](QWidget*) {
      for (QLineEdit* field : dialog.LineFields()) {
        shown.push_back(field->text());
        tips.push_back(field->toolTip());
      }
      QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(answers.AllUsed()) << c.file;
    EXPECT_EQ(caption.toStdString(), c.caption);
    EXPECT_EQ(text.toStdString().substr(0, c.text.size()), c.text);
    EXPECT_EQ(dialog.ReadingsTaken(), c.caption.empty()) << c.file;
    if (!c.caption.empty()) {
      EXPECT_EQ(shown[0], "21.37") << c.file;
      continue;
    }
    int found = 0;
    for (std::size_t k = 0; k < lab6.lines.size(); ++k) {
      const double reading = shown[k].toDouble();
      if (reading < 0.0) {
        // Weak, or beyond the film's end (3 2 2 stands at 99.7).
        EXPECT_TRUE(lab6.lines[k].intensity < 3.0 || lab6.lines[k].twoTheta > 98.0) << k;
        continue;
      }
      ++found;
      EXPECT_NEAR(reading, lab6.lines[k].twoTheta + 0.1, 0.005) << k;
      EXPECT_TRUE(tips[k].startsWith(shown[k] + QString::fromUtf8(" \u00b1 "))) << k;
    }
    const QString counted =
        QString::fromStdString("Found in the profile: " + std::to_string(found) + " of 15 lines.");
    bool noted = false;
    for (const QString& label : LabelTexts(dialog))
      noted = noted || label.startsWith(counted);
    EXPECT_TRUE(noted) << counted.toStdString();
    EXPECT_GE(found, 12);
    EXPECT_EQ(reference.readings["lab6-660c cu"][0], shown[0].toStdString());
    // The note speaks of the lines shown: another reference's fields drop it.
    ChooseReference(dialog, "si", "cu");
    for (const QString& label : LabelTexts(dialog))
      EXPECT_FALSE(label.startsWith("Found in the profile")) << label.toStdString();
  }
}

TEST_F(DesktopDialogsTest, AboutBoxHasNoCaptionAndClosesOnlyThroughOk) {
  AboutBox box(nullptr);
  const QStringList texts = LabelTexts(box);
  for (const char* text :
       {"Pellum   Ver. 1.03", "Guinier Film Calibration Program", "Pellum contributors"}) {
    EXPECT_TRUE(texts.contains(text)) << text;
  }
  EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
  auto* icon = box.findChild<QLabel*>("aboutIcon");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  EXPECT_TRUE(box.OkButton()->isDefault());

  bool stillOpen = false;
  ModalAnswers answers;
  answers.Then([&](QWidget* modal) {
    QTest::keyClick(modal, Qt::Key_Escape);
    stillOpen = modal->isVisible();
    QTest::mouseClick(box.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(box.exec(), QDialog::Accepted);
  EXPECT_TRUE(stillOpen);
}

TEST_F(DesktopDialogsTest, OpenFileDialogOffersListingsFirstAndStartsOnTheLastFile) {
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  settings.flags = kOpenFileHideReadOnly | kOpenFileMustExist;
  TempFolder folder;
  folder.Write("film.pid", "2-Theta\n");

  QFileDialog dialog;
  SetUpOpenFileDialog(dialog, settings, folder.File("film.pid"));
  EXPECT_EQ(dialog.windowTitle(), "Open Listing or Profile");
  EXPECT_EQ(dialog.nameFilters(), QStringList({"Listing Files (*.PID)", "Profile Files (*.TXT)",
                                               "Listings and Profiles (*.pid *.txt)"}));
  EXPECT_EQ(dialog.selectedNameFilter(), "Listing Files (*.PID)");
  EXPECT_EQ(dialog.defaultSuffix(), "pid");
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
  EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_FALSE(dialog.filter().testFlag(QDir::CaseSensitive));
  EXPECT_EQ(dialog.directory().absolutePath().toStdString(), folder.Path());
  EXPECT_EQ(dialog.selectedFiles(), QStringList(QString::fromStdString(folder.File("film.pid"))));
}

// Patterns and their letter case: a listing named FILM.PID is offered under the listing
// filter just as film.pid is; a profile or another file is not.
TEST_F(DesktopDialogsTest, OpenFileDialogListsListingsInEitherCase) {
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  TempFolder folder;
  for (const char* name : {"film.pid", "FILM2.PID", "Film3.Pid", "data.txt", "film.dat"}) {
    folder.Write(name, "x\n");
  }
  QFileDialog dialog;
  SetUpOpenFileDialog(dialog, settings, folder.File("film.pid"));
  dialog.show();
  auto* view = dialog.findChild<QAbstractItemView*>("listView");
  ASSERT_NE(view, nullptr);
  auto listed = [view] {
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
      names << view->model()->index(row, 0, root).data().toString();
    }
    names.sort();
    return names;
  };
  const QStringList listings = {"FILM2.PID", "Film3.Pid", "film.pid"};
  EXPECT_TRUE(WaitFor([&] { return listed() == listings; })) << listed().join(' ').toStdString();
  dialog.selectNameFilter("Profile Files (*.TXT)");
  EXPECT_TRUE(WaitFor([&] { return listed() == QStringList{"data.txt"}; }))
      << listed().join(' ').toStdString();
  dialog.selectNameFilter("Listings and Profiles (*.pid *.txt)");
  const QStringList both = {"FILM2.PID", "Film3.Pid", "data.txt", "film.pid"};
  EXPECT_TRUE(WaitFor([&] { return listed() == both; })) << listed().join(' ').toStdString();
}

// Without a file to start on, the dialog starts in the folder kept from the last choice,
// unless that folder is gone; then, as without one, in the current folder.
TEST_F(DesktopDialogsTest, OpenFileDialogStartsInTheLastFolder) {
  TempFolder folder;
  const std::string current = QDir::currentPath().toStdString();
  struct Case {
    std::string initialFolder, expected;
  };
  for (const Case& c : {Case{folder.Path(), folder.Path()}, Case{folder.File("gone"), current},
                        Case{"", current}}) {
    OpenFileSettings settings;
    InitOpenFileSettings(settings);
    settings.initialFolder = c.initialFolder;
    QFileDialog dialog;
    SetUpOpenFileDialog(dialog, settings, "");
    EXPECT_EQ(dialog.directory().absolutePath().toStdString(), c.expected) << c.initialFolder;
  }
}

// The save dialog starts on the filter of the suggested name; choosing another filter
// gives the name that filter's extension, and a name typed without one gets it too.
TEST_F(DesktopDialogsTest, SaveFileDialogFollowsTheChosenFilter) {
  const std::vector<FileFilter> filters = {{"SVG Pictures (*.svg)", "*.svg"},
                                           {"PNG Images (*.png)", "*.png"},
                                           {"PDF Documents (*.pdf)", "*.pdf"}};
  TempFolder folder;
  QFileDialog dialog;
  SetUpSaveFileDialog(dialog, "Save Chart As", filters, folder.File("chart.png"));
  EXPECT_EQ(dialog.windowTitle(), "Save Chart As");
  EXPECT_EQ(dialog.nameFilters(),
            QStringList({"SVG Pictures (*.svg)", "PNG Images (*.png)", "PDF Documents (*.pdf)"}));
  EXPECT_EQ(dialog.selectedNameFilter(), "PNG Images (*.png)");
  EXPECT_EQ(dialog.defaultSuffix(), "png");
  EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(dialog.directory().absolutePath().toStdString(), folder.Path());

  std::string path;
  ModalAnswers answers;
  answers.Then([&](QWidget* modal) {
    auto* shown = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(shown, nullptr);
    auto* field = shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), "chart.svg");
    // The type list chosen from the keyboard, two down from SVG.
    auto* types = shown->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(field->text(), "chart.png");
    QTest::keyClick(types, Qt::Key_Down);
    EXPECT_EQ(field->text(), "chart.pdf");
    TypeFileName(*shown, QStringLiteral("report"));
  });
  EXPECT_TRUE(RunSaveFileDialog(nullptr, "Save Chart As", filters, folder.File("chart.svg"), path));
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(path, folder.File("report.pdf"));
}

// A name that does not exist is refused by the dialog itself, which stays open; the
// cancelled dialog then leaves the names as they were.
TEST_F(DesktopDialogsTest, OpenFileDialogRefusesFilesThatDoNotExist) {
  OpenFileSettings settings;
  InitOpenFileSettings(settings);
  settings.flags = kOpenFileHideReadOnly | kOpenFileMustExist;
  TempFolder folder;
  std::string path = folder.File("old.pid"), title = "old.pid";
  folder.Write("old.pid", "2-Theta\n");

  bool refused = false;
  ModalAnswers answers;
  answers.Then([&](QWidget* modal) {
    auto* dialog = dynamic_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    TypeFileName(*dialog, QStringLiteral("missing.pid"));
  });
  answers.Then([&](QWidget* modal) {
    auto* box = dynamic_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    box->accept();
  });
  answers.Then([&](QWidget* modal) {
    refused = dynamic_cast<QFileDialog*>(modal) != nullptr && modal->isVisible();
    dynamic_cast<QDialog*>(modal)->reject();
  });
  EXPECT_FALSE(RunOpenFileDialog(nullptr, settings, path, title));
  EXPECT_TRUE(refused);
  EXPECT_TRUE(answers.AllUsed());
  EXPECT_EQ(path, folder.File("old.pid"));
  EXPECT_EQ(title, "old.pid");
}

// A message box is wide enough to show its whole caption beside the caption bar's icon and
// buttons (about 100 pixels), whether the text is shorter or longer than the caption.
TEST_F(DesktopDialogsTest, MessageBoxShowsItsWholeCaption) {
  struct Case {
    const char* text;
    const char* caption;
  };
  const Case cases[] = {
      {"a.pid", "Invalid file format!"},
      {"a.pid", "Cannot open an output file!"},
      {"/home/lab/films/2026/G-1734 calcite with Si standard.pid", "Cannot open a file!"},
      {"2 theta value must be below 100.", "Warning!"},
  };
  for (const Case& c : cases) {
    int width = 0, captionWidth = 0;
    ModalAnswers answers;
    answers.Then([&](QWidget* modal) {
      width = modal->width();
      captionWidth = modal->fontMetrics().horizontalAdvance(c.caption);
      QTest::keyClick(modal, Qt::Key_Return);
    });
    ShowMessageBox(nullptr, c.text, c.caption, MessageKind::Error);
    EXPECT_TRUE(answers.AllUsed()) << c.caption;
    EXPECT_GE(width, captionWidth + 100) << c.caption;
  }
}

}  // namespace
}  // namespace pellum
