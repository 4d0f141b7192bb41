#include "support/saving_fixture.h"

#include "mainwindow/data_tab.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/startup_exit.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "sounding/open_save.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo::test {

void SavingTest::SetUp() {
  StateTest::SetUp();
  dialogScope_ = std::make_unique<ScopedDialogService>(&dialogs);
  folder = dir.path() + "/";
  StartProgram();
}

void SavingTest::TearDown() {
  Ui() = UiHooks();
  Exit() = ExitHooks();
  EXPECT_EQ(dialogs.unexpected, 0) << "a dialog appeared that the test did not expect";
  EXPECT_TRUE(boxes.answers.empty()) << "a box the test answered never appeared";
  EXPECT_TRUE(dialogs.answers.empty()) << "a dialog the test answered never appeared";
  dialogScope_.reset();
  StateTest::TearDown();
}

void SavingTest::StartProgram() {
  ResetAllState();
  CmDialog1() = CommonDialog();
  Ui() = UiHooks();
  InstallDataGridFilling();
  Exit().writeSettings = [] {};
  Exit().quit = [this] { ++quits; };
  Option1 = kTrue;
  ArrayCode = "0";
  DataTemplateFile = FixturePath("templates_DATAVES.TXT");
  SoundingReadFailed = kFalse;
  ConvertedFromOlderFormat = kFalse;
  DefaultPlotAxes();
  LayOutDataGrid();
}

void SavingTest::Type(int row, int col, const char* text) {
  GridModel& g = BuildGrid();
  g.setRow(row);
  g.setCol(col);
  BuildGrid_ArmFreshCell();
  for (const char* p = text; *p; ++p) {
    int16_t key = *p == '.' ? 190 : static_cast<int16_t>(*p);
    BuildGrid_KeyDown(key, 0);
  }
}

}  // namespace tellumo::test
