#include "sounding/manuals.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "mainwindow/program_state.h"
#include "platform/system_services.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

class ManualsTest : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetShellService(&shell);
    SetProgramFolder(program.path());
    QDir(program.path()).mkdir("manual");
    QFile f(program.path() + "/manual/tellumo6_us.pdf");  // letter case as a Linux install may give it
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    shell.associated = "/usr/bin/viewer";
  }
  void TearDown() override {
    SetShellService(nullptr);
    SetProgramFolder({});
    StateTest::TearDown();
  }
  FakeShellService shell;
  QTemporaryDir program;
};

TEST_F(ManualsTest, TheAssociationIsAskedOfATemporaryPdfFileThatIsThenRemoved) {
  QTemporaryDir tmp(QDir::tempPath() + "/john.doe-XXXXXX");
  QByteArray old = qgetenv("TMPDIR");
  qputenv("TMPDIR", tmp.path().toLocal8Bit());
  EXPECT_EQ(FindAssociatedProgram("PDF"), "/usr/bin/viewer");
  qputenv("TMPDIR", old);
  ASSERT_EQ(shell.lookups.size(), 1u);
  QFileInfo asked(shell.lookups[0]);
  EXPECT_EQ(asked.absolutePath(), QDir(tmp.path()).absolutePath());
  EXPECT_TRUE(asked.fileName().startsWith("-"));
  EXPECT_EQ(asked.suffix(), "PDF");
  EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ManualsTest, OpensTheManualOfTheLanguage) {
  IsGerman = kTrue;  // German has no manual of its own
  OpenPdfManual();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].verb, "open");
  EXPECT_EQ(shell.calls[0].file, "/usr/bin/viewer");
  EXPECT_EQ(shell.calls[0].params, program.path() + "/manual/tellumo6_us.pdf");
  EXPECT_EQ(shell.calls[0].show, 3);
  EXPECT_TRUE(boxes.boxes.empty());
}

// Without a PDF viewer, or without the manual of the language, the user is
// told so in the language, with the manual's path and no product named.
TEST_F(ManualsTest, ExplainsWhyTheManualCannotBeOpened) {
  const QString fr = program.path() + "/Manual/TELLUMO6_FR.PDF";
  const QString es = program.path() + "/Manual/TELLUMO6_ES.PDF";
  const QString us = program.path() + "/manual/tellumo6_us.pdf";
  const struct {
    const char* language;
    bool viewer;
    QString text;
  } cases[] = {
      {"F", true,
       "Le manuel ne peut pas être ouvert : le fichier " + fr + " n'existe pas." + LineBreak +
           "Réinstallez Tellumo pour retrouver ses manuels."},
      {"S", true,
       "No se puede abrir el manual: el fichero " + es + " no existe." + LineBreak +
           "Reinstale Tellumo para recuperar sus manuales."},
      {"F", false,
       "Aucun programme n'est prévu pour ouvrir les fichiers PDF : le manuel " + fr + " ne peut pas être ouvert." +
           LineBreak + "Installez un lecteur de PDF puis recommencez."},
      {"S", false,
       "Ningún programa está previsto para abrir los ficheros PDF: no se puede abrir el manual " + es + "." +
           LineBreak + "Instale un lector de PDF y vuelva a intentarlo."},
      {"E", false,
       "No program is set up to open PDF files: the manual " + us + " cannot be opened." + LineBreak +
           "Install a PDF viewer and try again."},
      {"A", false,
       "No program is set up to open PDF files: the manual " + us + " cannot be opened." + LineBreak +
           "Install a PDF viewer and try again."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.language) + (c.viewer ? " with a viewer" : " without a viewer"));
    IsFrench = IsSpanish = IsEnglish = IsGerman = 0;
    const QString code = c.language;
    if (code == "F") IsFrench = kTrue;
    if (code == "S") IsSpanish = kTrue;
    if (code == "E") IsEnglish = kTrue;
    if (code == "A") IsGerman = kTrue;
    shell.associated = c.viewer ? "/usr/bin/viewer" : "";
    boxes.boxes.clear();
    boxes.answer(MsgAnswer::OK);
    OpenPdfManual();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, c.text);
    EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(shell.calls.empty()) << "nothing is started";
  }

  // The English manual missing as well as the viewer: the viewer is named first.
  IsFrench = IsSpanish = IsGerman = 0;
  IsEnglish = kTrue;
  ASSERT_TRUE(QFile::remove(us));
  shell.associated.clear();
  boxes.boxes.clear();
  boxes.answer(MsgAnswer::OK);
  OpenPdfManual();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("No program is set up to open PDF files"));

  // A viewer that cannot be started.
  ASSERT_TRUE(QFile(us).open(QIODevice::WriteOnly));
  shell.associated = "/usr/bin/viewer";
  shell.result = 2;
  boxes.boxes.clear();
  boxes.answer(MsgAnswer::OK);
  OpenPdfManual();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Unable to shell /usr/bin/viewer");
  EXPECT_EQ(boxes.boxes[0].icon, MsgIcon::None);
  EXPECT_TRUE(shell.calls.size() == 1u);
}

}  // namespace
}  // namespace tellumo
