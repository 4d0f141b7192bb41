#include "printing/report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "mainwindow/program_state.h"
#include "modelling/forward_computation.h"
#include "modelling/layer_table.h"
#include "modelling/modelling_state.h"
#include "modelling/page_drawing.h"
#include "modelling/screen_drawing_hooks.h"
#include "modelling/superposition.h"
#include "modelling/superposition_store.h"
#include "platform/page_document.h"
#include "printing/print_services.h"
#include "printing/print_state.h"
#include "sounding/sounding_record.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using Kind = PageOp::Kind;

constexpr double mm = 56.7;
constexpr double kMargin = 1134;
constexpr int32_t kGrid = 0xC0C0C0;
constexpr int32_t kPoints = 0x0000C0;
constexpr int32_t kCurve = 0x0000FF;
constexpr int32_t kModel = 0x00FF00;
constexpr int32_t kError = 0xFF0000;
constexpr int32_t kStored = 0x808000;

double L(double v) { return 0.4343 * std::log(v); }

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<const PageOp*> TextOps(const PageContent& page) {
  std::vector<const PageOp*> out;
  for (const PageOp& op : page.ops)
    if (op.kind == Kind::Text) out.push_back(&op);
  return out;
}

const PageOp* FindText(const PageContent& page, const QString& text) {
  for (const PageOp& op : page.ops)
    if (op.kind == Kind::Text && op.text == text) return &op;
  return nullptr;
}

int CountText(const PageContent& page, const QString& text) {
  int n = 0;
  for (const PageOp& op : page.ops) n += op.kind == Kind::Text && op.text == text;
  return n;
}

std::vector<const PageOp*> Lines(const PageContent& page, int32_t colour, int width) {
  std::vector<const PageOp*> out;
  for (const PageOp& op : page.ops)
    if (op.kind == Kind::Line && op.penColour == colour && op.penWidth == width) out.push_back(&op);
  return out;
}

std::vector<const PageOp*> Rectangles(const PageContent& page, int32_t colour, int width) {
  std::vector<const PageOp*> out;
  for (const PageOp& op : page.ops)
    if (op.kind == Kind::Rectangle && op.penColour == colour && op.penWidth == width) out.push_back(&op);
  return out;
}

// The texts of the table row whose cells lie at the row top y (a table's
// cells of one row share their top), left to right.
QStringList RowAt(const PageContent& page, double y) {
  std::vector<const PageOp*> cells;
  for (const PageOp* op : TextOps(page))
    if (op->clipped && std::abs(op->y1 - y) < 1e-6) cells.push_back(op);
  std::sort(cells.begin(), cells.end(), [](const PageOp* a, const PageOp* b) { return a->x1 < b->x1; });
  QStringList out;
  for (const PageOp* c : cells) out << c->text;
  return out;
}

// The rows of the table cells below y on a page, each as its cell texts.
std::vector<QStringList> TableRows(const PageContent& page, double fromY) {
  std::vector<double> tops;
  for (const PageOp* op : TextOps(page))
    if (op->clipped && op->y1 >= fromY &&
        std::find_if(tops.begin(), tops.end(), [&](double t) { return std::abs(t - op->y1) < 1e-6; }) == tops.end())
      tops.push_back(op->y1);
  std::sort(tops.begin(), tops.end());
  std::vector<QStringList> rows;
  for (double t : tops) rows.push_back(RowAt(page, t));
  return rows;
}

class Report : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    SetEngineHooks(&drawing);
    Prepare();
  }
  void TearDown() override {
    SetEngineHooks(nullptr);
    StateTest::TearDown();
  }

  // The engine draws through the plot routines, as in the program.
  ScreenDrawingHooks drawing;

  // A fresh program with a three-layer sounding of six points, English,
  // Schlumberger, A4 portrait with 1134-twip margins.
  void Prepare() {
    test::ResetAllState();
    ResetPreviews();
    test::DefaultPlotAxes();
    GridColour = kGrid;
    PointsColour = kPoints;
    CurveColour = kCurve;
    ModelColour = kModel;
    ErrorCurveColour = kError;
    SuperposedCurveColour = kStored;
    LeftMargin = TopMargin = RightMargin = BottomMargin = kMargin;
    Option1 = kTrue;
    IsEnglish = kTrue;
    FileTitle = "S1.TM3";
    GraphTitle = "Valley";
    ShowErrorCurve = 1;
    ShowModelGraphic = 1;
    SuperposeSwitch = -1;
    MaxSpacing = 1;
    SetPoints({{1, 50}, {3, 42}, {10, 30}, {30, 40}, {100, 80}, {300, 150}});
    SetLayers({{50, 2}, {20, 10}, {200, 0}});
  }

  static void SetPoints(std::initializer_list<std::pair<double, double>> points) {
    EmptyFieldData();
    int i = 0;
    for (auto [a, rho] : points) {
      ++i;
      FieldData[i][kSpacing1] = a;
      FieldData[i][kRhoApparent] = rho;
      FieldData[i][kSpacing2] = 0.5;
      FieldData[i][kDeltaV] = 12.5;
      FieldData[i][kCurrent] = 100;
      FieldData[i][kKFactor] = 3.14;
    }
    PointCount = static_cast<int16_t>(i);
  }

  static void SetLayers(std::initializer_list<std::pair<double, double>> layers) {
    EmptyLayerModel();
    int i = 0;
    double depth = 0;
    for (auto [rho, h] : layers) {
      ++i;
      LayerModel[i][kLayerRho] = rho;
      LayerModel[i][kLayerThickness] = h;
      LayerModel[i][kLayerDepth] = depth;
      depth += h;
    }
    LayerCount = static_cast<int16_t>(i);
  }

  // The current model's curve computed as the program does before the tab
  // is chosen (without drawing).
  static void ComputeCurve() {
    ModeWord = "FICHIER";
    ComputeModelCurve();
    ModeWord.clear();
  }

  static void StoreModel(int slot, std::initializer_list<std::pair<double, double>> layers) {
    int i = 0;
    for (auto [rho, h] : layers) {
      ++i;
      SuperposedModels[slot][1][i] = rho;
      SuperposedModels[slot][2][i] = h;
    }
    SuperposedLayerCounts[slot] = static_cast<int16_t>(i);
  }

  static const PageDocument& Doc() { return ReportPreview(); }
  static const PageContent& Page(int n) { return ReportPreview().Page(n); }
  static double Unit() { return PlotScale * mm; }
  static double TopY() { return kMargin + 20 * mm; }
  static double RightX() { return PlotOriginX + Unit() * (AB2MaxDecade - AB2MinDecade); }
};

// --- Captions --------------------------------------------------------------

TEST_F(Report, CaptionsInEveryLanguage) {
  struct Case {
    int n;
    const char* english;
    const char* french;
    const char* spanish;
    const char* german;
  };
  const Case cases[] = {
      {1, "Electrical sounding Schlumberger - F.TM3", "Sondage électrique Schlumberger - F.TM3",
       "Sondeo eléctrico Schlumberger - F.TM3", "Elektrische Tiefensondierung Schlumberger - F.TM3"},
      {2, "Dipole electrical sounding - F.TM3", "Sondage électrique dipôle - F.TM3", "Sondeo eléctrico dipolar - F.TM3",
       "Elektrische Tiefensondierung Dipole  - F.TM3"},
      {3, "Location   ", "Situation du SE ", "Ubicación del SEV  ", "Situation der ETS  "},
      {4, "Model ", "Modèle ", "Modelo ", "Modell "},
      {5, "Shift on new MN ", "Débrayages lissés ", "Empalmes compensados", "Anpassung bei neuen MN"},
      {6, "Resistivity     Thickness      Depth        Altitude", "Résistivité     Epaisseur    Profondeur    Altitude",
       "Resistividad    Espesor    Profundidad     Altitud", "Resistivität    Mächtigkeit    Tiefe        Höhe"},
      {7, "Resistivity     Thickness      Depth", "Résistivité     Epaisseur    Profondeur",
       "Resistividad     Espesor     Profundidad", "Resistivität    Mächtigkeit    Tiefe"},
      {8, "Field data and calculated values", "Mesures de terrain et valeurs calculées",
       "Datos de campo y valores calculados", "Felddaten und ausgerechnete Werte"},
      {9, "Electrical sounding Wenner - F.TM3", "Sondage électrique Wenner - F.TM3", "Sondeo eléctrico Wenner - F.TM3",
       "Elektrische Tiefensondierung Wenner  - F.TM3"},
      {10, " ", " ", " ", " "},
      {19, " ", " ", " ", " "},
  };
  FileTitle = "F.TM3";
  for (const Case& c : cases) {
    const char* const texts[] = {c.english, c.french, c.spanish, c.german};
    int16_t* const flags[] = {&IsEnglish, &IsFrench, &IsSpanish, &IsGerman};
    for (int lang = 0; lang < 4; ++lang) {
      SCOPED_TRACE(testing::Message() << "caption " << c.n << ", language " << lang);
      IsEnglish = IsFrench = IsSpanish = IsGerman = kFalse;
      *flags[lang] = kTrue;
      int16_t n = static_cast<int16_t>(c.n);
      QString text = "before";
      ReportCaption(n, text);
      EXPECT_EQ(text, U(texts[lang]));
    }
  }
}

TEST_F(Report, CaptionLanguageRule) {
  struct Case {
    int16_t french, english, spanish, german;
    int16_t n;
    const char* want;
  };
  const Case cases[] = {
      {kTrue, kFalse, kTrue, kFalse, 4, "Modelo "},         // French and Spanish: Spanish
      {kTrue, kTrue, kFalse, kFalse, 4, "Model "},          // English after French
      {kTrue, kTrue, kTrue, kTrue, 4, "Modell "},           // German last
      {kFalse, kFalse, kFalse, kFalse, 4, "Model "},        // none: English, as the rest of the program
      {1, 1, 1, 1, 4, "Model "},                            // only True (-1) counts as set
      {kFalse, kFalse, kFalse, kTrue, 0, "unchanged"},      // no caption 0
      {kFalse, kFalse, kFalse, kTrue, 20, "unchanged"},     // nor 20
      {kFalse, kFalse, kFalse, kTrue, 12, " "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.french << c.english << c.spanish << c.german << " n " << c.n);
    IsFrench = c.french;
    IsEnglish = c.english;
    IsSpanish = c.spanish;
    IsGerman = c.german;
    int16_t n = c.n;
    QString text = "unchanged";
    ReportCaption(n, text);
    EXPECT_EQ(text, U(c.want));
  }
}

// --- Preparation -------------------------------------------------------------

TEST_F(Report, PreparationSetsListsTitleAndMargins) {
  LeftMargin = 1000;
  TopMargin = 1100;
  RightMargin = 1200;
  BottomMargin = 1300;
  FileTitle = "NEW";
  ReportPreview().Zoom = 50;
  ReportPreview().ZoomMode = 3;
  int hooks = 0;
  ReportUi().controlsChanged = [&] { ++hooks; };
  display_print();
  ReportUi().controlsChanged = nullptr;

  EXPECT_EQ(ReportTitle, "Electrical sounding Schlumberger - NEW");
  EXPECT_EQ(cmbPercent.ListIndex, 3);
  EXPECT_EQ(cmbPercent.Text, "100%");
  EXPECT_EQ(cmbZoomMode.ListIndex, 0);
  EXPECT_EQ(cmbZoomMode.Text, "Percentage");
  EXPECT_EQ(Doc().Zoom.value(), 100);
  EXPECT_EQ(Doc().ZoomMode.value(), 0);
  EXPECT_EQ(VSPrintLeft, 2000);
  EXPECT_EQ(NoPrinterFonts, kTrue);
  EXPECT_EQ(Doc().MarginLeft, 1000);
  EXPECT_EQ(Doc().MarginTop, 1100);
  EXPECT_EQ(Doc().MarginRight, 1200);
  EXPECT_EQ(Doc().MarginBottom, 1300);
  EXPECT_EQ(VSPrintMargins.Left, 1000);
  EXPECT_EQ(VSPrintMargins.Bottom, 1300);
  EXPECT_TRUE(Doc().Redraw.value());
  EXPECT_FALSE(Doc().Composing());
  EXPECT_EQ(Doc().PageCount(), 2);
  EXPECT_EQ(hooks, 1);
  // The stored margins are only read.
  EXPECT_EQ(LeftMargin, 1000);
}

TEST_F(Report, FontListIsRefilledNotAppended) {
  display_print();
  const QStringList first = ListePolices.List;
  EXPECT_FALSE(first.isEmpty());
  EXPECT_EQ(ListePolices.Text, "Arial");
  display_print();
  EXPECT_EQ(ListePolices.List, first);
  QStringList unique = first;
  EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST_F(Report, TitleAndAxisTitleAndDataColumnsByArray) {
  struct Case {
    int option;
    const char* title;
    const char* axisTitle;
    QStringList names;
    QStringList units;
    QStringList firstRow;
  };
  const Case cases[] = {
      {1, "Electrical sounding Schlumberger - S1.TM3", "   AB/2 [m]",
       {"MN/2", "AB/2", "DeltaV", "I", "K", "Resistivity"},
       {"[m]", "[m]", "[mV]", "[mA]", "[-]", U("[ohm·m]")},
       {" .5", " 1", " 12.5", " 100", " 3.14", " 50"}},
      {2, "Dipole electrical sounding - S1.TM3", "   AM [m]",
       {"BN", "AM", "DeltaV", "I", "K", "Resistivity"},
       {"[m]", "[m]", "[mV]", "[mA]", "[-]", U("[ohm·m]")},
       {" .5", " 1", " 12.5", " 100", " 3.14", " 50"}},
      {3, "Electrical sounding Wenner - S1.TM3", "   a [m]",
       {"a", "DeltaV", "I", "K", "Resistivity"},
       {"[m]", "[mV]", "[mA]", "[-]", U("[ohm·m]")},
       {" 1", " 12.5", " 100", " 3.14", " 50"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    Option1 = c.option == 1 ? kTrue : kFalse;
    Option2 = c.option == 2 ? kTrue : kFalse;
    Option3 = c.option == 3 ? kTrue : kFalse;
    display_print();
    EXPECT_EQ(ReportTitle, c.title);
    EXPECT_EQ(ArrayCode, QString::number(c.option - 1));
    const PageOp* axis = FindText(Page(1), c.axisTitle);
    ASSERT_NE(axis, nullptr);
    // Below the spacing labels, ending at the frame's right edge, clear of
    // every other text of the page.
    EXPECT_NEAR(axis->x2, RightX(), 1e-6);
    EXPECT_EQ(axis->fontSize, 11);
    for (const PageOp& op : Page(1).ops) {
      if (op.kind != Kind::Text || &op == axis) continue;
      const bool apart = op.x2 <= axis->x1 || op.x1 >= axis->x2 || op.y2 <= axis->y1 || op.y1 >= axis->y2;
      EXPECT_TRUE(apart) << op.text.toStdString() << " meets the axis title";
    }
    const PageOp* lastLabel = FindText(Page(1), " 10000");
    ASSERT_NE(lastLabel, nullptr);
    EXPECT_GE(axis->y1, lastLabel->y2 - 1e-6);
    // Both pages start with the title.
    for (int p = 1; p <= 2; ++p) EXPECT_EQ(CountText(Page(p), c.title), 1);

    const auto rows = TableRows(Page(2), TopY() + 9 * mm);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], c.names);
    EXPECT_EQ(rows[1], c.units);
    EXPECT_EQ(rows[2], c.firstRow);
    EXPECT_EQ(rows.size(), 2u + 6u);  // names, units, six points
  }
}

// --- Plot geometry, grid and labels ---------------------------------------------

TEST_F(Report, A4PortraitGeometry) {
  display_print();
  const double width = Doc().PageWidth();
  EXPECT_DOUBLE_EQ(width, 11907);
  EXPECT_DOUBLE_EQ(PlotScale, (width - 2 * kMargin - 20 * mm) / (mm * 5));
  EXPECT_DOUBLE_EQ(PlotScale, 30.0);  // (11907 - 2268 - 1134) / 283.5
  EXPECT_DOUBLE_EQ(PlotOriginX, kMargin);
  EXPECT_DOUBLE_EQ(PlotOriginY, kMargin + 20 * mm + 4 * mm * PlotScale);

  // The frame over the curves: last rectangle of the plot, black and 18 wide.
  const auto frames = Rectangles(Page(1), 0, 18);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_DOUBLE_EQ(frames[0]->x1, PlotOriginX);
  EXPECT_DOUBLE_EQ(frames[0]->y1, PlotOriginY);
  EXPECT_DOUBLE_EQ(frames[0]->x2, RightX());
  EXPECT_DOUBLE_EQ(frames[0]->y2, TopY());
  EXPECT_EQ(frames[0]->brushStyle, 1);
  EXPECT_EQ(ModeWord, "");
}

TEST_F(Report, LandscapeAndSquarePagesScaleByHeightAndGiveThreePages) {
  struct Case {
    double w, h;
  };
  for (const Case c : {Case{kA4HeightTwipsPage, kA4WidthTwipsPage}, Case{12000, 12000}}) {
    SCOPED_TRACE(c.w);
    ReportPreview().setPaperSize(c.w, c.h);
    SoundingX = "10";
    SoundingY = "20";
    SoundingComment = "Near the well";
    display_print();
    EXPECT_DOUBLE_EQ(PlotScale, (c.h - 2 * kMargin - 30 * mm) / (mm * 5));
    ASSERT_EQ(Doc().PageCount(), 3);
    // Page 2 carries the text after the repeated headings; page 3 the data.
    const PageOp* title = FindText(Page(2), ReportTitle);
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->y1, kMargin + 3 * mm);
    EXPECT_TRUE(title->bold);
    EXPECT_EQ(title->fontSize, 13);
    const PageOp* graph = FindText(Page(2), "Valley");
    ASSERT_NE(graph, nullptr);
    EXPECT_DOUBLE_EQ(graph->y1, TopY() - 8 * mm);
    const double textTop = TopY() - 13 * mm;
    const PageOp* location = FindText(Page(2), "Location   X = 10    Y = 20");
    ASSERT_NE(location, nullptr);
    EXPECT_DOUBLE_EQ(location->y1, textTop + 15 * mm);
    const PageOp* model = FindText(Page(2), "Model ");
    ASSERT_NE(model, nullptr);
    EXPECT_DOUBLE_EQ(model->y1, textTop + 22.5 * mm);
    EXPECT_EQ(FindText(Page(1), "Model "), nullptr);
    EXPECT_NE(FindText(Page(3), "Field data and calculated values"), nullptr);
  }
}

TEST_F(Report, GridLinesAndDecadeLabels) {
  display_print();
  const PageContent& p = Page(1);
  const double unit = Unit();

  // Eight minor lines a decade: five spacing decades, four resistivity ones.
  const auto minor = Lines(p, kGrid, 1);
  ASSERT_EQ(minor.size(), 5u * 8 + 4u * 8);
  const double x20 = PlotOriginX + unit * (L(20) - 1);
  EXPECT_NEAR(minor[0]->x1, x20, 1e-9);
  EXPECT_NEAR(minor[0]->x2, x20, 1e-9);
  EXPECT_DOUBLE_EQ(minor[0]->y1, TopY());
  EXPECT_DOUBLE_EQ(minor[0]->y2, PlotOriginY);
  const double y90000 = PlotOriginY - unit * (L(9 * 1e4) - 1);
  EXPECT_NEAR(minor.back()->y1, y90000, 1e-9);
  EXPECT_DOUBLE_EQ(minor.back()->x1, PlotOriginX);
  EXPECT_NEAR(minor.back()->x2, RightX(), 1e-9);

  // Decade lines, black and 10 wide: six vertical, five horizontal.
  const auto decades = Lines(p, 0, 10);
  ASSERT_EQ(decades.size(), 6u + 5u);
  for (int d = 0; d <= 5; ++d) EXPECT_NEAR(decades[d]->x1, PlotOriginX + unit * d, 1e-9);
  for (int d = 0; d <= 4; ++d) EXPECT_NEAR(decades[6 + d]->y1, TopY() + unit * d, 1e-9);

  // Spacing labels 2 mm below the plot, 100 twips left of their line.
  const char* spacing[] = {" .1", " 1", " 10", " 100", " 1000", " 10000"};
  for (int d = 0; d <= 5; ++d) {
    SCOPED_TRACE(spacing[d]);
    const PageOp* label = nullptr;
    for (const PageOp* op : TextOps(p))
      if (op->text == spacing[d] && std::abs(op->y1 - (PlotOriginY + 2 * mm)) < 1e-9) label = op;
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->x1, PlotOriginX + unit * d - 100, 1e-9);
    EXPECT_EQ(label->fontSize, 10);  // the font size in force at the start
  }
  // Resistivity labels 1 mm right of the plot, 3.5 mm above their line.
  const char* rho[] = {" 1", " 10", " 100", " 1000", " 10000"};
  for (int d = 0; d <= 4; ++d) {
    SCOPED_TRACE(rho[d]);
    const PageOp* label = nullptr;
    for (const PageOp* op : TextOps(p))
      if (op->text == rho[d] && std::abs(op->x1 - (RightX() + mm)) < 1e-9) label = op;
    ASSERT_NE(label, nullptr);
    EXPECT_NEAR(label->y1, PlotOriginY - unit * d - 3.5 * mm, 1e-9);
    EXPECT_EQ(label->fontSize, 12);
  }
  const PageOp* rhoTitle = FindText(p, U("[ohm·m]"));
  ASSERT_NE(rhoTitle, nullptr);
  EXPECT_NEAR(rhoTitle->y1, TopY() + 0.2 * unit, 1e-9);
  EXPECT_EQ(rhoTitle->fontSize, 11);
}

TEST_F(Report, HeadingsAndShiftNote) {
  ShiftedFlag = 1;
  display_print();
  for (int page = 1; page <= 2; ++page) {
    SCOPED_TRACE(page);
    const PageOp* note = FindText(Page(page), "Shift on new MN ");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->italic);
    EXPECT_EQ(note->fontSize, 10);
    EXPECT_NEAR(note->x1, RightX() - 30 * mm, 1e-9);
    EXPECT_DOUBLE_EQ(note->y1, TopY() - 7 * mm);
    const PageOp* graph = FindText(Page(page), "Valley");
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(graph->bold);
    EXPECT_EQ(graph->fontSize, 12);
    EXPECT_DOUBLE_EQ(graph->x1, kMargin);
  }
}

TEST_F(Report, ZeroDecadeSpanKeepsTheScale) {
  display_print();
  const double scale = PlotScale;
  AB2MaxDecade = AB2MinDecade;
  RhoMaxDecade = RhoMinDecade;
  display_print();
  EXPECT_DOUBLE_EQ(PlotScale, scale);
  EXPECT_TRUE(std::isfinite(PlotOriginY));
  EXPECT_EQ(Doc().PageCount(), 2);
}

// --- Field points ---------------------------------------------------------------

TEST_F(Report, FieldPointsOnTheWindowBoundsAreDrawnThoseOutsideAreNot) {
  struct Case {
    double a, rho;
    bool drawn;
  };
  const Case cases[] = {
      {10000, 100, true},    // on the spacing bound
      {10001, 100, false},   // just past it
      {10, 1, true},         // on the resistivity bound
      {10, 0.999, false},    // just below it
      {10, 10000, true},
      {10, 10000.5, false},
      {0.1, 100, true},      // on the frame's left edge
      {0.05, 100, false},    // inside the rounded window (0), outside the frame
      {0, 100, false},       // no logarithm
  };
  EmptyFieldData();
  int i = 0;
  for (const Case& c : cases) {
    ++i;
    FieldData[i][kSpacing1] = c.a;
    FieldData[i][kRhoApparent] = c.rho;
  }
  PointCount = static_cast<int16_t>(i);
  display_print();
  const auto squares = Rectangles(Page(1), kPoints, 12);
  std::vector<const Case*> drawn;
  for (const Case& c : cases)
    if (c.drawn) drawn.push_back(&c);
  ASSERT_EQ(squares.size(), drawn.size());
  for (size_t k = 0; k < drawn.size(); ++k) {
    SCOPED_TRACE(drawn[k]->a);
    const double x = PlotOriginX + Unit() * (L(drawn[k]->a) + 1);
    const double y = PlotOriginY - Unit() * L(drawn[k]->rho);
    EXPECT_NEAR(squares[k]->x1, x - 35, 1e-9);
    EXPECT_NEAR(squares[k]->y1, y - 35, 1e-9);
    EXPECT_NEAR(squares[k]->x2, x + 35, 1e-9);
    EXPECT_NEAR(squares[k]->y2, y + 35, 1e-9);
  }
}

// --- Curves ---------------------------------------------------------------------

// The lines of the curves on page 1: everything drawn in a curve colour.
std::vector<RecordingPage::Segment> CurveLines(const PageContent& page) {
  std::vector<RecordingPage::Segment> out;
  for (const PageOp& op : page.ops) {
    if (op.kind != Kind::Line) continue;
    if (op.penColour != kCurve && op.penColour != kModel && op.penColour != kError && op.penColour != kStored) continue;
    out.push_back({op.x1, op.y1, op.x2, op.y2, op.penColour, op.penWidth, false});
  }
  return out;
}

TEST_F(Report, StoredAndCurrentCurvesInTheirColoursDrawnOnce) {
  SuperposeSwitch = 1;
  StoreModel(1, {{80, 5}, {10, 0}});
  // Slot 2 left empty: never drawn.
  StoreModel(3, {{30, 1}, {300, 20}, {5, 0}});
  SuperposedCount = 3;
  SuperposedShown = 3;
  ComputeCurve();

  display_print();
  const auto got = CurveLines(Page(1));

  // The same passes recorded on their own, with the geometry just composed.
  RecordingPage want;
  SetReportPage(&want);
  ModeWord = "FRMPRINT";
  want.PenWidth(18);
  CurrentMisfit = 0;
  CurrentSoundingPass = kFalse;
  DrawAllStoredModels();
  CurrentSoundingPass = kTrue;
  ComputeModelCurve();
  ModeWord.clear();
  SetReportPage(nullptr);

  ASSERT_EQ(got.size(), want.segments.size());
  int stored = 0, curve = 0, model = 0, error = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(got[i].x1, want.segments[i].x1);
    EXPECT_DOUBLE_EQ(got[i].y1, want.segments[i].y1);
    EXPECT_DOUBLE_EQ(got[i].x2, want.segments[i].x2);
    EXPECT_DOUBLE_EQ(got[i].y2, want.segments[i].y2);
    EXPECT_EQ(got[i].colour, want.segments[i].colour);
    EXPECT_EQ(got[i].width, want.segments[i].width);
    stored += got[i].colour == kStored;
    curve += got[i].colour == kCurve;
    model += got[i].colour == kModel;
    error += got[i].colour == kError;
  }
  EXPECT_GT(stored, 0);
  EXPECT_GT(curve, 0);
  EXPECT_GT(model, 0);
  EXPECT_GT(error, 0);
  // The current model's staircase: three layers give out, down, out, down,
  // out to the edge, from the first point (a dot).
  EXPECT_EQ(model, 6);
  // The first current curve segment starts at the left edge of the frame.
  EXPECT_EQ(CurrentSoundingPass, kTrue);
  EXPECT_EQ(CurrentMisfit, 0.0);
  // The current model is parked.
  EXPECT_EQ(SuperposedModels[4][1][1].value(), 50.0);
}

TEST_F(Report, SuperpositionOffDrawsNoStoredModelButParksTheCurrentOne) {
  SuperposeSwitch = -1;
  StoreModel(1, {{80, 5}, {10, 0}});
  SuperposedCount = 1;
  ComputeCurve();
  display_print();
  int stored = 0, curve = 0;
  for (const auto& s : CurveLines(Page(1))) {
    stored += s.colour == kStored;
    curve += s.colour == kCurve;
  }
  EXPECT_EQ(stored, 0);
  EXPECT_GT(curve, 0);
  EXPECT_EQ(SuperposedModels[2][1][1].value(), 50.0);
  EXPECT_EQ(SuperposedLayerCounts[2], 3);
}

TEST_F(Report, CompositionLeavesTheCurrentSoundingAsItWas) {
  struct Case {
    const char* name;
    bool computed;
    bool superpose;
    bool emptyModel;
  };
  const Case cases[] = {
      {"no curve computed", false, false, false},
      {"no curve computed, stored models", false, true, false},
      {"curve computed, stored models", true, true, false},
      {"curve of an earlier sounding, no model", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Prepare();
    if (c.computed) ComputeCurve();
    if (c.emptyModel) {
      EmptyLayerModel();
      LayerCount = 0;
    }
    if (c.superpose) {
      SuperposeSwitch = 1;
      StoreModel(1, {{80, 5}, {10, 0}});
      StoreModel(2, {{30, 1}, {300, 20}, {5, 0}});
      SuperposedCount = 2;
      SuperposedShown = 2;
    }
    Cell before[kLayerRows][kLayerCols];
    std::copy(&LayerModel[0][0], &LayerModel[0][0] + kLayerRows * kLayerCols, &before[0][0]);
    const int16_t count = LayerCount;
    const double curve11 = ComputedCurve[1][1];
    const int16_t points = CurvePointCount;

    display_print();

    for (int i = 0; i < kLayerRows; ++i)
      for (int j = 0; j < kLayerCols; ++j) EXPECT_TRUE(LayerModel[i][j].identical(before[i][j])) << i << "," << j;
    EXPECT_EQ(LayerCount, count);
    EXPECT_EQ(ComputedCurve[1][1], curve11);
    EXPECT_EQ(CurvePointCount, points);
    int current = 0;
    for (const auto& s : CurveLines(Page(1))) current += s.colour != kStored;
    if (!c.computed || c.emptyModel) EXPECT_EQ(current, 0);
    EXPECT_EQ(Rectangles(Page(1), 0, 18).size(), 1u);  // the frame all the same
  }
}

// --- Location, model table, comment, footer -----------------------------------------

TEST_F(Report, LocationLine) {
  struct Case {
    const char *x, *y, *z, *azimuth;
    const char* want;  // nullptr: no line
  };
  const Case cases[] = {
      {"10", "20", "", "", "Location   X = 10    Y = 20"},
      {"10", "20", "312", "", "Location   X = 10    Y = 20    Z = 312"},
      {"10", "20", "312", "45", "Location   X = 10    Y = 20    Z = 312    Azim = 45"},
      {"10", "20", "", "45", "Location   X = 10    Y = 20    Z =     Azim = 45"},
      {"", "20", "312", "45", nullptr},
      {"10", "", "312", "45", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.x + QString("/") + c.y + "/" + c.z + "/" + c.azimuth).toStdString());
    SoundingX = c.x;
    SoundingY = c.y;
    SoundingZ = c.z;
    SoundingAzimuth = c.azimuth;
    display_print();
    int found = 0;
    for (const PageOp* op : TextOps(Page(1))) {
      if (!op->text.startsWith("Location")) continue;
      ++found;
      EXPECT_EQ(op->text, c.want);
      EXPECT_DOUBLE_EQ(op->y1, PlotOriginY + 15 * mm);
      EXPECT_DOUBLE_EQ(op->x1, kMargin);
      EXPECT_TRUE(op->bold);
    }
    EXPECT_EQ(found, c.want ? 1 : 0);
  }
}

TEST_F(Report, ModelTableWithAndWithoutAltitude) {
  struct Case {
    const char* z;
    bool altitude;
  };
  const Case cases[] = {{"", false}, {"0", false}, {"abc", false}, {"12.5", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.z);
    SoundingZ = c.z;
    if (c.altitude) UpdateLayerDepths();
    display_print();
    const PageContent& p = Page(1);
    const PageOp* model = FindText(p, "Model ");
    ASSERT_NE(model, nullptr);
    EXPECT_DOUBLE_EQ(model->y1, PlotOriginY + 22.5 * mm);
    EXPECT_TRUE(model->bold);
    const char* captions = c.altitude ? "Resistivity     Thickness      Depth        Altitude"
                                      : "Resistivity     Thickness      Depth";
    const PageOp* columns = FindText(p, captions);
    ASSERT_NE(columns, nullptr);
    EXPECT_DOUBLE_EQ(columns->y1, PlotOriginY + 27 * mm);
    EXPECT_TRUE(columns->bold);

    const double tableTop = PlotOriginY + 33 * mm;
    const auto rows = TableRows(p, tableTop);
    ASSERT_EQ(rows.size(), 4u);  // units, layers 1 and 2, half-space
    EXPECT_DOUBLE_EQ(RowAt(p, tableTop + PageDocument::kCellPaddingY).size(), rows[0].size());
    auto g = [](double v) { return FormatGridNumber(Cell(v)); };
    if (c.altitude) {
      EXPECT_EQ(rows[0], QStringList({U("[ohm·m]"), "[m]", "[m]", "[m]"}));
      EXPECT_EQ(rows[1], QStringList({" 50", g(2), g(12.5)}));  // no depth for layer 1
      EXPECT_EQ(rows[2], QStringList({" 20", g(10), g(2), g(10.5)}));
      EXPECT_EQ(rows[3], QStringList({" 200", g(12), g(0.5)}));  // no thickness for the half-space
    } else {
      EXPECT_EQ(rows[0], QStringList({U("[ohm·m]"), "[m]", "[m]"}));
      EXPECT_EQ(rows[1], QStringList({" 50", g(2)}));
      EXPECT_EQ(rows[2], QStringList({" 20", g(10), g(2)}));
      EXPECT_EQ(rows[3], QStringList({" 200", g(12)}));
    }
    for (const PageOp* op : TextOps(p))
      if (op->clipped) EXPECT_FALSE(op->bold);
  }
}

TEST_F(Report, NoModelBlockWithoutASecondPoint) {
  SetPoints({{1, 50}});
  display_print();
  EXPECT_EQ(FindText(Page(1), "Model "), nullptr);
  EXPECT_TRUE(TableRows(Page(1), 0).empty());
  const auto rows = TableRows(Page(2), TopY() + 14 * mm);
  ASSERT_EQ(rows.size(), 2u);  // units and point 1
  EXPECT_EQ(rows[1][1], " 1");
}

TEST_F(Report, NoModelBlockForASoundingWithoutAModel) {
  // Converted readings not interpreted yet: points, no layer at all.
  EmptyLayerModel();
  LayerCount = 0;
  display_print();
  EXPECT_EQ(FindText(Page(1), "Model "), nullptr);
  EXPECT_TRUE(TableRows(Page(1), PlotOriginY + 33 * mm).empty());
  // The field data are printed all the same.
  const auto rows = TableRows(Page(2), TopY() + 14 * mm);
  EXPECT_GT(rows.size(), 2u);
}

TEST_F(Report, ModelOfOneLayerPrintsTheHalfSpaceBelowIt) {
  SetLayers({{50, 0}});
  LayerModel[2][kLayerRho] = 70;
  display_print();
  const auto rows = TableRows(Page(1), PlotOriginY + 33 * mm);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], QStringList({" 50", FormatGridNumber(Cell(0.0))}));
  EXPECT_EQ(rows[2][0], " 70");
}

TEST_F(Report, CommentStandsAboveTheBottomUnlessTheTextReachedIt) {
  SoundingComment = "Near the well";
  display_print();
  const double commentY = Doc().PageHeight() - kMargin - 10 * mm;
  const PageOp* comment = FindText(Page(1), "Near the well");
  ASSERT_NE(comment, nullptr);
  EXPECT_DOUBLE_EQ(comment->y1, commentY);
  EXPECT_DOUBLE_EQ(comment->x1, kMargin);

  // A model whose table ends between the comment's line and the bottom
  // margin: the comment is left out.
  ReportPreview().FontSize = 12;
  const double rowHeight = ReportPreview().TableRowHeight();
  const double tableTop = PlotOriginY + 33 * mm;
  const double bottom = Doc().PageHeight() - kMargin;
  int layers = 0;
  for (int n = 1; n <= 19; ++n) {
    const double end = tableTop + (n + 2) * rowHeight;  // units, n layers, half-space
    if (end > commentY && end <= bottom) layers = n;
  }
  ASSERT_GT(layers, 0);
  EmptyLayerModel();
  for (int i = 1; i <= layers; ++i) {
    LayerModel[i][kLayerRho] = 10.0 * i;
    LayerModel[i][kLayerThickness] = 1.0;
  }
  LayerModel[layers + 1][kLayerRho] = 500.0;
  LayerCount = static_cast<int16_t>(layers + 1);
  display_print();
  ASSERT_EQ(Doc().PageCount(), 2);
  EXPECT_EQ(TableRows(Page(1), tableTop).size(), static_cast<size_t>(layers + 2));
  EXPECT_EQ(FindText(Page(1), "Near the well"), nullptr);
}

TEST_F(Report, LongTablesContinueOnTheNextPageWithTheirHeader) {
  // 20 layers and 51 points at 12 pt do not fit one A4 page each.
  EmptyLayerModel();
  for (int i = 1; i <= 20; ++i) {
    LayerModel[i][kLayerRho] = 10.0 * i;
    LayerModel[i][kLayerThickness] = i < 20 ? 1.0 : 0.0;
  }
  LayerCount = 20;
  EmptyFieldData();
  for (int i = 1; i <= 51; ++i) {
    FieldData[i][kSpacing1] = 1.0 * i;
    FieldData[i][kRhoApparent] = 100.0 + i;
  }
  PointCount = 51;
  display_print();
  ASSERT_EQ(Doc().PageCount(), 4);
  int layerRows = 0, pointRows = 0, unitRows = 0;
  for (int p = 1; p <= 4; ++p) {
    for (const auto& row : TableRows(Page(p), 0)) {
      if (row.isEmpty()) continue;
      if (row[0] == U("[ohm·m]")) ++unitRows;
      if (p <= 2 && row[0] != U("[ohm·m]")) ++layerRows;
      if (p >= 3 && row.size() == 6 && row[0] != "[m]" && row[0] != "MN/2") ++pointRows;
    }
  }
  EXPECT_EQ(layerRows, 20);
  EXPECT_EQ(pointRows, 51);
  EXPECT_EQ(unitRows, 2);  // the model table's header on both its pages
  // The field-data table's next page starts with the column names, in their
  // own columns, then the units.
  const auto continued = TableRows(Page(4), 0);
  ASSERT_GE(continued.size(), 3u);
  EXPECT_EQ(continued[0], QStringList({"MN/2", "AB/2", "DeltaV", "I", "K", "Resistivity"}));
  EXPECT_EQ(continued[1], QStringList({"[m]", "[m]", "[mV]", "[mA]", "[-]", U("[ohm·m]")}));
  const PageOp* names = FindText(Page(4), "MN/2");
  const PageOp* firstNames = FindText(Page(3), "MN/2");
  ASSERT_TRUE(names && firstNames);
  EXPECT_DOUBLE_EQ(names->x1, firstNames->x1);
  EXPECT_EQ(names->bold, firstNames->bold);
}

// The first report of a run, on the preview as it starts (cell lines on),
// for a sounding of one point: no model table sets the border off before the
// column names, which are written without cell lines all the same.
TEST_F(Report, TheColumnNamesOfAOnePointReportHaveNoCellLines) {
  ResetPreviews();
  ASSERT_NE(Doc().TableBorder, 0);
  EmptyFieldData();
  FieldData[1][kSpacing1] = 1.0;
  FieldData[1][kRhoApparent] = 50.0;
  PointCount = 1;
  display_print();
  const PageContent& data = Page(Doc().PageCount());
  ASSERT_NE(FindText(data, "MN/2"), nullptr);
  EXPECT_TRUE(Lines(data, 0, 10).empty());
}

TEST_F(Report, DataTableUnitsAndLength) {
  struct Case {
    const char* instrument;
    const char* volts;
    const char* amps;
  };
  const Case cases[] = {{"PASI", "[µV]", "[µA]"}, {"pasi", "[mV]", "[mA]"}, {"Syscal", "[mV]", "[mA]"}};
  // A point without resistivity ends the table.
  FieldData[4][kRhoApparent] = 0.0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.instrument);
    InstrumentName = c.instrument;
    display_print();
    const PageContent& p = Page(2);
    const PageOp* caption = FindText(p, "Field data and calculated values");
    ASSERT_NE(caption, nullptr);
    EXPECT_DOUBLE_EQ(caption->y1, TopY() + 2 * mm);
    const auto rows = TableRows(p, TopY() + 14 * mm);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], QStringList({"[m]", "[m]", U(c.volts), U(c.amps), "[-]", U("[ohm·m]")}));
    EXPECT_EQ(rows[3][1], " 10");
  }
}

TEST_F(Report, ResistivityWordByLanguage) {
  struct Case {
    int16_t* flag;
    const char* word;
    const char* caption8;
  };
  const Case cases[] = {{&IsFrench, "Résistivité", "Mesures de terrain et valeurs calculées"},
                        {&IsSpanish, "Resistividad", "Datos de campo y valores calculados"},
                        {&IsGerman, "Resistivität", "Felddaten und ausgerechnete Werte"},
                        {&IsEnglish, "Resistivity", "Field data and calculated values"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    IsFrench = IsSpanish = IsGerman = IsEnglish = kFalse;
    *c.flag = kTrue;
    display_print();
    EXPECT_NE(FindText(Page(2), U(c.caption8)), nullptr);
    const auto names = RowAt(Page(2), TopY() + 9 * mm + PageDocument::kCellPaddingY);
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.back(), U(c.word));
  }
}

TEST_F(Report, FooterOnEveryPage) {
  for (double width : {kA4WidthTwipsPage, kA4HeightTwipsPage}) {
    SCOPED_TRACE(width);
    ReportPreview().setPaperSize(width, width == kA4WidthTwipsPage ? kA4HeightTwipsPage : kA4WidthTwipsPage);
    display_print();
    EXPECT_EQ(Doc().Footer, "||Verdanta / Tellumo 6.4");
    for (int p = 1; p <= Doc().PageCount(); ++p) {
      SCOPED_TRACE(p);
      const PageOp* footer = FindText(Page(p), "Verdanta / Tellumo 6.4");
      ASSERT_NE(footer, nullptr);
      EXPECT_EQ(footer->fontSize, 10);
      EXPECT_NEAR(footer->x2, Doc().PageWidth() - kMargin, 1e-6);
      EXPECT_GT(footer->y1, Doc().PageHeight() - kMargin);
    }
  }
}

}  // namespace
}  // namespace tellumo
