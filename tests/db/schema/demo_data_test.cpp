#include "server/demo_data.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "data/value.h"
#include "db/test_database.h"
#include "server/catalog.h"
#include "server/schema.h"

namespace qbk::server {
namespace {

using db::Value;

std::string str(const Value& v) {
  return data::isNull(v) ? std::string() : std::get<std::string>(v);
}

// Check digits written out with the explicit weight tables of the two numbers, so that a
// slip in the generator's weight arithmetic does not repeat itself here. With `letters`, the
// positions before the check digits may be upper-case letters (an alphanumeric CNPJ), each
// worth its character code minus 48.
bool checkDigitsValid(const std::string& number, const std::vector<std::vector<int>>& weights,
                      bool letters = false) {
  for (std::size_t i = 0; i < number.size(); ++i) {
    const char ch = number[i];
    const bool letter = letters && i + 2 < number.size() && ch >= 'A' && ch <= 'Z';
    if ((ch < '0' || ch > '9') && !letter) return false;
  }
  if (number.find_first_not_of(number[0]) == std::string::npos) return false;  // 000..., 111...
  for (const auto& w : weights) {
    int sum = 0;
    for (std::size_t i = 0; i < w.size(); ++i) sum += (number[i] - '0') * w[i];
    const int digit = sum * 10 % 11 % 10;
    if (number[w.size()] - '0' != digit) return false;
  }
  return true;
}
bool validCpf(const std::string& n) {
  return n.size() == 11 &&
         checkDigitsValid(n, {{10, 9, 8, 7, 6, 5, 4, 3, 2}, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}});
}
bool validCnpj(const std::string& n) {
  return n.size() == 14 &&
         checkDigitsValid(
             n, {{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}},
             true);
}

TEST(RegistrationCheckTest, referenceValidatorKnowsGoodAndBadNumbers) {
  EXPECT_TRUE(validCpf("52998224725"));
  EXPECT_FALSE(validCpf("52998224726"));
  EXPECT_FALSE(validCpf("11111111111"));
  EXPECT_TRUE(validCnpj("11222333000181"));
  EXPECT_FALSE(validCnpj("11222333000182"));
  EXPECT_TRUE(validCnpj("12ABC34501DE35"));
  EXPECT_FALSE(validCnpj("12ABC34501DE99"));
}

// A mask as the bank screen accepts it: "9" and "a" positions, at most one "-", "a" only
// after the "-"; an agency mask has at most 5 positions and a 1- or 2-character check part.
bool validMask(const std::string& mask, bool agency) {
  const auto dash = mask.find('-');
  if (mask.empty() || mask.find_first_not_of("9a-") != std::string::npos) return false;
  if (dash != std::string::npos && mask.find('-', dash + 1) != std::string::npos) return false;
  const auto firstA = mask.find('a');
  if (firstA != std::string::npos && (dash == std::string::npos || firstA < dash)) return false;
  if (!agency) return mask.size() <= 20;
  const auto positions = mask.size() - (dash == std::string::npos ? 0 : 1);
  const auto checkPart = dash == std::string::npos ? 1 : mask.size() - dash - 1;
  return positions <= 5 && checkPart >= 1 && checkPart <= 2;
}

class DemoDataTest : public ::testing::TestWithParam<db::Engine> {
 protected:
  void SetUp() override {
    QBK_REQUIRE_DATABASE(database);
    db = database.open();
    migrate(*db);
  }
  // "A differs from B", nulls included, in the engine's own words.
  std::string differs(const std::string& a, const std::string& b) const {
    return "NOT (" + a + " " + db->dialect().nullSafeEqual() + " " + b + ")";
  }
  double count(const std::string& table) {
    return std::get<double>(db->query("SELECT COUNT(*) FROM " + table).rows[0][0]);
  }
  std::map<std::string, double> counts() {
    std::map<std::string, double> out;
    for (const TableSpec& t : catalog()) out[t.name] = count(t.name);
    return out;
  }

  testing::TestDatabase database{GetParam()};
  std::unique_ptr<db::Connection> db;
};

TEST_P(DemoDataTest, fillsAnEmptyDatabaseOnceAndLeavesAnyOtherAlone) {
  ASSERT_TRUE(fillDemoData(*db));
  const auto filled = counts();
  for (const auto& [table, rows] : filled) EXPECT_GT(rows, 0) << table << " left empty";
  EXPECT_GE(filled.at("BANCO"), 22);
  EXPECT_EQ(filled.at("EMPRESA"), 3);

  std::map<std::string, std::string> names;
  for (const db::Row& r : db->query("SELECT CDBANCO, NMBANCO, CDBANCCNAB FROM BANCO").rows) {
    names[str(r[0])] = str(r[1]);
    EXPECT_EQ(str(r[0]), str(r[2])) << "a real bank's code is its clearing-house code";
  }
  EXPECT_EQ(names.count("999"), 0u) << "the screen creates the fixed-fund bank itself";
  for (const char* code : {"001", "033", "104", "237", "341", "399", "422", "748", "756"})
    EXPECT_EQ(names.count(code), 1u) << code;
  EXPECT_EQ(names.at("104"), "Caixa Econômica Federal");

  EXPECT_FALSE(fillDemoData(*db));
  EXPECT_EQ(counts(), filled);

  // A database that holds anything at all, even without banks, is not mixed with demo rows.
  testing::TestDatabase otherDatabase(GetParam());
  auto other = otherDatabase.open();
  migrate(*other);
  other->execute("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES ('01', 'Minha Empresa')");
  EXPECT_FALSE(fillDemoData(*other));
  EXPECT_EQ(other->query("SELECT COUNT(*) FROM BANCO").rows[0][0], Value(0.0));
}

// Every value must fit the column the server will check it against, or the screens
// would show data that they then refuse to save.
void expectEveryValueFitsItsColumn(db::Connection& c) {
  for (const TableSpec& t : catalog()) {
    const db::Result r = c.query("SELECT * FROM " + t.name);
    for (const db::Row& row : r.rows)
      for (std::size_t i = 0; i < row.size(); ++i) {
        const ColumnSpec* col = t.column(r.columns[i]);
        ASSERT_NE(col, nullptr) << t.name << "." << r.columns[i];
        if (data::isNull(row[i])) continue;
        if (col->type == data::FieldType::Float) {
          EXPECT_TRUE(std::holds_alternative<double>(row[i])) << t.name << "." << col->name;
          continue;
        }
        ASSERT_TRUE(std::holds_alternative<std::string>(row[i])) << t.name << "." << col->name;
        const std::string& s = std::get<std::string>(row[i]);
        EXPECT_TRUE(data::utf8Valid(s));
        EXPECT_LE(data::utf8Length(s), static_cast<std::size_t>(col->size))
            << t.name << "." << col->name << " = \"" << s << "\"";
      }
  }
}

TEST_P(DemoDataTest, everyTextFitsItsColumn) {
  ASSERT_TRUE(fillDemoData(*db));
  expectEveryValueFitsItsColumn(*db);
}

TEST_P(DemoDataTest, registrationNumbersAreValidAndOneSupplierIsInactive) {
  ASSERT_TRUE(fillDemoData(*db));
  for (const db::Row& r : db->query("SELECT NRINSJUREMPR FROM EMPRESA").rows)
    EXPECT_TRUE(validCnpj(str(r[0]))) << str(r[0]);

  int inactive = 0, people = 0;
  for (const db::Row& r :
       db->query("SELECT CDFORNECED, IDTPIJURFORN, NRINSJURFORN, IDSITUCADA FROM FORNECEDOR")
           .rows) {
    const std::string type = str(r[1]), number = str(r[2]), status = str(r[3]);
    ASSERT_TRUE(type == "F" || type == "J") << str(r[0]);
    EXPECT_TRUE(type == "F" ? validCpf(number) : validCnpj(number)) << str(r[0]) << " " << number;
    people += type == "F";
    EXPECT_TRUE(status == "A" || status == "I") << str(r[0]);
    inactive += status == "I";
  }
  EXPECT_EQ(inactive, 1);
  EXPECT_GE(people, 1);
}

TEST_P(DemoDataTest, companySettingsPointAtRowsThatExist) {
  ASSERT_TRUE(fillDemoData(*db));
  for (const db::Row& r : db->query("SELECT CDPICTAGEN, CDPICTCONT, CDBANCO FROM BANCO").rows) {
    EXPECT_TRUE(validMask(str(r[0]), true)) << str(r[2]) << " " << str(r[0]);
    EXPECT_TRUE(validMask(str(r[1]), false)) << str(r[2]) << " " << str(r[1]);
  }
  // Instructions of the bank's own table, and two different ones.
  for (const db::Row& r : db->query("SELECT E.CDBANCO, E.CDINS1COBR, E.CDINS2COBR, "
                                    "(SELECT COUNT(*) FROM INSTCOBRANCA I WHERE I.CDBANCO = "
                                    "E.CDBANCO AND I.CDINSTCOBR IN (E.CDINS1COBR, E.CDINS2COBR)) "
                                    "FROM EMPRBANC E WHERE E.CDINS1COBR IS NOT NULL")
                              .rows) {
    EXPECT_NE(str(r[1]), str(r[2])) << str(r[0]);
    EXPECT_EQ(std::get<double>(r[3]), 2) << str(r[0]);
  }
  // The copies of write-off type, account and supplier agree with their sources.
  EXPECT_TRUE(db->query("SELECT E.CDBANCO FROM EMPRBANC E LEFT JOIN TIPOBAIXAPAG T ON "
                        "T.CDTPBAIXAPAG = E.CDTPBAIXAPAG WHERE E.CDTPBAIXAPAG IS NOT NULL AND " +
                        differs("T.NMTPBAIXAPAG", "E.NMTPBAIXAPAG"))
                  .rows.empty());
  EXPECT_TRUE(db->query("SELECT E.CDBANCO FROM EMPRBANC E LEFT JOIN CONTCORR C ON "
                        "C.CDEMPRESA = E.CDEMPRESA AND C.CDREDUCONT = E.CDREDUCONT "
                        "WHERE E.CDREDUCONT IS NOT NULL AND (" +
                        differs("C.CDBANCO", "E.CDBANCODDA") + " OR " +
                        differs("C.CDAGENCIA", "E.CDAGENCIA") + " OR " +
                        differs("C.CDCONTCORR", "E.CDCONTCORR") + " OR " +
                        differs("C.DSCONTCORR", "E.DSCONTCORR") + ")")
                  .rows.empty());
  const db::Result linked = db->query(
      "SELECT E.NRINSJURFORN, F.NRINSJURFORN, F.IDSITUCADA, E.NMRAZSOCFORN, F.NMRAZSOCFORN "
      "FROM EMPRBANC E JOIN BANCO B ON B.CDBANCO = E.CDBANCO LEFT JOIN FORNECEDOR F ON "
      "F.CDFORNECED = E.CDFORNECED WHERE B.CDBANCCNAB = '399' AND E.IDLAYOUTCNAB = '266'");
  ASSERT_FALSE(linked.rows.empty());
  for (const db::Row& r : linked.rows) {
    EXPECT_EQ(r[0], r[1]);
    EXPECT_EQ(str(r[2]), "A");
    EXPECT_EQ(r[3], r[4]);
  }
}

TEST_P(DemoDataTest, benchBanksGetFreshUniqueCodesAndEveryColumnFilled) {
  ASSERT_TRUE(fillDemoData(*db));
  const double before = count("BANCO");
  fillBenchBanks(*db, 1500);
  EXPECT_EQ(count("BANCO"), before + 1500);

  std::set<std::string> codes;
  for (const db::Row& r : db->query("SELECT * FROM BANCO").rows) {
    const std::string code = str(r[0]);
    EXPECT_TRUE(codes.insert(code).second);
    ASSERT_EQ(code.size(), 3u);
    EXPECT_EQ(code.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
  }
  EXPECT_EQ(codes.count("999"), 0u);
  // Bench banks leave no column empty, so that a fetch moves realistic amounts of text.
  std::string nullCheck = "SELECT COUNT(*) FROM BANCO WHERE NMBANCO LIKE 'Banco Econômico Teste%'";
  for (const ColumnSpec& col : table("BANCO").columns)
    nullCheck += " AND " + col.name + " IS NOT NULL";
  EXPECT_EQ(db->query(nullCheck).rows[0][0], Value(1500.0));
  expectEveryValueFitsItsColumn(*db);

  EXPECT_THROW(fillBenchBanks(*db, 36 * 36 * 36), std::invalid_argument);
  EXPECT_EQ(count("BANCO"), before + 1500);
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoDataTest, QBK_BOTH_ENGINES);

}  // namespace
}  // namespace qbk::server
