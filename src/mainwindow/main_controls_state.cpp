#include "mainwindow/main_controls_state.h"

#include "mainwindow/data_tab.h"
#include "mainwindow/ui_hooks.h"
#include "sounding/sounding_record.h"

namespace tellumo {

TextBoxState X_Texte1;
TextBoxState Y_Texte2;
TextBoxState Z_Texte3;
TextBoxState Azimtext;
TextBoxState Text18;
TextBoxState Text29;
TextBoxState Text2;
TextBoxState Text3;
TextBoxState Text4;

namespace {

// The boxes and the texts they show, in one list for both directions.
struct BoxAndText {
  TextBoxState* box;
  QString* text;
};
const BoxAndText kBoxes[] = {{&X_Texte1, &SoundingX}, {&Y_Texte2, &SoundingY},        {&Z_Texte3, &SoundingZ},
                             {&Azimtext, &SoundingAzimuth}, {&Text18, &SoundingComment}, {&Text29, &GraphTitle}};

}  // namespace

void ShowSoundingTexts() {
  for (const BoxAndText& b : kBoxes) b.box->Text = *b.text;
  CallHook(DataTabUi().controlsChanged);
}

void StoreTextBoxes() {
  for (const BoxAndText& b : kBoxes) *b.text = b.box->Text;
}

void SoundingTextBoxEdited(TextBoxState& box, const QString& text) {
  box.Text = text;
  for (const BoxAndText& b : kBoxes)
    if (b.box == &box) {
      *b.text = text;
      MarkSoundingModified(kUnsavedTexts);
    }
}

void ShowPlotBoxes() { CallHook(Ui().plotBoxesChanged); }

void ResetMainControlsState() {
  for (TextBoxState* box : {&X_Texte1, &Y_Texte2, &Z_Texte3, &Azimtext, &Text18, &Text29, &Text2, &Text3, &Text4})
    *box = TextBoxState{};
}

}  // namespace tellumo
