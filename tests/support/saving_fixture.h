#pragma once
// A program started as far as saving and opening need it, for the tests of
// the roads that save and open soundings: a fresh state, Schlumberger with
// its template, the default axes, the data grid laid out, the grid filling
// and exit hooks the core calls, the scripted dialogs and a scratch folder.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "platform/common_dialog.h"
#include "support/fixtures.h"

namespace tellumo::test {

class SavingTest : public StateTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The start-up state again, as a second run of the program sees it.
  void StartProgram();

  // Types a value into a cell of the data grid as the keyboard does: the
  // cell selected, the first key replacing its text.
  static void Type(int row, int col, const char* text);

  QTemporaryDir dir;
  QString folder;  // the scratch folder, ending with '/'
  ScriptedDialogService dialogs;
  int quits = 0;  // times the exit ended the program

 private:
  std::unique_ptr<ScopedDialogService> dialogScope_;
};

}  // namespace tellumo::test
