// The tab "Profile data" on the real main window, offscreen, from start-up
// to exit: the stored profile settings show in its boxes, what the user types
// reaches the state and the settings written at exit, "Select SEV" fills the
// list, the range and the colour scale, the colour boxes take the colour
// dialog's answer, and fill mode greys the log width.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

#include "mainwindow/options_state.h"
#include "mainwindow/program.h"
#include "mainwindow/sev_window.h"
#include "mainwindow/startup_exit.h"
#include "platform/common_dialog.h"
#include "platform/profile_file.h"
#include "platform/system_services.h"
#include "platform/vb_colour.h"
#include "profiles/profile_list.h"
#include "profiles/profile_state.h"
#include "profiles/profile_test_files.h"
#include "support/program_fixture.h"
#include "profiles/section_options.h"
#include "sounding/manuals.h"
#include "sounding/settings_file.h"
#include "support/fixtures.h"
#include "support/splash_driver.h"
#include "support/widget_input.h"

namespace tellumo {
namespace {

using test::Press;
using test::Type;

QColor Back(const QLineEdit* box) { return box->palette().color(QPalette::Base); }

// A left click on a box, as the user gives it.
void Click(QWidget* w) {
  const QPoint p = w->rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

// The user leaves a box for another control of the window.
void LeaveBox(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &out);
}

// Whatever the box held replaced by what the user types.
void Retype(QLineEdit* box, const char* text) {
  Press(box, Qt::Key_A, Qt::ControlModifier);
  Type(box, text);
}

class ProfileTabTest : public test::ProgramTest {
 protected:
  void WriteSettingsFile(const QByteArray& bytes) {
    QFile f(SettingsFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  // The program started as main() starts it, the user choosing a new
  // sounding on the start-up form.
  SEV& Start() {
    SEV& w = ProgramTest::Start();
    test::WhenSplashShows([](frmSplash&) {}, "Command2");
    EXPECT_TRUE(program->Form_Load());
    return w;
  }
  // Leaving with Yes: the data count as saved.
  ProfileText LeaveProgram() {
    boxes.answer(MsgAnswer::Yes);
    program->window().MenuItem("E_M")->trigger();
    EXPECT_EQ(quits, 1);
    return LoadProfile(SettingsFilePath());
  }

};

TEST_F(ProfileTabTest, StoredProfileSettingsShowAtStart) {
  WriteSettingsFile(
      "[Profile]\r\nVscale=500\r\nHscale=2000\r\nSEVlarge=3\r\nMinRes=100\r\nMaxRes=1700\r\n"
      "[VISUAL_SU]\r\nAmplitude1=255\r\nAmplitude2=1193046\r\nAmplitude8=65280\r\nAmplitude16=16711680\r\n"
      "[File]\r\nColor6=65535\r\n");
  SEV& w = Start();

  EXPECT_EQ(w.Text13->text(), "500");
  EXPECT_EQ(w.Text14->text(), "2000");
  EXPECT_EQ(w.Text8->text(), "3");
  EXPECT_TRUE(w.Text8->isEnabled());
  EXPECT_EQ(w.Text11->text(), "100");
  EXPECT_EQ(w.Text12->text(), "1700");
  // Nothing measured yet: the page sizes as the boxes first show them.
  EXPECT_EQ(w.Text5->text(), "200");
  EXPECT_EQ(w.Text6->text(), "100");
  EXPECT_EQ(w.Text10->text(), "Geoelectrical profile");
  EXPECT_EQ(w.Text17->text(), "0");

  // The bounds from 100 to 1700 in steps of 100, the last at the maximum.
  const char* bounds[16] = {"100", "200", "300", "400", "500", "600", "700", "800",
                            "900", "1000", "1100", "1200", "1300", "1400", "1500", "1700"};
  QLineEdit* classes[16] = {w.Text101, w.Text102, w.Text103, w.Text104, w.Text105, w.Text106, w.Text107, w.Text108,
                            w.Text109, w.Text110, w.Text111, w.Text112, w.Text113, w.Text114, w.Text115, w.Text116};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(classes[k]->text(), bounds[k]) << "class " << k + 1;

  // The stored class colours as stored, the anchors split into their boxes.
  EXPECT_EQ(Back(w.Text101), QColor(255, 0, 0));
  EXPECT_EQ(Back(w.Text102), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(Back(w.Text108), QColor(0, 255, 0));
  EXPECT_EQ(Back(w.Text116), QColor(0, 0, 255));
  EXPECT_EQ(Back(w.Text103), VbColour(2177022));  // a default
  EXPECT_EQ(Back(w.Text117), QColor(255, 0, 0));
  EXPECT_EQ(Back(w.Text119), QColor(0, 0, 255));
  const struct {
    QLineEdit* box;
    const char* text;
  } components[] = {{w.Text120, "255"}, {w.Text121, "0"}, {w.Text122, "0"},   {w.Text123, "0"},  {w.Text124, "255"},
                    {w.Text125, "0"},   {w.Text126, "0"}, {w.Text127, "0"}, {w.Text128, "255"}};
  for (const auto& c : components) EXPECT_EQ(c.box->text(), c.text) << c.box->objectName().toStdString();

  // The line colours: the stored correlation colour, the designed green.
  EXPECT_EQ(Back(w.Text15), QColor(255, 255, 0));
  EXPECT_EQ(Back(w.Text9), QColor(0, 192, 0));

  // The plot options as the program starts.
  const struct {
    QCheckBox* box;
    bool on;
    const char* caption;
  } checks[] = {{w.Check1, true, "&Color scale"}, {w.Check2, true, "Topo line"},    {w.Check3, true, "Resis. label"},
                {w.Check4, true, "Elev. lines"},  {w.Check5, false, "SEV correl."}, {w.Check6, true, "&Scale"},
                {w.Check7, true, "SEV name"},     {w.Check8, false, " Fill"},       {w.Check9, false, "SEV number"}};
  for (const auto& c : checks) {
    EXPECT_EQ(c.box->isChecked(), c.on) << c.caption;
    EXPECT_EQ(c.box->text(), c.caption);
  }
}

TEST_F(ProfileTabTest, TypedBoxesReachTheStateAndTheSettingsWrittenAtExit) {
  SEV& w = Start();
  const struct {
    QLineEdit* box;
    const char* typed;
    const char* key;
  } edits[] = {{w.Text13, "750", "Vscale"},
               {w.Text14, "125", "Hscale"},
               {w.Text8, "4.5", "SEVlarge"},
               {w.Text11, "20", "MinRes"},
               {w.Text12, "340", "MaxRes"}};
  for (const auto& e : edits) Retype(e.box, e.typed);

  EXPECT_EQ(Text13.Text, "750");
  EXPECT_EQ(Text14.Text, "125");
  EXPECT_EQ(Text8.Text, "4.5");
  // The scales were computed again from what was typed.
  EXPECT_DOUBLE_EQ(VertTwipsPerMetre, 56.7 * 1000 / 750);
  EXPECT_DOUBLE_EQ(HorzTwipsPerMetre, 56.7 * 1000 / 125);
  // Each keystroke in the bounds rebuilt the classes, and the boxes show
  // them: 20 to 340 in steps of 20.
  EXPECT_EQ(ColourBox(102).Text, "40");
  EXPECT_EQ(w.Text102->text(), "40");
  EXPECT_EQ(w.Text115->text(), "300");
  EXPECT_EQ(w.Text116->text(), "340");

  // The title and the label angle are the drawing's.
  Retype(w.Text10, "Line B");
  EXPECT_EQ(Text10.Text, "Line B");
  Retype(w.Text17, "45");
  EXPECT_EQ(Text17.Text, "45");

  const ProfileText written = LeaveProgram();
  for (const auto& e : edits)
    EXPECT_EQ(written.value("Profile", e.key, {}, kWholeValue), e.typed) << e.key;
}

TEST_F(ProfileTabTest, SelectSevFillsTheListTheRangeAndTheColourScale) {
  QTemporaryDir data;
  for (const char* name : {"profile_a.TM3", "profile_b.TM3", "profile_c.TM3"})
    ASSERT_TRUE(QFile::copy(test::FixturePath(name), data.filePath(name)));
  SEV& w = Start();
  w.setTab(4);

  dialogs.choose(test::Selection(data.path(), {"profile_c.TM3", "profile_a.TM3", "profile_b.TM3"}));
  w.Command2->click();
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].title, "SEV file selection");

  // The list shows the soundings in the order of their distance from the
  // origin; its heading row and numbering column are the table's headers.
  QTableWidget* t = w.SEV_Grid;
  ASSERT_EQ(t->rowCount(), 3);
  ASSERT_EQ(t->columnCount(), 7);
  const char* names[] = {"profile_a.TM3", "profile_b.TM3", "profile_c.TM3"};
  for (int r = 0; r < 3; ++r) {
    ASSERT_NE(t->item(r, 0), nullptr);
    EXPECT_EQ(t->item(r, 0)->text(), names[r]);
    for (int c = 0; c < 7; ++c)
      EXPECT_EQ(t->item(r, c) ? t->item(r, c)->text() : QString(), SEV_Grid().TextMatrix(r + 1, c + 1))
          << "row " << r + 1 << " column " << c + 1;
  }
  EXPECT_EQ(t->item(2, 5)->text(), "318.554967795845");

  // The range of the soundings' resistivities and the classes between.
  EXPECT_EQ(w.Text11->text(), "10");
  EXPECT_EQ(w.Text12->text(), "1500");
  EXPECT_EQ(w.Text101->text(), "10");
  EXPECT_EQ(w.Text102->text(), "103");
  EXPECT_EQ(w.Text115->text(), "1313");
  EXPECT_EQ(w.Text116->text(), "1500");
  // The section's size on paper at the start-up scales.
  EXPECT_EQ(w.Text5->text(), "1274");
  EXPECT_EQ(w.Text6->text(), "290");

  // Scales that fit the page: the sizes follow each keystroke.
  Retype(w.Text14, "5000");
  EXPECT_EQ(w.Text5->text(), "64");
  Retype(w.Text13, "2000");
  EXPECT_EQ(w.Text6->text(), "145");

  // The profile page draws them.
  w.setTab(5);
  EXPECT_EQ(w.Tab(), 5);
  EXPECT_TRUE(w.VSPrint1->isVisible());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ProfileTabTest, ColourBoxesTakeTheDialogsColourAndCancelKeepsIt) {
  SEV& w = Start();
  const QColor designed = Back(w.Text105);

  // A class box: only its own class changes.
  dialogs.chooseColor(0x123456);
  Click(w.Text105);
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].kind, DialogKind::Color);
  EXPECT_EQ(dialogs.requests[0].title, "Tellumo color selection");
  EXPECT_EQ(ColourBox(105).BackColor, 0x123456);
  EXPECT_EQ(Back(w.Text105), QColor(0x56, 0x34, 0x12));
  EXPECT_NE(Back(w.Text105), designed);
  EXPECT_EQ(Back(w.Text104), VbColour(5662718));

  dialogs.cancel();
  Click(w.Text105);
  EXPECT_EQ(Back(w.Text105), QColor(0x56, 0x34, 0x12));

  // An anchor: its components, then every class between the anchors.
  dialogs.chooseColor(0xFFFFFF);
  Click(w.Text117);
  EXPECT_EQ(w.Text120->text(), "255");
  EXPECT_EQ(w.Text121->text(), "255");
  EXPECT_EQ(w.Text122->text(), "255");
  EXPECT_EQ(Back(w.Text117), QColor(255, 255, 255));
  EXPECT_EQ(Back(w.Text101), QColor(255, 255, 255));
  // Class 5 lies four sevenths of the way to the second anchor (249, 250, 255).
  EXPECT_EQ(Back(w.Text105), QColor(252, 252, 255));
  dialogs.cancel();
  Click(w.Text117);
  EXPECT_EQ(Back(w.Text117), QColor(255, 255, 255));

  // A component typed beyond 255 is capped when the user leaves its box,
  // and the scale follows it.
  Retype(w.Text120, "300");
  EXPECT_EQ(ColourBox(120).Text, "300");
  Retype(w.Text121, "0");
  LeaveBox(w.Text121);
  EXPECT_EQ(Back(w.Text101), QColor(255, 0, 255));
  LeaveBox(w.Text120);
  EXPECT_EQ(w.Text120->text(), "255");
  EXPECT_EQ(dialogs.requests.size(), 4u);
}

TEST_F(ProfileTabTest, FillGreysTheLogWidthAndTheLabelOptionsFollow) {
  SEV& w = Start();
  // "SEV number" on turns "SEV name" off.
  w.Check9->click();
  EXPECT_EQ(Check9.Value, 1);
  EXPECT_FALSE(w.Check7->isChecked());
  w.Check7->click();
  EXPECT_FALSE(w.Check9->isChecked());
  w.Check1->click();
  EXPECT_EQ(Check1.Value, 0);

  w.Check8->click();
  EXPECT_EQ(Check8.Value, 1);
  EXPECT_FALSE(w.Text8->isEnabled());
  EXPECT_EQ(w.Text8->text(), "");
  EXPECT_FALSE(w.Check3->isChecked());
  EXPECT_FALSE(w.Check5->isChecked());
  EXPECT_FALSE(w.Check7->isChecked());
  EXPECT_TRUE(w.Check9->isChecked());

  // Before any drawing, leaving fill brings the width typed before back.
  w.Check8->click();
  EXPECT_TRUE(w.Text8->isEnabled());
  EXPECT_EQ(w.Text8->text(), "2");
  EXPECT_TRUE(w.Check3->isChecked());
  EXPECT_TRUE(w.Check5->isChecked());
  EXPECT_TRUE(w.Check7->isChecked());
  EXPECT_FALSE(w.Check9->isChecked());

  // Fill on at exit: the settings keep the last width, not the empty box.
  Retype(w.Text8, "3");
  w.Check8->click();
  EXPECT_EQ(LeaveProgram().value("Profile", "SEVlarge", {}, kWholeValue), "3");
}

}  // namespace
}  // namespace tellumo
