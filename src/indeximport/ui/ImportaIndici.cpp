#include "indeximport/ui/ImportaIndici.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <fstream>

#include "indeximport/CsvText.h"
#include "indeximport/ImportTargets.h"
#include "indeximport/ValueText.h"
#include "platform/Format.h"
#include "platform/Strings.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Guard.h"
#include "startup/ui/AppContext.h"

namespace indeximport::ui {

namespace {

using platform::ui::button;
using platform::ui::caption;
using platform::ui::guarded;
using platform::ui::named;

QString text(const std::string& s) {
  return QString::fromStdString(s);
}
std::string text(const QString& s) {
  return platform::trim(s.toStdString());
}

// The entries of a format list: what is shown, and the option it stands for ("" automatic).
const std::vector<std::pair<QString, std::string>> kSeparators = {
    {"automatico", ""}, {"; punto e virgola", ";"}, {", virgola", ","}, {"tabulazione", "\t"}};
const std::vector<std::pair<QString, std::string>> kDateFormats = {
    {"automatico", ""},           {"gg/mm/aaaa", "dd/mm/yyyy"}, {"mm/gg/aaaa", "mm/dd/yyyy"},
    {"aaaa-mm-gg", "yyyy-mm-dd"}, {"gg-mm-aaaa", "dd-mm-yyyy"}, {"gg.mm.aaaa", "dd.mm.yyyy"}};
const std::vector<std::pair<QString, std::string>> kDecimals = {
    {"automatico", ""}, {"virgola (1.234,56)", ","}, {"punto (1,234.56)", "."}};

QComboBox* choiceList(QWidget* parent, const QString& name,
                      const std::vector<std::pair<QString, std::string>>& entries) {
  auto* list = named<QComboBox>(parent, name);
  for (const auto& [shown, option] : entries) list->addItem(shown, text(option));
  return list;
}

std::string chosen(const QComboBox* list) {
  return list->currentData().toString().toStdString();
}

// The format as the list of date formats names it: "gg/mm/aaaa", not the reader's "dd/mm/yyyy".
std::string dateFormatName(const DateFormat& format) {
  std::string name = format.name();
  for (const auto& [from, to] : {std::pair{"yyyy", "aaaa"}, std::pair{"dd", "gg"}})
    if (const auto at = name.find(from); at != std::string::npos)
      name.replace(at, std::string_view(from).size(), to);
  return name;
}

std::string decimalName(const FileRead& file) {
  if (!file.decimal) return "-";
  return *file.decimal == DecimalStyle::Italian ? "virgola (1.234,56)" : "punto (1,234.56)";
}

}  // namespace

ImportaIndici::ImportaIndici(startup::ui::AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("ImportaIndici"));
  setWindowTitle(QStringLiteral("Importa indici"));
  buildForm();
  busy_ = true;
  fillProducts();
  busy_ = false;
  choicesChanged();
}

void ImportaIndici::buildForm() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildChoices());
  layout->addWidget(buildFormats());
  LbFormati = named<QLabel>(this, "LbFormati");
  LbFormati->setWordWrap(true);
  // Three lines always: file, columns, formats; the preview takes the rest of the height.
  LbFormati->setMinimumHeight(LbFormati->fontMetrics().lineSpacing() * 3 + 4);
  LbFormati->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(LbFormati);
  GrdAnteprima = named<QTableWidget>(this, "GrdAnteprima");
  GrdAnteprima->setColumnCount(4);
  GrdAnteprima->setHorizontalHeaderLabels({"Riga", "Prodotto", "Data", "Valore"});
  GrdAnteprima->verticalHeader()->hide();
  // Single-line rows, so that the small screen shows more than a handful of them.
  GrdAnteprima->verticalHeader()->setDefaultSectionSize(GrdAnteprima->fontMetrics().height() + 6);
  // The values stay beside their dates; the product's column takes the width left over.
  GrdAnteprima->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  GrdAnteprima->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  GrdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(GrdAnteprima, 3);
  LbConteggi = named<QLabel>(this, "LbConteggi");
  layout->addWidget(LbConteggi);
  LstProblemi = named<QListWidget>(this, "LstProblemi");
  layout->addWidget(LstProblemi, 1);
  PbAvanzamento = named<QProgressBar>(this, "PbAvanzamento");
  PbAvanzamento->setValue(0);
  PbAvanzamento->hide();  // shown by "Importa": a preview writes nothing to follow
  layout->addWidget(PbAvanzamento);

  auto* buttons = new QHBoxLayout;
  CmdImporta = button(this, "CmdImporta", "&Importa");
  CmdStatistiche = button(this, "CmdStatistiche", "Apri &statistiche");
  auto* close = button(this, "CmdChiudi", "&Chiudi");
  buttons->addStretch();
  for (auto* b : {CmdImporta, CmdStatistiche, close}) buttons->addWidget(b);
  layout->addLayout(buttons);
  CmdStatistiche->setEnabled(false);
  connect(CmdImporta, &QPushButton::clicked, this, [this] { runImport(); });
  connect(CmdStatistiche, &QPushButton::clicked, this, [this] { openStatistics(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  QSize size(820, 700);
  if (const QScreen* screen = this->screen())
    size = size.boundedTo(screen->availableGeometry().size() * 0.95);
  resize(size);
}

QWidget* ImportaIndici::buildChoices() {
  auto* box = new QGroupBox(QStringLiteral("Prodotto e file"), this);
  auto* form = new QFormLayout(box);
  CmbProd = named<QComboBox>(box, "CmbProd");
  ChkNuovo = named<QCheckBox>(box, "ChkNuovo", "&Nuovo prodotto");
  auto* productRow = new QHBoxLayout;
  productRow->addWidget(CmbProd, 1);
  productRow->addWidget(ChkNuovo);
  form->addRow(caption(box, "Prodotto"), productRow);

  TxtCodice = named<QLineEdit>(box, "TxtCodice");
  TxtDescrizione = named<QLineEdit>(box, "TxtDescrizione");
  TxtMoneta = named<QLineEdit>(box, "TxtMoneta", text(ctx_.params.baseCurrency));
  CmbGruppo = named<QComboBox>(box, "CmbGruppo");
  CmbCategoria = named<QComboBox>(box, "CmbCategoria");
  const int listWidth = CmbGruppo->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM"));
  CmbGruppo->setMinimumWidth(listWidth);
  CmbCategoria->setMinimumWidth(listWidth);
  // A new product's facts on two lines: on one, the small screen left the description a
  // couple of letters wide.
  const auto fieldWidth = [box](const char* sample) {
    return box->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 16;
  };
  TxtCodice->setMaximumWidth(fieldWidth("MMMMMMMMMM"));
  TxtMoneta->setMaximumWidth(fieldWidth("MMMM"));
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(caption(box, "Codice"));
  nameRow->addWidget(TxtCodice, 1);
  nameRow->addWidget(caption(box, "Descrizione"));
  nameRow->addWidget(TxtDescrizione, 4);
  form->addRow(QString(), nameRow);
  auto* kindRow = new QHBoxLayout;
  kindRow->addWidget(caption(box, "Moneta"));
  kindRow->addWidget(TxtMoneta);
  kindRow->addWidget(caption(box, "Gruppo"));
  kindRow->addWidget(CmbGruppo);
  kindRow->addWidget(caption(box, "Categoria"));
  kindRow->addWidget(CmbCategoria);
  kindRow->addStretch();
  form->addRow(QString(), kindRow);

  TxtFile = named<QLineEdit>(box, "TxtFile");
  TxtFile->setReadOnly(true);
  auto* browse = button(box, "CmdSfoglia", "S&foglia...");
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(TxtFile, 1);
  fileRow->addWidget(browse);
  form->addRow(caption(box, "File CSV"), fileRow);

  connect(browse, &QPushButton::clicked, this, [this] { chooseFile(); });
  connect(CmbProd, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
  connect(ChkNuovo, &QCheckBox::toggled, this, [this] { choicesChanged(); });
  for (auto* edit : {TxtCodice, TxtDescrizione, TxtMoneta})
    connect(edit, &QLineEdit::editingFinished, this, [this] { choicesChanged(); });
  for (auto* list : {CmbGruppo, CmbCategoria})
    connect(list, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
  return box;
}

QWidget* ImportaIndici::buildFormats() {
  auto* box = new QGroupBox(QStringLiteral("Lettura del file"), this);
  auto* grid = new QGridLayout(box);
  CmbSeparatore = choiceList(box, "CmbSeparatore", kSeparators);
  CmbFormatoData = choiceList(box, "CmbFormatoData", kDateFormats);
  CmbDecimale = choiceList(box, "CmbDecimale", kDecimals);
  TxtColonne = named<QLineEdit>(box, "TxtColonne");
  TxtColonne->setPlaceholderText(QStringLiteral("automatiche"));
  TxtColonne->setMinimumWidth(
      TxtColonne->fontMetrics().horizontalAdvance(QStringLiteral("automatiche")) + 16);
  TxtColonne->setToolTip(QStringLiteral("DATA,VALORE: numeri (da 1) o nomi dell'intestazione"));
  ChkLungo = named<QCheckBox>(box, "ChkLungo", "prodotto;data;valore");
  ChkSovrascrivi = named<QCheckBox>(box, "ChkSovrascrivi", "S&ovrascrivi i conflitti");
  ChkScarta = named<QCheckBox>(box, "ChkScarta", "Scarta le righe &non leggibili");
  // Two lines, the formats over the choices, to leave the small screen's width and height to
  // the preview.
  int column = 0;
  for (const auto& [name, control] : {std::pair<const char*, QWidget*>{"Separatore", CmbSeparatore},
                                      {"Date", CmbFormatoData},
                                      {"Decimali", CmbDecimale},
                                      {"Colonne", TxtColonne}}) {
    grid->addWidget(caption(box, name), 0, column++);
    grid->addWidget(control, 0, column++);
  }
  grid->setColumnStretch(column, 1);
  auto* checks = new QHBoxLayout;
  for (auto* check : {ChkLungo, ChkSovrascrivi, ChkScarta}) {
    checks->addWidget(check);
    connect(check, &QCheckBox::toggled, this, [this] { choicesChanged(); });
  }
  checks->addStretch();
  grid->addLayout(checks, 1, 0, 1, column + 1);
  for (auto* list : {CmbSeparatore, CmbFormatoData, CmbDecimale})
    connect(list, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
  connect(TxtColonne, &QLineEdit::editingFinished, this, [this] { choicesChanged(); });
  return box;
}

void ImportaIndici::fillProducts() {
  auto& db = *ctx_.dbs.dataDb;
  for (const auto& row :
       db.snapshot("SELECT Codice, Descrizione FROM TabProdotti ORDER BY Codice")) {
    const std::string code = platform::trim(platform::valueText(row.at(0)));
    const std::string description = platform::trim(platform::valueText(row.at(1)));
    CmbProd->addItem(text(description.empty() ? code : code + " - " + description), text(code));
  }
  const int handedOver = CmbProd->findData(text(platform::trim(ctx_.params.productCode)));
  if (handedOver >= 0) CmbProd->setCurrentIndex(handedOver);
  CmbGruppo->addItem(QString(), QString());
  for (const auto& row : db.snapshot("SELECT GrpCodice FROM TabGruppi ORDER BY GrpCodice"))
    CmbGruppo->addItem(text(platform::valueText(row.at(0))), text(platform::valueText(row.at(0))));
  CmbCategoria->addItem(QString(), QString());
  for (const auto& row : db.snapshot("SELECT Codice FROM TabCategorie ORDER BY Codice"))
    CmbCategoria->addItem(text(platform::valueText(row.at(0))),
                          text(platform::valueText(row.at(0))));
}

void ImportaIndici::setFile(const QString& path) {
  TxtFile->setText(path);
  choicesChanged();
}

void ImportaIndici::chooseFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("File degli indici"), text(ctx_.params.impExpFolder),
      QStringLiteral("File CSV (*.csv *.txt);;Tutti i file (*)"));
  if (!path.isEmpty()) setFile(path);
}

void ImportaIndici::choicesChanged() {
  const bool longForm = ChkLungo->isChecked();
  const bool creating = ChkNuovo->isChecked() && !longForm;
  CmbProd->setEnabled(!creating && !longForm);
  ChkNuovo->setEnabled(!longForm);
  for (QWidget* w : std::initializer_list<QWidget*>{TxtCodice, TxtDescrizione, TxtMoneta, CmbGruppo,
                                                    CmbCategoria})
    w->setEnabled(creating);
  if (busy_) return;
  guarded(this, ctx_.desktop, [this] { refreshPreview(); });
}

ImportParams ImportaIndici::params(bool dryRun, std::string& problem) const {
  ImportParams params;
  params.read.longForm = ChkLungo->isChecked();
  if (!params.read.longForm) {
    if (ChkNuovo->isChecked()) {
      params.products = {text(TxtCodice->text())};
      params.create = NewProduct{text(TxtDescrizione->text()), text(TxtMoneta->text()),
                                 chosen(CmbGruppo), chosen(CmbCategoria)};
    } else {
      params.products = {chosen(CmbProd)};
    }
  }
  if (const std::string columns = text(TxtColonne->text()); !columns.empty())
    params.read.columns = {columns};
  if (const std::string separator = chosen(CmbSeparatore); !separator.empty())
    params.read.separator = separator == "\t" ? '\t' : separator.front();
  if (const std::string format = chosen(CmbFormatoData); !format.empty())
    params.read.dateFormat = DateFormat::parse(format);
  if (const std::string decimal = chosen(CmbDecimale); !decimal.empty())
    params.read.decimal = decimal == "," ? DecimalStyle::Italian : DecimalStyle::English;
  params.overwrite = ChkSovrascrivi->isChecked();
  params.skipBad = ChkScarta->isChecked();
  params.dryRun = dryRun;
  problem = suiteFileRefusal(ctx_.params, params.create.has_value());
  if (problem.empty() && TxtFile->text().isEmpty()) problem = "scegliere il file da importare";
  return params;
}

ImportResult ImportaIndici::run(const ImportParams& params) {
  std::string bytes;
  std::ifstream in(TxtFile->text().toStdString(), std::ios::binary);
  if (!in || !readBounded(in, bytes))
    throw std::runtime_error("FILE " + text(TxtFile->text()) + " NON LEGGIBILE");
  const auto target = openIndexTarget(ctx_.dbs);
  return importIndex(std::move(bytes), params, {*ctx_.dbs.dataDb, *target});
}

void ImportaIndici::refreshPreview() {
  CmdImporta->setEnabled(false);
  std::string problem;
  const ImportParams preview = params(true, problem);
  if (!problem.empty()) {
    GrdAnteprima->setRowCount(0);
    LbFormati->clear();
    LbConteggi->setText(text(problem));
    LstProblemi->clear();
    return;
  }
  const ImportResult result = run(preview);
  showResult(result, false);
  CmdImporta->setEnabled(result.status == ImportStatus::Imported);
}

void ImportaIndici::runImport() {
  guarded(this, ctx_.desktop, [this] {
    std::string problem;
    ImportParams write = params(false, problem);
    if (!problem.empty()) throw std::runtime_error(problem);
    write.progress = [this](long long done, long long total) {
      PbAvanzamento->setMaximum(static_cast<int>(std::max(1LL, total)));
      PbAvanzamento->setValue(static_cast<int>(done));
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    CmdImporta->setEnabled(false);
    PbAvanzamento->show();
    ctx_.desktop.setWaitCursor(true);
    const ImportResult result = run(write);
    ctx_.desktop.setWaitCursor(false);
    showResult(result, result.written);
    if (result.written && result.products.size() == 1) {
      importedProduct_ = result.products.front().code;
      CmdStatistiche->setEnabled(true);
    }
  });
}

void ImportaIndici::openStatistics() {
  statisticsProduct_ = importedProduct_;
  accept();
}

void ImportaIndici::showResult(const ImportResult& result, bool written) {
  const FileRead& file = result.file;
  QString formats;
  if (!file.encoding.empty()) {
    formats = text("File " + file.encoding + ", separatore " + separatorName(file.separator) +
                   (file.header ? ", con intestazione" : ", senza intestazione"));
    if (!file.columns.empty()) formats += text("\nColonne: " + file.columns);
    if (file.dateFormat)
      formats +=
          text("\nDate: " + dateFormatName(*file.dateFormat) +
               (file.dateFormatAssumed ? " (giorno e mese indistinguibili: giorno prima)" : "") +
               "    Decimali: " + decimalName(file));
  }
  LbFormati->setText(formats);
  showPreviewRows(file);

  LstProblemi->clear();
  if (!result.message.empty())
    LstProblemi->addItem(text("IMPORTAZIONE RIFIUTATA: " + result.message));
  if (result.status == ImportStatus::Refused && file.badCount > 0 && !ChkScarta->isChecked())
    LstProblemi->addItem(
        QStringLiteral("Spuntare \"Scarta le righe non leggibili\" per importare le altre righe"));
  for (const auto& bad : file.badLines)
    LstProblemi->addItem(
        text("riga " + std::to_string(bad.line) + ": " + bad.reason + "  |  " + bad.text));
  for (const auto& r : result.repeated)
    LstProblemi->addItem(text("data " + platform::formatDate(r.day) + " ripetuta alle righe " +
                              std::to_string(r.earlierLine) + " e " + std::to_string(r.line) +
                              " con valori diversi"));
  for (const auto& product : result.products) {
    for (const auto& c : product.conflictList)
      LstProblemi->addItem(text("conflitto " + product.code + " " + platform::formatDate(c.day) +
                                ": archiviato " + valueText(c.stored) + ", nel file " +
                                valueText(c.file)));
    for (const auto& low : product.lowValues)
      LstProblemi->addItem(text("valore non superiore a 1 il " + platform::formatDate(low.day) +
                                ": " + valueText(low.value) +
                                " (la vista mensile lo mostra vuoto)"));
  }
  const std::string lines = "Righe lette " + std::to_string(file.linesRead) + ", non leggibili " +
                            std::to_string(file.badCount) + "   |   ";
  // A refused file is never compared with the stored series: no counts to show.
  if (result.status != ImportStatus::Imported) {
    LbConteggi->setText(text(lines + "nulla da importare: vedere sotto"));
    return;
  }
  const char* verb = written ? "" : "da ";
  LbConteggi->setText(
      text(lines + verb + "aggiungere: " + std::to_string(result.total(&ProductImport::added)) +
           ", invariati: " + std::to_string(result.total(&ProductImport::unchanged)) + ", " + verb +
           "sostituire: " + std::to_string(result.total(&ProductImport::replaced)) +
           ", conflitti: " + std::to_string(result.total(&ProductImport::conflicts)) +
           (written ? "   |   IMPORTATI" : "")));
}

void ImportaIndici::showPreviewRows(const FileRead& file) {
  GrdAnteprima->setRowCount(0);
  const auto add = [this](const std::vector<QString>& cells) {
    const int row = GrdAnteprima->rowCount();
    GrdAnteprima->insertRow(row);
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      auto* item = new QTableWidgetItem(cells[static_cast<std::size_t>(c)]);
      if (c != 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      GrdAnteprima->setItem(row, c, item);
    }
  };
  const bool longForm = ChkLungo->isChecked();
  const auto shownCode = [&](const ShownRecord& r) {
    return longForm               ? text(r.code)
           : CmbProd->isEnabled() ? text(chosen(CmbProd))
                                  : TxtCodice->text();
  };
  for (const auto* part : {&file.head, &file.tail}) {
    if (part == &file.tail && !file.tail.empty()) add({"...", "", "", ""});
    for (const auto& r : *part)
      add({QString::number(r.line), shownCode(r), text(platform::formatDate(r.day)),
           text(valueText(r.value, r.decimals))});
  }
}

void openImportWindow(startup::ui::AppContext& ctx, QWidget* parent,
                      const std::function<void(int code)>& openFunction) {
  ImportaIndici window(ctx, parent);
  window.exec();
  if (window.statisticsProduct().empty()) return;
  ctx.params.productCode = window.statisticsProduct();
  openFunction(0);
}

}  // namespace indeximport::ui
