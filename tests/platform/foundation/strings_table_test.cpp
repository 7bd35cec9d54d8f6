#include "platform/foundation/strings_table.h"

#include <gtest/gtest.h>

namespace {

TEST(StringsTableTest, ReadsEntriesBetweenComments) {
  Result<StringsTable> table =
      parseStringsTable("/* block */\n\"a\" = \"one\";\n// line\n\"b\"=\"two\" ; /* trailing */");
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table.value().at("a"), "one");
  EXPECT_EQ(table.value().at("b"), "two");
}

TEST(StringsTableTest, UnescapesQuotesBackslashesAndLineBreaks) {
  Result<StringsTable> table = parseStringsTable(R"("k" = "say \"hi\"\n\\n\t";)");
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table.value().at("k"), "say \"hi\"\n\\n\t");
}

TEST(StringsTableTest, EmptyTextIsAnEmptyTable) {
  EXPECT_TRUE(parseStringsTable("").value().empty());
  EXPECT_TRUE(parseStringsTable("  // nothing\n").value().empty());
}

TEST(StringsTableTest, MalformedEntryNamesItsLine) {
  Result<StringsTable> table = parseStringsTable("\"a\" = \"one\";\n\"b\" \"two\";");
  ASSERT_FALSE(table.ok());
  EXPECT_NE(table.error().find("line 2"), std::string::npos);
}

TEST(StringsTableTest, UnterminatedTextOrCommentIsRefused) {
  EXPECT_FALSE(parseStringsTable("\"a\" = \"one").ok());
  EXPECT_FALSE(parseStringsTable("\"a\" = \"one\"").ok());
  EXPECT_FALSE(parseStringsTable("/* open").ok());
}

}  // namespace
