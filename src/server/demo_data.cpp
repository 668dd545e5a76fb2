#include "server/demo_data.h"

#include <array>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/catalog.h"

namespace qbk::server {

namespace {

using db::Value;
using Fields = std::vector<std::pair<std::string, Value>>;

Value text(const char* s) {
  return s ? Value(std::string(s)) : Value();
}

void insert(db::Connection& c, const std::string& table, const Fields& fields) {
  std::string columns, marks;
  std::vector<Value> values;
  for (const auto& [name, value] : fields) {
    columns += (columns.empty() ? "" : ", ") + name;
    marks += marks.empty() ? "?" : ", ?";
    values.push_back(value);
  }
  c.execute("INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")", values);
}

// Modulo-11 check digit of the registration numbers: weights run down to 2 from the
// right; a remainder below 2 gives 0.
char mod11Digit(std::string_view digits, int firstWeight, int wrapAt) {
  int sum = 0;
  int weight = firstWeight;
  for (char d : digits) {
    sum += (d - '0') * weight;
    weight = weight == 2 ? wrapAt : weight - 1;
  }
  const int rest = sum % 11;
  return static_cast<char>('0' + (rest < 2 ? 0 : 11 - rest));
}

// CPF from its first nine digits.
std::string cpf(std::string base) {
  base += mod11Digit(base, 10, 10);
  base += mod11Digit(base, 11, 11);
  return base;
}

// CNPJ from its first twelve digits (root and branch); weights wrap from 2 back to 9.
std::string cnpj(std::string base) {
  base += mod11Digit(base, 5, 9);
  base += mod11Digit(base, 6, 9);
  return base;
}

struct DemoBank {
  const char* code;
  const char* name;
  const char* agencyMask;
  const char* accountMask;
  double extensionDays;  // 0: not set
};

// Clearing-house codes and names as the banks are known at the clearing house.
constexpr std::array<DemoBank, 27> kBanks{{
    {"001", "Banco do Brasil S.A.", "9999-a", "99999999-a", 2},
    {"004", "Banco do Nordeste do Brasil", "9999", "9999999-9", 0},
    {"021", "Banestes S.A.", "9999", "99999999-9", 0},
    {"033", "Banco Santander (Brasil) S.A.", "9999", "99999999-9", 1},
    {"037", "Banco do Estado do Pará S.A.", "9999", "999999999-9", 0},
    {"041", "Banrisul S.A.", "9999", "999999999-9", 0},
    {"070", "BRB - Banco de Brasília S.A.", "9999", "999999999-9", 0},
    {"077", "Banco Inter S.A.", "9999", "9999999-9", 0},
    {"085", "Cooperativa Central Ailos", "9999", "9999999-9", 0},
    {"104", "Caixa Econômica Federal", "9999", "99999999-9", 3},
    {"136", "Banco Cooperativo Unicred S.A.", "9999", "99999999-9", 0},
    {"208", "Banco BTG Pactual S.A.", "9999", "9999999-9", 0},
    {"212", "Banco Original S.A.", "9999", "9999999-9", 0},
    {"237", "Banco Bradesco S.A.", "9999-9", "9999999-a", 3},
    {"246", "Banco ABC Brasil S.A.", "9999", "9999999-9", 0},
    {"260", "Nu Pagamentos S.A.", "9999", "9999999-9", 0},
    {"318", "Banco BMG S.A.", "9999", "9999999-9", 0},
    {"336", "Banco C6 S.A.", "9999", "99999999-9", 0},
    {"341", "Itaú Unibanco S.A.", "9999", "99999-9", 2},
    {"389", "Banco Mercantil do Brasil S.A.", "9999", "99999999-9", 0},
    {"399", "HSBC Bank Brasil S.A.", "9999", "999999-99", 0},
    {"422", "Banco Safra S.A.", "9999", "99999999-9", 1},
    {"623", "Banco Pan S.A.", "9999", "9999999-9", 0},
    {"655", "Banco Votorantim S.A.", "9999", "9999999-9", 0},
    {"745", "Banco Citibank S.A.", "9999", "9999999-9", 0},
    {"748", "Banco Cooperativo Sicredi S.A.", "9999", "99999-9", 0},
    {"756", "Banco Cooperativo Sicoob S.A.", "9999", "99999999-9", 0},
}};

void insertBanks(db::Connection& c) {
  for (const DemoBank& b : kBanks)
    insert(c, "BANCO",
           {{"CDBANCO", text(b.code)},
            {"NMBANCO", text(b.name)},
            {"CDPICTAGEN", text(b.agencyMask)},
            {"CDPICTCONT", text(b.accountMask)},
            {"CDBANCCNAB", text(b.code)},
            {"QTDIAPRORCNT", b.extensionDays > 0 ? Value(b.extensionDays) : Value()}});
  // Print models for the banks a company prints its own cheques and boletos for.
  c.execute(
      "UPDATE BANCO SET DSARQCHEQUE = ?, DSARQBOLCOMP = ?, DSARQBORDREC = ? WHERE CDBANCO = ?",
      {text("/opt/qbk/modelos/cheque_bb.qr2"), text("/opt/qbk/modelos/boleto_bb.qr2"),
       text("/opt/qbk/modelos/bordero_cobranca_bb.qr2"), text("001")});
  c.execute(
      "UPDATE BANCO SET DSARQBOLPREI = ?, DSARQBORDPAG = ?, DSARQLOGMAR = ? WHERE CDBANCO = ?",
      {text("/opt/qbk/modelos/boleto_preimpresso_bradesco.qr2"),
       text("/opt/qbk/modelos/bordero_pagamento_bradesco.qr2"),
       text("/opt/qbk/modelos/logo_bradesco.bmp"), text("237")});
  c.execute("UPDATE BANCO SET DSEMAILDDA = ? WHERE CDBANCO = ?",
            {text("dda.financeiro@horizonte.example.com.br"), text("341")});
}

void insertCompanies(db::Connection& c) {
  insert(c, "EMPRESA",
         {{"CDEMPRESA", text("01")},
          {"NMEMPRESA", text("Metalúrgica Horizonte Ltda")},
          {"NRINSJUREMPR", cnpj("453217890001")}});
  insert(c, "EMPRESA",
         {{"CDEMPRESA", text("02")},
          {"NMEMPRESA", text("Comercial Ipê Distribuidora Ltda")},
          {"NRINSJUREMPR", cnpj("276540130001")}});
  insert(c, "EMPRESA",
         {{"CDEMPRESA", text("03")},
          {"NMEMPRESA", text("Transportes Serra Azul S.A.")},
          {"NRINSJUREMPR", cnpj("198736520001")}});
}

struct DemoSupplier {
  const char* code;
  const char* personType;
  std::string number;
  const char* tradeName;
  const char* legalName;
  const char* payableType;
  const char* status;
  const char* groupsBoletos;
  const char* writeOffType;
};

const char* const kAdvanceSupplier = "000107";

std::vector<DemoSupplier> suppliers() {
  return {
      {"000101", "J", cnpj("072456180001"), "Aço Forte", "Aço Forte Indústria e Comércio Ltda",
       "MATPRI", "A", "S", "01"},
      {"000102", "J", cnpj("318907650001"), "Papelaria Central", "Papelaria Central do Brasil Ltda",
       "MATCON", "A", "N", "02"},
      {"000103", "J", cnpj("204518730002"), "Rota Sul", "Transportadora Rota Sul Ltda", "SERVIC",
       "A", "N", "01"},
      {"000104", "J", cnpj("115672340001"), "Energia Verde", "Energia Verde Distribuidora S.A.",
       "SERVIC", "I", "N", "02"},
      {"000105", "F", cpf("381294056"), "João Carlos Fretes", "João Carlos Pereira", "SERVIC", "A",
       "N", "04"},
      {"000106", "F", cpf("274105938"), "Maria Souza Consultoria", "Maria Aparecida Souza",
       "SERVIC", "A", "N", "01"},
      {kAdvanceSupplier, "J", cnpj("093561470001"), "Antecipa Fomento",
       "Antecipa Fomento Mercantil Ltda", "FINANC", "A", "S", "01"},
      // Registered after alphanumeric CNPJs came into force: letters in its root.
      {"000108", "J", "12ABC34501DE35", "Brisa Crédito", "Brisa Securitizadora de Créditos S.A.",
       "FINANC", "A", "S", "01"},
  };
}

void insertSuppliers(db::Connection& c) {
  for (const DemoSupplier& s : suppliers())
    insert(c, "FORNECEDOR",
           {{"CDFORNECED", text(s.code)},
            {"NRINSJURFORN", s.number},
            {"NMFANTFORN", text(s.tradeName)},
            {"NMRAZSOCFORN", text(s.legalName)},
            {"IDTPIJURFORN", text(s.personType)},
            {"CDTPCTPAGAR", text(s.payableType)},
            {"IDSITUCADA", text(s.status)},
            {"IDAGRUBOLFOR", text(s.groupsBoletos)},
            {"CDTPBAIXAPAG", text(s.writeOffType)}});
}

void insertWriteOffTypes(db::Connection& c) {
  struct Type {
    const char* code;
    const char* name;
    const char* automatic;
    double maxValue;  // 0: no limit
  };
  for (const Type& t :
       {Type{"01", "Pagamento via CNAB", "S", 250000}, Type{"02", "Débito em conta", "S", 0},
        Type{"03", "Pagamento via DDA", "S", 100000}, Type{"04", "Cheque", "N", 0},
        Type{"05", "Compensação de adiantamento", "N", 0}})
    insert(c, "TIPOBAIXAPAG",
           {{"CDTPBAIXAPAG", text(t.code)},
            {"NMTPBAIXAPAG", text(t.name)},
            {"IDBAIXAUTILP", text(t.automatic)},
            {"VRMAXDOCCNAB", t.maxValue > 0 ? Value(t.maxValue) : Value()}});
}

void insertAccounts(db::Connection& c) {
  struct Account {
    const char* company;
    const char* code;
    const char* bank;
    const char* agency;
    const char* number;
    const char* description;
  };
  for (const Account& a : {Account{"01", "001", "001", "30643", "12345678X", "Conta movimento BB"},
                           Account{"01", "002", "237", "12345", "0045678P", "Cobrança Bradesco"},
                           Account{"01", "003", "341", "0912", "234567", "Pagamentos Itaú"},
                           Account{"01", "004", "104", "1598", "123456789", "Folha Caixa"},
                           Account{"01", "005", "756", "3045", "987654321", "Conta Sicoob"},
                           Account{"02", "001", "104", "0871", "456789123", "Conta movimento"},
                           Account{"03", "001", "748", "0116", "543210", "Conta Sicredi"}})
    insert(c, "CONTCORR",
           {{"CDEMPRESA", text(a.company)},
            {"CDREDUCONT", text(a.code)},
            {"CDBANCO", text(a.bank)},
            {"CDAGENCIA", text(a.agency)},
            {"CDCONTCORR", text(a.number)},
            {"DSCONTCORR", text(a.description)}});
}

using CodeList = std::vector<std::pair<const char*, const char*>>;

// Occurrences of payment return files, common to the banks that follow the clearing-house
// layout for payments.
const CodeList kPayableOccurrences = {
    {"00", "Crédito ou débito efetivado"},
    {"01", "Insuficiência de fundos - débito não efetuado"},
    {"02", "Crédito ou débito cancelado pelo pagador/credor"},
    {"03", "Débito autorizado pela agência - efetuado"},
    {"AA", "Controle inválido"},
    {"AB", "Tipo de operação inválido"},
    {"AC", "Tipo de serviço inválido"},
    {"AD", "Forma de lançamento inválida"},
    {"AE", "Tipo/número de inscrição inválido"},
    {"AG", "Agência/conta corrente/DV inválido"},
    {"BD", "Inclusão efetuada com sucesso"},
    {"HA", "Lote não aceito"},
};

const CodeList kReceivableOccurrences = {
    {"02", "Entrada confirmada"},
    {"03", "Entrada rejeitada"},
    {"06", "Liquidação normal"},
    {"09", "Baixa"},
    {"10", "Baixado conforme instruções da agência"},
    {"12", "Abatimento concedido"},
    {"13", "Abatimento cancelado"},
    {"14", "Vencimento alterado"},
    {"15", "Liquidação em cartório"},
    {"17", "Liquidação após baixa ou título não registrado"},
    {"19", "Confirmação de recebimento de instrução de protesto"},
    {"23", "Entrada do título em cartório"},
    {"28", "Débito de tarifas/custas"},
};

const std::vector<std::pair<const char*, CodeList>> kInstructions = {
    {"001",
     {{"00", "Ausência de instruções"},
      {"01", "Cobrar juros"},
      {"03", "Protestar no 3º dia útil após vencido"},
      {"04", "Protestar no 4º dia útil após vencido"},
      {"05", "Protestar no 5º dia útil após vencido"},
      {"06", "Protestar após N dias corridos do vencimento"},
      {"07", "Não protestar"},
      {"22", "Conceder desconto só até a data estipulada"}}},
    {"237",
     {{"00", "Sem instruções"},
      {"05", "Protesto falimentar"},
      {"06", "Protestar após N dias"},
      {"08", "Não cobrar juros de mora"},
      {"09", "Não receber após o vencimento"},
      {"10", "Multa de 10% após o 4º dia do vencimento"},
      {"11", "Não receber após 8 dias do vencimento"},
      {"18", "Decurso de prazo"}}},
    {"341",
     {{"02", "Devolver após 5 dias do vencimento"},
      {"03", "Devolver após 30 dias do vencimento"},
      {"09", "Protestar"},
      {"10", "Não protestar"},
      {"81", "Protestar após N dias corridos"},
      {"82", "Protestar após N dias úteis"}}},
};

const std::vector<std::pair<const char*, const char*>> kStandardMessages = {
    {"001",
     "Sr. Caixa: não receber após 30 dias do vencimento. Após o vencimento cobrar multa de 2% e "
     "juros de mora de 1% ao mês."},
    {"237",
     "Após o vencimento cobrar multa de 2,00% e mora de 0,033% ao dia. Sujeito a protesto após 5 "
     "dias úteis do vencimento."},
    {"341",
     "Até o vencimento, pagável em qualquer banco. Após o vencimento, somente no Itaú. Multa de "
     "2% e juros de 1% ao mês."},
};

void insertCodes(db::Connection& c) {
  for (const char* bank : {"001", "237", "341"}) {
    for (const auto& [code, name] : kPayableOccurrences)
      insert(c, "ERRCNABP",
             {{"CDBANCO", text(bank)}, {"CDERRCNABP", text(code)}, {"DSERRCNABP", text(name)}});
    for (const auto& [code, name] : kReceivableOccurrences)
      insert(c, "ERRCNABR",
             {{"CDBANCO", text(bank)}, {"CDERRCNABR", text(code)}, {"DSERRCNABR", text(name)}});
  }
  for (const auto& [bank, list] : kInstructions)
    for (const auto& [code, name] : list)
      insert(c, "INSTCOBRANCA",
             {{"CDBANCO", text(bank)}, {"CDINSTCOBR", text(code)}, {"NMINSTCOBR", text(name)}});
  for (const auto& [bank, message] : kStandardMessages)
    insert(c, "MSGPADRAOBANCO", {{"CDBANCCNAB", text(bank)}, {"TXMENSBOLETO", text(message)}});
}

const char* standardMessage(std::string_view bank) {
  for (const auto& [code, message] : kStandardMessages)
    if (bank == code) return message;
  return nullptr;
}

// The settings every company row carries; each row below adds or overrides its own.
Fields companyBank(const char* company, const char* bank, Fields own) {
  Fields row = {{"CDEMPRESA", text(company)},      {"CDBANCO", text(bank)},
                {"IDPADRCNABREC", text("1")},      {"IDFORMCADBANC", text("1")},
                {"IDLAYEXTBANCO", text("200")},    {"IDLAYOUTCNAB", text("240")},
                {"IDPADRCNABPAG", text("1")},      {"IDCONSDTENVREM", text("N")},
                {"CDDIAPROTEST", text(" ")},       {"CDDIADEVOL", text(" ")},
                {"IDGERLINHACOMP", text("N")},     {"IDREGSEGSCOB", text("N")},
                {"IDGERLINHACOBEMAIL", text("N")}, {"TXMENSBOLETO", text(standardMessage(bank))}};
  for (auto& [name, value] : own) {
    bool replaced = false;
    for (auto& field : row)
      if (field.first == name) {
        field.second = value;
        replaced = true;
      }
    if (!replaced) row.emplace_back(name, std::move(value));
  }
  return row;
}

void insertCompanyBanks(db::Connection& c) {
  insert(c, "EMPRBANC",
         companyBank("01", "001",
                     {{"CDEMPBANCPAG", text("1234567")},
                      {"CDEMPBANCREC", text("2345678")},
                      {"CDCARTCOBR", text("017")},
                      {"NRVARIACARTCOB", text("019")},
                      {"IDCARTCOBR", text("1")},
                      {"CDINS1COBR", text("01")},
                      {"CDINS2COBR", text("05")},
                      {"QTDIAPROTEST", 5.0},
                      {"CDDIAPROTEST", text("2")},
                      {"IDIMPRBOLETO", text("E")},
                      {"IDLAYEXTBANCO", text("240")},
                      {"IDPADRAGENCNABPAG", text("1")},
                      {"CDTPBAIXAPAG", text("01")},
                      {"NMTPBAIXAPAG", text("Pagamento via CNAB")},
                      {"CDREDUCONT", text("001")},
                      {"CDBANCODDA", text("001")},
                      {"CDAGENCIA", text("30643")},
                      {"CDCONTCORR", text("12345678X")},
                      {"DSCONTCORR", text("Conta movimento BB")}}));
  insert(c, "EMPRBANC",
         companyBank("01", "237",
                     {{"CDEMPBANCPAG", text("00004521")},
                      {"CDEMPBANCREC", text("00000000000004521987")},
                      {"CDCARTCOBR", text("009")},
                      {"IDCARTCOBR", text("1")},
                      {"CDINS1COBR", text("06")},
                      {"CDINS2COBR", text("08")},
                      {"QTDIAPROTEST", 10.0},
                      {"CDDIAPROTEST", text("1")},
                      {"IDIMPRBOLETO", text("B")},
                      {"IDPADRCNABPAG", text("2")},
                      {"IDGERLINHACOMP", text("S")},
                      {"CDTPBAIXAPAG", text("03")},
                      {"NMTPBAIXAPAG", text("Pagamento via DDA")},
                      {"CDREDUCONT", text("002")},
                      {"CDBANCODDA", text("237")},
                      {"CDAGENCIA", text("12345")},
                      {"CDCONTCORR", text("0045678P")},
                      {"DSCONTCORR", text("Cobrança Bradesco")}}));
  insert(c, "EMPRBANC",
         companyBank("01", "341",
                     {{"CDEMPBANCREC", text("0912234567")},
                      {"CDCARTCOBR", text("109")},
                      {"IDCARTCOBR", text("1")},
                      {"CDINS1COBR", text("09")},
                      {"CDINS2COBR", text("02")},
                      {"QTDIAPROTEST", 5.0},
                      {"CDDIAPROTEST", text("2")},
                      {"IDIMPRBOLETO", text("E")},
                      {"IDREGSEGSCOB", text("S")},
                      {"IDGERLINHACOBEMAIL", text("S")}}));
  // The 266-position layout names the supplier that anticipates the boletos.
  for (const DemoSupplier& s : suppliers()) {
    if (std::string_view(s.code) != kAdvanceSupplier) continue;
    insert(c, "EMPRBANC",
           companyBank("01", "399",
                       {{"CDEMPBANCREC", text("4587123")},
                        {"CDCARTCOBR", text("001")},
                        {"IDCARTCOBR", text("4")},
                        {"IDIMPRBOLETO", text("B")},
                        {"IDLAYOUTCNAB", text("266")},
                        {"CDFORNECED", text(s.code)},
                        {"NMRAZSOCFORN", text(s.legalName)},
                        {"IDTPIJURFORN", text(s.personType)},
                        {"NRINSJURFORN", s.number}}));
  }
  insert(c, "EMPRBANC",
         companyBank("02", "001",
                     {{"CDEMPBANCREC", text("3456789")},
                      {"CDCARTCOBR", text("018")},
                      {"NRVARIACARTCOB", text("027")},
                      {"IDCARTCOBR", text("1")},
                      {"IDFORMCADBANC", text("2")}}));
  insert(c, "EMPRBANC",
         companyBank("02", "104",
                     {{"CDEMPBANCREC", text("871456")},
                      {"CDCOMPROMISSO", text("1234")},
                      {"CDCARTCOBR", text("014")},
                      {"IDCARTCOBR", text("1")},
                      {"CDDIADEVOL", text("1")},
                      {"QTDIADEVOL", 30.0},
                      {"CDDIAPROTEST", text("3")},
                      {"CDREDUCONT", text("001")},
                      {"CDBANCODDA", text("104")},
                      {"CDAGENCIA", text("0871")},
                      {"CDCONTCORR", text("456789123")},
                      {"DSCONTCORR", text("Conta movimento")}}));
  insert(c, "EMPRBANC",
         companyBank("01", "104",
                     {{"CDEMPBANCREC", text("306438")},
                      {"CDCOMPROMISSO", text("4321")},
                      {"CDCARTCOBR", text("014")},
                      {"IDCARTCOBR", text("1")},
                      {"IDPADRCNABREC", text("2")},
                      {"CDDIADEVOL", text("2")},
                      {"CDREDUCONT", text("004")},
                      {"CDBANCODDA", text("104")},
                      {"CDAGENCIA", text("1598")},
                      {"CDCONTCORR", text("123456789")},
                      {"DSCONTCORR", text("Folha Caixa")}}));
  insert(c, "EMPRBANC",
         companyBank("02", "422",
                     {{"CDEMPBANCREC", text("0871456")},
                      {"CDCARTCOBR", text("002")},
                      {"IDCARTCOBR", text("1")},
                      {"IDIMPRBOLETO", text("B")},
                      {"IDGERLINHACOBEMAIL", text("S")}}));
  insert(c, "EMPRBANC",
         companyBank("03", "748", {{"CDEMPBANCREC", text("11602")}, {"CDCARTCOBR", text("001")}}));
  insert(
      c, "EMPRBANC",
      companyBank("03", "756", {{"CDEMPBANCREC", text("3045987")}, {"CDCARTCOBR", text("001")}}));
}

bool everyTableEmpty(db::Connection& c) {
  for (const TableSpec& t : catalog())
    if (!c.query("SELECT 1 FROM " + t.name + " LIMIT 1").rows.empty()) return false;
  return true;
}

}  // namespace

bool fillDemoData(db::Connection& c) {
  db::Transaction tx(c);
  // Checked under the write lock, so two servers started together fill it once.
  if (!everyTableEmpty(c)) return false;
  insertBanks(c);
  insertCompanies(c);
  insertWriteOffTypes(c);
  insertSuppliers(c);
  insertAccounts(c);
  insertCodes(c);
  insertCompanyBanks(c);
  tx.commit();
  return true;
}

void fillBenchBanks(db::Connection& c, int count) {
  static constexpr std::string_view kSymbols = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  constexpr int kBase = static_cast<int>(kSymbols.size());
  db::Transaction tx(c);
  std::set<std::string, std::less<>> used;
  c.forEachRow("SELECT CDBANCO FROM BANCO", {},
               [&](const db::Cursor& row) { used.emplace(row.text(0)); });
  // The fixed-fund bank is the screen's to create.
  used.emplace("999");

  std::vector<std::string> codes;
  for (int k = 0; k < kBase * kBase * kBase && static_cast<int>(codes.size()) < count; ++k) {
    std::string code{kSymbols[k / (kBase * kBase)], kSymbols[(k / kBase) % kBase],
                     kSymbols[k % kBase]};
    if (!used.count(code)) codes.push_back(std::move(code));
  }
  if (static_cast<int>(codes.size()) < count)
    throw std::invalid_argument("Não há " + std::to_string(count) + " códigos de banco livres.");

  int n = 0;
  for (const std::string& code : codes) {
    const std::string models = "/opt/qbk/modelos/banco_" + code + "/";
    std::string lower = code;
    for (char& ch : lower) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    insert(c, "BANCO",
           {{"CDBANCO", code},
            {"NMBANCO", "Banco Econômico Teste " + code},
            {"CDPICTAGEN", std::string(n % 2 ? "9999-9" : "9999")},
            {"CDPICTCONT", std::string(n % 3 ? "99999999-9" : "9999999-a")},
            {"CDBANCCNAB", code},
            {"QTDIAPRORCNT", static_cast<double>(n % 5 + 1)},
            {"DSARQBOLCOMP", models + "boleto_completo.qr2"},
            {"DSARQBOLPREI", models + "boleto_preimpresso.qr2"},
            {"DSARQCHEQUE", models + "cheque.qr2"},
            {"DSARQBORDREC", models + "bordero_cobranca.qr2"},
            {"DSARQBORDPAG", models + "bordero_pagamento.qr2"},
            {"DSARQBORDCHQ", models + "bordero_cheque.qr2"},
            {"CDBANCOCONV", std::string("001")},
            {"DSDIRIMPARQDDA", "/srv/qbk/compartilhado/dda/banco_" + code},
            {"DSEMAILDDA", "dda.banco" + lower + "@financeiro.example.com.br"},
            {"DSARQLOGMAR", models + "logomarca.bmp"},
            {"DSDIRIMPARQDDALOCAL", "/home/financeiro/dda/importacao/banco_" + code}});
    ++n;
  }
  tx.commit();
}

}  // namespace qbk::server
