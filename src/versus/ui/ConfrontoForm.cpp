#include "versus/ui/ConfrontoForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ui/FormControls.h"
#include "versus/VersusPeriod.h"
#include "versus/ui/VersusChart.h"
#include "versus/ui/VersusTable.h"

namespace versus::ui {

using namespace platform::ui;  // the control makers

namespace {

// The presets in the order the period list shows them; its entries carry them as data.
constexpr Preset kPresets[] = {Preset::YearToDate, Preset::OneYear,  Preset::ThreeYears,
                               Preset::FiveYears,  Preset::TenYears, Preset::Longest,
                               Preset::Chosen};

QDateEdit* dateEdit(QWidget* parent, const QString& name) {
  auto* edit = named<QDateEdit>(parent, name);
  edit->setDisplayFormat("dd/MM/yyyy");
  edit->setCalendarPopup(true);
  edit->setEnabled(false);
  return edit;
}

QLabel* note(QWidget* parent, const QString& name) {
  auto* label = named<QLabel>(parent, name);
  label->setWordWrap(true);
  return label;
}

}  // namespace

ConfrontoForm::ConfrontoForm(QDialog* window) {
  pages = named<QStackedWidget>(window, "pages");
  pages->addWidget(buildResults(pages));
  pages->addWidget(buildChooser(pages));
  auto* row = new QHBoxLayout(window);
  row->setContentsMargins(6, 6, 6, 6);
  row->addWidget(buildSide(window));
  row->addWidget(pages, 1);
}

QWidget* ConfrontoForm::buildSide(QDialog* window) {
  auto* side = frame(window, "PctScelte");
  side->setFixedWidth(320);
  LstProdotti = named<QListWidget>(side, "LstProdotti");
  LstProdotti->setFixedHeight(LstProdotti->fontMetrics().height() * 9 + 12);
  CmdAggiungi = button(side, "CmdAggiungi", "&Aggiungi...");
  CmdTogli = button(side, "CmdTogli", "&Togli");
  auto* change = new QHBoxLayout;
  change->addWidget(CmdAggiungi);
  change->addWidget(CmdTogli);
  CmbBenchmark = named<QComboBox>(side, "CmbBenchmark");
  CmbPeriodo = named<QComboBox>(side, "CmbPeriodo");
  for (Preset preset : kPresets)
    CmbPeriodo->addItem(QString::fromStdString(presetLabel(preset)), static_cast<int>(preset));
  CmbPeriodo->setCurrentIndex(CmbPeriodo->findData(static_cast<int>(Preset::Longest)));
  DtDal = dateEdit(side, "DtDal");
  DtAl = dateEdit(side, "DtAl");
  auto* choices = new QFormLayout;
  choices->addRow("Benchmark", CmbBenchmark);
  choices->addRow("Periodo", CmbPeriodo);
  choices->addRow("dal", DtDal);
  choices->addRow("al", DtAl);
  LbPeriodo = note(side, "LbPeriodo");
  LbSenzaRischio = note(side, "LbSenzaRischio");
  LbMessaggio = note(side, "LbMessaggio");
  LbMessaggio->setStyleSheet("color: rgb(200, 0, 0);");
  CmdEnd = button(side, "CmdEnd", "&USCITA");
  buttons = new QVBoxLayout;
  auto* column = new QVBoxLayout(side);
  column->addWidget(caption(side, "Prodotti a confronto (il primo in evidenza)"));
  column->addWidget(LstProdotti);
  column->addLayout(change);
  column->addLayout(choices);
  column->addWidget(LbPeriodo);
  column->addWidget(LbSenzaRischio);
  column->addWidget(LbMessaggio);
  column->addStretch(1);
  column->addLayout(buttons);
  column->addWidget(CmdEnd);
  return side;
}

QWidget* ConfrontoForm::buildResults(QWidget* parent) {
  auto* split = named<QSplitter>(parent, "results");
  split->setOrientation(Qt::Vertical);
  auto* chartBox = named<QWidget>(split, "chartBox");
  Legenda = named<QLabel>(chartBox, "LegendaConfronto");
  Grafico = new VersusChart(Legenda, chartBox);
  auto* chartLayout = new QVBoxLayout(chartBox);
  chartLayout->setContentsMargins(0, 0, 0, 0);
  chartLayout->setSpacing(0);
  chartLayout->addWidget(Grafico, 1);
  chartLayout->addWidget(Legenda);
  auto* tables = new QSplitter(Qt::Horizontal, split);
  TbCifre = new VersusTable("TbCifre", false, tables);
  TabTabelle = named<QTabWidget>(tables, "TabTabelle");
  TbAnni = new VersusTable("TbAnni", false, TabTabelle);
  TbCorrelazioni = new VersusTable("TbCorrelazioni", true, TabTabelle);
  TabTabelle->addTab(TbAnni, "Anno per anno");
  TabTabelle->addTab(TbCorrelazioni, "Correlazioni");
  tables->addWidget(TbCifre);
  tables->addWidget(TabTabelle);
  tables->setStretchFactor(0, 3);
  tables->setStretchFactor(1, 2);
  split->addWidget(chartBox);
  split->addWidget(tables);
  // The chart takes the larger part; the tables scroll when they are long.
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  split->setSizes({3000, 2000});
  tables->setSizes({3000, 2000});
  return split;
}

QWidget* ConfrontoForm::buildChooser(QWidget* parent) {
  auto* chooser = frame(parent, "PctProdotti");
  TxtCerca = named<QLineEdit>(chooser, "TxtCerca");
  TxtCerca->setPlaceholderText("cerca per codice o descrizione");
  TxtCerca->setClearButtonEnabled(true);
  CmbProd = named<QListWidget>(chooser, "CmbProd");
  // Product lines are padded into columns: a fixed-width font keeps them aligned.
  CmbProd->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  CmdChiudi = button(chooser, "CmdChiudi", "&Chiudi");
  auto* top = new QHBoxLayout;
  top->addWidget(caption(chooser, "Scegli il prodotto da aggiungere"));
  top->addWidget(TxtCerca, 1);
  top->addWidget(CmdChiudi);
  auto* column = new QVBoxLayout(chooser);
  column->addLayout(top);
  column->addWidget(CmbProd, 1);
  return chooser;
}

}  // namespace versus::ui
