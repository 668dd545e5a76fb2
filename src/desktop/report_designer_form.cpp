#include "desktop/report_designer_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/qt_text.h"
#include "desktop/report_pages.h"

namespace qbk::desktop {

namespace {

using namespace host::report;

const QStringList kAligns{"Esquerda", "Centro", "Direita"};
const QStringList kParamTypes{"Texto", "Número", "Lista"};
constexpr int kSampleRows = 12;

enum ColumnCell { kCaption, kField, kWidth, kAlign, kFormat };

QComboBox* choices(const QStringList& items, int index) {
  auto* box = new QComboBox;
  box->addItems(items);
  box->setCurrentIndex(index);
  return box;
}

QDoubleSpinBox* millimetres(double value, double max) {
  auto* spin = new QDoubleSpinBox;
  spin->setRange(0, max);
  spin->setDecimals(1);
  spin->setSuffix(" mm");
  spin->setValue(value);
  return spin;
}

std::string cell(const QTableWidget* t, int row, int col) {
  const QTableWidgetItem* item = t->item(row, col);
  return item ? ss(item->text().trimmed()) : std::string();
}

int comboAt(const QTableWidget* t, int row, int col) {
  auto* box = qobject_cast<QComboBox*>(t->cellWidget(row, col));
  return box ? box->currentIndex() : 0;
}

bool hasItem(const std::vector<BandItem>& band, BandItemKind kind) {
  return std::any_of(band.begin(), band.end(), [&](const BandItem& b) { return b.kind == kind; });
}

// Puts an item of `kind` in the band or takes it out; an item already there keeps its place
// and alignment.
void setItem(std::vector<BandItem>& band, BandItemKind kind, Align align, bool on) {
  if (on == hasItem(band, kind)) return;
  if (!on) {
    std::erase_if(band, [&](const BandItem& b) { return b.kind == kind; });
  } else {
    band.push_back({kind, align, ""});
  }
}

// Rows to lay out the preview with: each cell names its field, numbers show their format.
ReportData sampleRows(const ReportDefinition& d) {
  ReportData data;
  for (const ReportColumn& c : d.columns) data.fields.push_back(c.field);
  for (int r = 0; r < kSampleRows; ++r) {
    data::Row& row = data.rows.emplace_back();
    for (const ReportColumn& c : d.columns) {
      if (!c.format.empty()) {
        row.emplace_back(1234.5 * (r + 1));
      } else {
        row.emplace_back(c.field + " " + std::to_string(r + 1));
      }
    }
  }
  if (!d.groupField.empty() && !d.column(d.groupField)) {
    data.fields.push_back(d.groupField);
    for (data::Row& row : data.rows) row.emplace_back(d.groupField);
  }
  return data;
}

}  // namespace

ReportDesignerWindow::ReportDesignerWindow(ReportDefinition definition, QString path,
                                           QWidget* parent)
    : QDialog(parent), original_(std::move(definition)), path_(std::move(path)) {
  setObjectName("reportDesigner");
  setWindowTitle("Editor de Relatório - " + path_);
  resize(1100, 720);
  auto* layout = new QHBoxLayout(this);
  auto* tabs = new QTabWidget;
  tabs->setObjectName("tabsDesigner");
  layout->addWidget(tabs, 1);

  // The report.
  auto* general = new QWidget;
  auto* form = new QFormLayout(general);
  title_ = new QLineEdit(qs(original_.title));
  title_->setObjectName("edtTitulo");
  form->addRow("Título", title_);
  form->addRow("Código", new QLabel(qs(original_.code)));
  fontSize_ = new QDoubleSpinBox;
  fontSize_->setObjectName("spnFonte");
  fontSize_->setRange(4, 36);
  fontSize_->setSuffix(" pt");
  fontSize_->setValue(original_.fontSize);
  form->addRow("Tamanho da letra", fontSize_);
  tabs->addTab(general, "Relatório");

  // Columns.
  auto* columnsPage = new QWidget;
  auto* columnsLayout = new QVBoxLayout(columnsPage);
  columns_ = new QTableWidget(0, 5);
  columns_->setObjectName("tblColunas");
  columns_->setHorizontalHeaderLabels(
      {"Título", "Campo", "Largura (mm)", "Alinhamento", "Formato"});
  columns_->horizontalHeader()->setStretchLastSection(true);
  columnsLayout->addWidget(columns_);
  auto* columnButtons = new QHBoxLayout;
  auto button = [](const char* name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    return b;
  };
  QPushButton* addCol = button("btnIncluirColuna", "Incluir");
  QPushButton* delCol = button("btnExcluirColuna", "Excluir");
  QPushButton* upCol = button("btnSubirColuna", "Subir");
  QPushButton* downCol = button("btnDescerColuna", "Descer");
  for (QPushButton* b : {addCol, delCol, upCol, downCol}) columnButtons->addWidget(b);
  columnButtons->addStretch();
  columnsLayout->addLayout(columnButtons);
  tabs->addTab(columnsPage, "Colunas");

  // Query.
  auto* queryPage = new QWidget;
  auto* queryLayout = new QVBoxLayout(queryPage);
  sql_ = new QPlainTextEdit(qs(original_.sql));
  sql_->setObjectName("edtConsulta");
  sql_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  queryLayout->addWidget(new QLabel("Consulta (parâmetros com dois-pontos: :CDBANCO)"));
  queryLayout->addWidget(sql_, 2);
  params_ = new QTableWidget(0, 2);
  params_->setObjectName("tblParametros");
  params_->setHorizontalHeaderLabels({"Parâmetro", "Tipo"});
  params_->horizontalHeader()->setStretchLastSection(true);
  queryLayout->addWidget(params_, 1);
  auto* paramButtons = new QHBoxLayout;
  QPushButton* addParamButton = button("btnIncluirParametro", "Incluir");
  QPushButton* delParam = button("btnExcluirParametro", "Excluir");
  paramButtons->addWidget(addParamButton);
  paramButtons->addWidget(delParam);
  paramButtons->addStretch();
  queryLayout->addLayout(paramButtons);
  tabs->addTab(queryPage, "Consulta");

  // Page.
  auto* pagePage = new QWidget;
  auto* pageForm = new QFormLayout(pagePage);
  paper_ = choices({"A4", "Letter", "Legal"}, 0);
  paper_->setObjectName("cbbTamanho");
  paper_->setCurrentText(qs(original_.page.size));
  orientation_ = choices({"Retrato", "Paisagem"},
                         original_.page.orientation == Orientation::Landscape ? 1 : 0);
  orientation_->setObjectName("cbbOrientacao");
  left_ = millimetres(original_.page.marginLeft, 100);
  top_ = millimetres(original_.page.marginTop, 100);
  right_ = millimetres(original_.page.marginRight, 100);
  bottom_ = millimetres(original_.page.marginBottom, 100);
  pageForm->addRow("Tamanho", paper_);
  pageForm->addRow("Orientação", orientation_);
  pageForm->addRow("Margem esquerda", left_);
  pageForm->addRow("Margem superior", top_);
  pageForm->addRow("Margem direita", right_);
  pageForm->addRow("Margem inferior", bottom_);
  printedAt_ = new QCheckBox("Data e hora da impressão no cabeçalho");
  titleItem_ = new QCheckBox("Título no cabeçalho");
  pageNumber_ = new QCheckBox("Página \"n de m\" no cabeçalho");
  footerPage_ = new QCheckBox("Página \"n de m\" no rodapé");
  printedAt_->setChecked(hasItem(original_.header, BandItemKind::PrintedAt));
  titleItem_->setChecked(hasItem(original_.header, BandItemKind::Title));
  pageNumber_->setChecked(hasItem(original_.header, BandItemKind::PageNumber));
  footerPage_->setChecked(hasItem(original_.footer, BandItemKind::PageNumber));
  for (QCheckBox* c : {printedAt_, titleItem_, pageNumber_, footerPage_}) pageForm->addRow(c);
  tabs->addTab(pagePage, "Página");

  // The preview, beside the settings.
  auto* right = new QVBoxLayout;
  pages_ = new QLabel;
  pages_->setObjectName("lblPaginas");
  right->addWidget(pages_);
  page_ = new ReportPageWidget(&preview_);
  scroll_ = new QScrollArea;
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->setAlignment(Qt::AlignHCenter);
  scroll_->setWidget(page_);
  right->addWidget(scroll_, 1);
  auto* buttons = new QDialogButtonBox;
  QPushButton* saveButton = buttons->addButton("Salvar", QDialogButtonBox::AcceptRole);
  saveButton->setObjectName("btnSalvar");
  buttons->addButton("Fechar", QDialogButtonBox::RejectRole);
  right->addWidget(buttons);
  layout->addLayout(right, 1);

  for (const ReportColumn& c : original_.columns) addColumn(c);
  for (const ReportParamDef& p : original_.params) addParam(p);
  loading_ = false;

  auto changed = [this] { refreshPreview(); };
  connect(title_, &QLineEdit::textChanged, this, changed);
  connect(fontSize_, &QDoubleSpinBox::valueChanged, this, changed);
  connect(columns_, &QTableWidget::itemChanged, this, changed);
  connect(paper_, &QComboBox::currentIndexChanged, this, changed);
  connect(orientation_, &QComboBox::currentIndexChanged, this, changed);
  for (QDoubleSpinBox* s : {left_, top_, right_, bottom_})
    connect(s, &QDoubleSpinBox::valueChanged, this, changed);
  for (QCheckBox* c : {printedAt_, titleItem_, pageNumber_, footerPage_})
    connect(c, &QCheckBox::toggled, this, changed);
  connect(addCol, &QPushButton::clicked, this, [this] {
    addColumn({"Nova coluna", "", 30, Align::Left, ""});
    columns_->setCurrentCell(columns_->rowCount() - 1, kField);
  });
  connect(delCol, &QPushButton::clicked, this, [this] {
    if (columns_->currentRow() >= 0) columns_->removeRow(columns_->currentRow());
    refreshPreview();
  });
  connect(upCol, &QPushButton::clicked, this, [this] { moveColumn(-1); });
  connect(downCol, &QPushButton::clicked, this, [this] { moveColumn(1); });
  connect(addParamButton, &QPushButton::clicked, this, [this] {
    addParam({"P_NOVO", ParamType::Text});
  });
  connect(delParam, &QPushButton::clicked, this, [this] {
    if (params_->currentRow() >= 0) params_->removeRow(params_->currentRow());
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(saveButton, &QPushButton::clicked, this, [this] {
    QString error;
    if (save(error)) {
      accept();
    } else {
      QMessageBox::critical(this, "Erro", error);
    }
  });
  refreshPreview();
}

void ReportDesignerWindow::addColumn(const ReportColumn& c) {
  const int row = columns_->rowCount();
  const bool wasLoading = std::exchange(loading_, true);
  columns_->insertRow(row);
  columns_->setItem(row, kCaption, new QTableWidgetItem(qs(c.caption)));
  columns_->setItem(row, kField, new QTableWidgetItem(qs(c.field)));
  columns_->setItem(row, kWidth, new QTableWidgetItem(QString::number(c.width)));
  QComboBox* align = choices(kAligns, static_cast<int>(c.align));
  connect(align, &QComboBox::currentIndexChanged, this, [this] { refreshPreview(); });
  columns_->setCellWidget(row, kAlign, align);
  columns_->setItem(row, kFormat, new QTableWidgetItem(qs(c.format)));
  loading_ = wasLoading;
  refreshPreview();
}

void ReportDesignerWindow::addParam(const ReportParamDef& p) {
  const int row = params_->rowCount();
  params_->insertRow(row);
  params_->setItem(row, 0, new QTableWidgetItem(qs(p.name)));
  params_->setCellWidget(row, 1, choices(kParamTypes, static_cast<int>(p.type)));
}

void ReportDesignerWindow::moveColumn(int by) {
  const int row = columns_->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= columns_->rowCount()) return;
  const std::vector<ReportColumn> cols = definition().columns;
  std::vector<ReportColumn> moved = cols;
  std::swap(moved[row], moved[to]);
  loading_ = true;
  columns_->setRowCount(0);
  for (const ReportColumn& c : moved) addColumn(c);
  loading_ = false;
  columns_->setCurrentCell(to, kCaption);
  refreshPreview();
}

ReportDefinition ReportDesignerWindow::definition() const {
  ReportDefinition d = original_;
  d.title = ss(title_->text());
  d.fontSize = fontSize_->value();
  d.sql = ss(sql_->toPlainText());
  d.columns.clear();
  for (int r = 0; r < columns_->rowCount(); ++r) {
    ReportColumn c;
    c.caption = cell(columns_, r, kCaption);
    c.field = cell(columns_, r, kField);
    bool ok = false;
    const double width = qs(cell(columns_, r, kWidth)).replace(',', '.').toDouble(&ok);
    c.width = ok && width > 0 ? width : 30;
    c.align = static_cast<Align>(comboAt(columns_, r, kAlign));
    c.format = cell(columns_, r, kFormat);
    d.columns.push_back(std::move(c));
  }
  d.params.clear();
  for (int r = 0; r < params_->rowCount(); ++r) {
    const std::string name = cell(params_, r, 0);
    if (!name.empty()) d.params.push_back({name, static_cast<ParamType>(comboAt(params_, r, 1))});
  }
  d.page.size = ss(paper_->currentText());
  d.page.orientation =
      orientation_->currentIndex() == 1 ? Orientation::Landscape : Orientation::Portrait;
  d.page.marginLeft = left_->value();
  d.page.marginTop = top_->value();
  d.page.marginRight = right_->value();
  d.page.marginBottom = bottom_->value();
  setItem(d.header, BandItemKind::PrintedAt, Align::Left, printedAt_->isChecked());
  setItem(d.header, BandItemKind::Title, Align::Center, titleItem_->isChecked());
  setItem(d.header, BandItemKind::PageNumber, Align::Right, pageNumber_->isChecked());
  setItem(d.footer, BandItemKind::PageNumber, Align::Right, footerPage_->isChecked());
  return d;
}

bool ReportDesignerWindow::save(QString& error) {
  const ReportDefinition d = definition();
  try {
    // Read back before writing: what is saved must open again.
    const ReportDefinition checked = parseReportDefinition(writeReportDefinition(d));
    for (const ReportColumn& c : checked.columns) {
      if (c.field.empty()) throw ReportError("Há uma coluna sem campo.");
    }
    saveReportDefinition(checked, ss(path_));
    return true;
  } catch (const std::exception& e) {
    error = qs(e.what());
    return false;
  }
}

void ReportDesignerWindow::refreshPreview() {
  if (loading_) return;
  const ReportDefinition d = definition();
  if (d.columns.empty()) {
    preview_ = {};
    preview_.pages.emplace_back();
  } else {
    preview_ = layoutReport(d, sampleRows(d));
  }
  page_->setDocument(&preview_);
  // The whole width of the sheet in view, landscape or not.
  const double sheet = preview_.width * logicalDpiX() / 25.4;
  page_->show(0, std::clamp((scroll_->viewport()->width() - 8) / sheet, 0.3, 1.0));
  pages_->setText(QString("Visualização: %1 página(s) com %2 linhas de exemplo")
                      .arg(preview_.pages.size())
                      .arg(kSampleRows));
}

}  // namespace qbk::desktop
