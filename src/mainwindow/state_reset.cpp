#include "mainwindow/state_reset.h"

#include "importers/import_state.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/main_controls_state.h"
#include "mainwindow/menu_commands.h"
#include "mainwindow/options_state.h"
#include "mainwindow/program_state.h"
#include "modelling/auto_model.h"
#include "modelling/bilog_frame.h"
#include "modelling/cursor_readout.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/model_window_state.h"
#include "modelling/modelling_state.h"
#include "modelling/page_drawing.h"
#include "modelling/superposition_store.h"
#include "platform/page_document.h"
#include "printing/print_state.h"
#include "printing/spreadsheet_export.h"
#include "profiles/profile_state.h"
#include "profiles/section_options.h"
#include "sounding/open_save.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"

namespace tellumo {

void ResetAllState() {
  ResetSoundingRecord();
  ResetOpenSaveState();
  ResetModellingState();
  ResetSuperpositionStore();
  ResetProgramState();
  ResetOptionsState();
  ResetPrintState();
  ResetSpreadsheetExportState();
  ResetPreviews();
  ResetProfileState();
  ResetSectionOptions();
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
  ResetMenuCommandsState();
}

}  // namespace tellumo
