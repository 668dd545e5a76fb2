#include "server/catalog.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace qbk::server {
namespace {

// The resolver and the schema both trust the catalog, so a slip in it (a key column that
// does not exist, a reference to a column of another size) would reach both.
TEST(CatalogTest, keysAndReferencesNameRealColumnsOfMatchingShape) {
  std::set<std::string> seen;
  for (const TableSpec& t : catalog()) {
    SCOPED_TRACE(t.name);
    EXPECT_TRUE(seen.insert(t.name).second) << "table listed twice";
    ASSERT_FALSE(t.key.empty());
    std::set<std::string> names;
    for (const ColumnSpec& c : t.columns) {
      EXPECT_TRUE(names.insert(c.name).second) << c.name << " listed twice";
      if (c.type == data::FieldType::String) {
        EXPECT_GT(c.size, 0) << c.name;
      }
    }
    // SQLite lets NULL into a non-integer primary key unless told otherwise.
    for (const std::string& k : t.key) {
      ASSERT_NE(t.column(k), nullptr) << k;
      EXPECT_TRUE(t.column(k)->notNull) << k;
      EXPECT_TRUE(t.isKey(k));
    }
    for (const ForeignKeySpec& fk : t.foreignKeys) {
      ASSERT_TRUE(seen.count(fk.table)) << fk.table << " must be created before " << t.name;
      const TableSpec& parent = table(fk.table);
      EXPECT_EQ(fk.references, parent.key) << "a reference must point at the whole key";
      ASSERT_EQ(fk.columns.size(), fk.references.size());
      for (std::size_t i = 0; i < fk.columns.size(); ++i) {
        const ColumnSpec* child = t.column(fk.columns[i]);
        const ColumnSpec* target = parent.column(fk.references[i]);
        ASSERT_TRUE(child && target) << fk.columns[i];
        EXPECT_EQ(child->type, target->type);
        EXPECT_EQ(child->size, target->size) << fk.columns[i];
      }
    }
  }
}

TEST(CatalogTest, bankOwnsItsSettingsAndCodesButNotTheAccountsThatUseIt) {
  auto cascadesFromBank = [](const std::string& name) {
    for (const auto& fk : table(name).foreignKeys)
      if (fk.table == "BANCO") return fk.cascadeDelete;
    ADD_FAILURE() << name << " has no reference to BANCO";
    return false;
  };
  for (const char* owned : {"EMPRBANC", "ERRCNABP", "ERRCNABR", "INSTCOBRANCA"})
    EXPECT_TRUE(cascadesFromBank(owned)) << owned;
  EXPECT_FALSE(cascadesFromBank("CONTCORR"));

  EXPECT_EQ(table("EMPRBANC").column("NMEMPRESA"), nullptr);
  EXPECT_NE(table("BANCO").column("DSDIRIMPARQDDALOCAL"), nullptr);
  EXPECT_THROW(table("BANCOS"), std::out_of_range);
  EXPECT_THROW(table("banco"), std::out_of_range);
}

}  // namespace
}  // namespace qbk::server
