// Loading content and reading and writing field values.
#include "data/record_set.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/errors.h"
#include "record_set_support.h"
#include "support/expect_throw.h"

namespace qbk::data {
namespace {

using namespace support;
using ::testing::ElementsAre;

TEST(RecordSetLoad, declaredFieldsAreMatchedByNameAndExtraColumnsDropped) {
  RecordSet rs("cdsBanco");
  declareBanks(rs);
  Packet p{{{"EXTRA", FieldType::Float, 0},
            {"QTDIAS", FieldType::Float, 0},
            {"NMBANCO", FieldType::String, 40},
            {"CDBANCO", FieldType::String, 3}},
           {{1.0, 5.0, "Banco A", "001"}}};
  rs.setData(std::move(p));
  EXPECT_EQ(rs.fieldCount(), 3);
  EXPECT_EQ(code(rs), "001");
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Banco A");
  EXPECT_EQ(rs.fieldByName("QTDIAS").asFloat(), 5.0);
  EXPECT_EQ(rs.data().fields, bankDefs());
}

TEST(RecordSetLoad, packetThatDoesNotFitLeavesContentUnchanged) {
  RecordSet rs("cdsBanco");
  declareBanks(rs);
  rs.setData(banks({"001", "237"}));
  rs.next();

  Packet missing = banks({"999"});
  missing.fields[1].name = "OUTRO";
  EXPECT_THROW_MSG(rs.setData(missing), DataError,
                   "Campo 'NMBANCO' não encontrado no pacote de dados.");
  Packet retyped = banks({"999"});
  retyped.fields[0].type = FieldType::Float;
  EXPECT_THROW_MSG(rs.setData(retyped), DataError,
                   "Campo 'CDBANCO' de tipo diferente no pacote de dados.");
  Packet badCell = banks({"999"});
  badCell.rows[0][2] = std::string("x");
  EXPECT_THROW_MSG(rs.setData(badCell), DataError, "Valor inválido para o campo 'QTDIAS'.");
  Packet ragged = banks({"999"});
  ragged.rows[0].pop_back();
  EXPECT_THROW_MSG(rs.setData(ragged), DataError, "Pacote de dados inválido.");

  EXPECT_EQ(rs.data(), banks({"001", "237"}));
  EXPECT_EQ(code(rs), "237");
  EXPECT_EQ(rs.state(), DataSetState::Browse);
}

TEST(RecordSetLoad, lookUpSetTakesWhateverFieldsEachPacketCarries) {
  RecordSet rs("cdsCodigoPag");
  rs.setData(banks({"001"}));
  EXPECT_EQ(rs.fieldDefs(), bankDefs());
  EXPECT_EQ(code(rs), "001");

  rs.setData(Packet{{{"CDERRCNABP", FieldType::String, 2}}, {{"AB"}, {"CD"}}});
  EXPECT_EQ(rs.fieldCount(), 1);
  EXPECT_EQ(rs.recordCount(), 2);
  EXPECT_EQ(rs.findField("CDBANCO"), nullptr);
  EXPECT_EQ(rs.fieldByName("CDERRCNABP").asString(), "AB");
}

TEST(RecordSetLoad, rowsAreMovedNotCopied) {
  const std::string longName(200, 'x');  // past any small-string buffer
  for (bool reordered : {false, true}) {
    RecordSet rs;
    declareBanks(rs);
    Packet p = banks({"001"});
    p.rows[0][1] = longName;
    if (reordered) {
      std::swap(p.fields[0], p.fields[1]);
      std::swap(p.rows[0][0], p.rows[0][1]);
    }
    const char* text = std::get<std::string>(p.rows[0][reordered ? 0 : 1]).data();
    rs.setData(std::move(p));
    EXPECT_EQ(std::get<std::string>(rs.fieldByName("NMBANCO").value()).data(), text);
  }
}

TEST(RecordSetLoad, loadRefusesToDropAnEditOrPendingChanges) {
  RecordSet rs{"cdsBanco"};
  declareBanks(rs);
  rs.setData(banks({"001"}));
  rs.edit();
  rs.fieldByName("NMBANCO").setString("Outro");
  EXPECT_THROW_MSG(rs.setData(banks({"104"})), DataError,
                   "Não é possível carregar novos dados em 'cdsBanco': há um registro em edição.");
  EXPECT_EQ(rs.state(), DataSetState::Edit);
  rs.post();
  EXPECT_THROW_MSG(
      rs.setData(banks({"104"})), DataError,
      "Não é possível carregar novos dados em 'cdsBanco': há alterações não enviadas.");
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Outro");
  rs.mergeChangeLog();
  rs.setData(banks({"104"}));
  EXPECT_EQ(rs.fieldByName("NMBANCO").asString(), "Banco 104");
}

class RecordSetFields : public ::testing::Test {
 protected:
  void SetUp() override {
    declareBanks(rs);
    rs.setData(banks({"001"}));
    rs.edit();
  }
  RecordSet rs{"cdsBanco"};
  Field& name() { return rs.fieldByName("NMBANCO"); }
  Field& days() { return rs.fieldByName("QTDIAS"); }
};

TEST_F(RecordSetFields, textIsCutToSizeInCharactersNeverInsideOne) {
  const std::string caixa = "CAIXA ECONÔMICA FEDERAL";
  ASSERT_EQ(utf8Length(caixa), 23u);
  Field& f23 = name();
  f23.setString(caixa);
  EXPECT_EQ(f23.asString(), caixa);

  RecordSet small;
  small.addField("NM", FieldType::String, 10);
  small.addField("NM11", FieldType::String, 11);
  small.setData(Packet{small.fieldDefs(), {{Value{}, Value{}}}});
  small.edit();
  small.fieldByName("NM").setString(caixa);
  small.fieldByName("NM11").setString(caixa);
  EXPECT_EQ(small.fieldByName("NM").asString(), "CAIXA ECON");
  EXPECT_EQ(small.fieldByName("NM11").asString(), "CAIXA ECONÔ");
}

TEST_F(RecordSetFields, nullIsDistinctFromEmptyText) {
  name().setString("");
  EXPECT_FALSE(name().isNull());
  days().setString("");
  EXPECT_TRUE(days().isNull());
  rs.post();
  EXPECT_EQ(rs.data().rows[0][1], Value(std::string()));
  rs.edit();
  name().clear();
  rs.post();
  EXPECT_TRUE(isNull(rs.data().rows[0][1]));
  EXPECT_EQ(name().asString(), "");
}

TEST_F(RecordSetFields, numberEntryAcceptsCommaOrPointAndRefusesTheRest) {
  days().setString("12,5");
  EXPECT_EQ(days().asFloat(), 12.5);
  days().setString(" -3.25 ");
  EXPECT_EQ(days().asFloat(), -3.25);
  days().setString("+7");
  EXPECT_EQ(days().asString(), "7");
  days().setString("   ");
  EXPECT_TRUE(days().isNull());
  EXPECT_THROW_MSG(days().setString("abc"), DataError, "'abc' não é um valor numérico válido.");
  EXPECT_THROW_MSG(days().setString("1.234,5"), DataError,
                   "'1.234,5' não é um valor numérico válido.");
  EXPECT_THROW_MSG(days().setString("inf"), DataError, "'inf' não é um valor numérico válido.");
  EXPECT_TRUE(days().isNull());

  name().setFloat(2.5);
  EXPECT_EQ(name().asString(), "2.5");
  name().setString("abc");
  EXPECT_THROW_MSG((void)name().asFloat(), DataError, "'abc' não é um valor numérico válido.");
}

TEST_F(RecordSetFields, invalidUtf8IsRefused) {
  EXPECT_THROW(name().setString("\xC3"), DataError);
  EXPECT_EQ(name().asString(), "Banco 001");
}

TEST_F(RecordSetFields, sameValueAgainIsNoChange) {
  EventLog log(rs);
  name().setString("Banco 001");
  days().clear();
  EXPECT_FALSE(rs.modified());
  EXPECT_THAT(log.take(), ElementsAre());
  name().setString("Outro");
  EXPECT_TRUE(rs.modified());
  EXPECT_THAT(log.take(), ElementsAre("field NMBANCO"));
  rs.cancel();
  EXPECT_EQ(name().asString(), "Banco 001");
}

TEST(RecordSetMisuse, refusalsNameTheSetOrField) {
  RecordSet rs("cdsBanco");
  declareBanks(rs);
  EXPECT_THROW_MSG(rs.fieldByName("NADA"), DataError, "Campo 'NADA' não encontrado.");
  EXPECT_THROW_MSG(rs.insert(), DataError, "O conjunto de dados 'cdsBanco' não está aberto.");
  rs.setData(banks({"001"}));
  EXPECT_THROW_MSG(rs.fieldByName("NMBANCO").setString("x"), DataError,
                   "O conjunto de dados 'cdsBanco' não está em modo de edição ou inclusão.");
  EXPECT_THROW_MSG(rs.addField("X", FieldType::Float), DataError,
                   "O conjunto de dados 'cdsBanco' está aberto; não é possível incluir campos.");
  rs.setData(banks({}));
  EXPECT_THROW_MSG(rs.edit(), DataError, "Não há registro para alterar.");
  EXPECT_THROW_MSG(rs.deleteRecord(), DataError, "Não há registro para excluir.");
  EXPECT_TRUE(rs.fieldByName("CDBANCO").isNull());
  EXPECT_EQ(rs.recNo(), 0);
}

}  // namespace
}  // namespace qbk::data
