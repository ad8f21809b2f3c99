#include "lib/lib_json.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvane::lib {
namespace {

struct BodyCase {
  const char* name;
  const char* body;
  std::optional<std::string> want_nome;  // nullopt: no JSON value
};

// Bodies as branch systems send them, and the text that reaches the column.
const BodyCase kBodyCases[] = {
    {"Plain", R"({"nome":"x"})", "x"},
    {"EscapedQuoteKept", R"({"nome":"a\"b"})", "a\"b"},
    {"EscapedBackslashKept", R"({"nome":"a\\b"})", "a\\b"},
    {"WindowsPathKeepsSingleBackslash", R"({"nome":"C:\temp"})", "C:\\temp"},
    {"NewlineEscapeTakenLiterally", R"({"nome":"a\nb"})", "a\\nb"},
    {"UnicodeEscapeTakenLiterally", R"({"nome":"\u00e1"})", "\\u00e1"},
    {"SlashEscapeTakenLiterally", R"({"nome":"a\/b"})", "a\\/b"},
    {"TrailingBackslash", R"({"nome":"dir\\"})", "dir\\"},
    {"MarkerTextBecomesEscape", R"({"nome":"#double-bar#"})", "\\"},
    {"QuoteMarkerTextBecomesEscape", R"({"nome":"#double-quotes#"})", "\""},
    {"NotJson", "abc", std::nullopt},
    {"Empty", "", std::nullopt},
};

class StrToJSONValueTest : public ::testing::TestWithParam<BodyCase> {};

TEST_P(StrToJSONValueTest, ReadsBodyAsBranchSystemsMeanIt) {
  const auto v = LibJSON::StrToJSONValue(GetParam().body);
  if (!GetParam().want_nome) {
    EXPECT_FALSE(v.has_value());
    return;
  }
  ASSERT_TRUE(v.has_value());
  ASSERT_TRUE(v->IsObject());
  ASSERT_NE(v->Find("nome"), nullptr);
  EXPECT_EQ(v->Find("nome")->AsString(), *GetParam().want_nome);
}

INSTANTIATE_TEST_SUITE_P(Table, StrToJSONValueTest, ::testing::ValuesIn(kBodyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StrToJSONValueTest, NonObjectsAreReturnedForTheCallerToRefuse) {
  const auto v = LibJSON::StrToJSONValue("[1,2]");
  ASSERT_TRUE(v.has_value());
  EXPECT_TRUE(v->IsArray());
}

}  // namespace
}  // namespace quorvane::lib
