#include "support/fixtures.h"

#include <QFile>

#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "printing/print_state.h"
#include "profiles/profile_state.h"
#include "importers/import_state.h"
#include "sounding/settings_file.h"
#include "modelling/auto_model.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/page_drawing.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "modelling/modelling_state.h"
#include "modelling/superposition_store.h"
#include "sounding/sounding_record.h"

namespace tellumo::test {

void ResetAllState() {
  ResetSoundingRecord();
  ResetModellingState();
  ResetSuperpositionStore();
  ResetProgramState();
  ResetOptionsState();
  ResetPrintState();
  ResetProfileState();
  ResetImportState();
  ResetSettingsState();
  ResetAutoModelState();
  ResetLayerTableState();
  ResetModelWindowState();
  ResetMainControlsState();
  ResetForwardComputation();
  ResetBilog();
  ResetCursorReadout();
  ResetPageDrawing();
  ResetDataTabState();
  ResetFieldDataState();
  ResetGridEditingState();
}

void DefaultPlotAxes() {
  AB2MinDecade = -1;
  AB2MaxDecade = 4;
  RhoMinDecade = 0;
  RhoMaxDecade = 4;
  AB2MinValue = 0;
  AB2MaxValue = 10000;
  RhoMinValue = 1;
  RhoMaxValue = 10000;
}

void StateTest::SetUp() {
  ResetAllState();
  scope_ = new ScopedMessageService(&boxes);
}

void StateTest::TearDown() {
  delete scope_;
  scope_ = nullptr;
  EXPECT_EQ(boxes.unexpected, 0) << "a message box appeared that the test did not expect";
}

QString FixturePath(const QString& name) { return QStringLiteral(TELLUMO_TEST_DATA "/") + name; }

QByteArray Fixture(const QString& name) {
  QFile f(FixturePath(name));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
  return f.readAll();
}

QByteArray CrLf(std::initializer_list<const char*> lines) {
  QByteArray out;
  for (const char* l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace tellumo::test
