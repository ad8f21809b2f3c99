// Byte strings, string arrays and the Base64 codecs of the compact
// serialization.

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "jose/arrays.h"
#include "jose/base64.h"
#include "jose/bytes.h"
#include "jose/utils.h"

namespace quorvane::jose {
namespace {

using namespace std::string_literals;

TEST(JOSEBytesTest, ConversionsKeepTheBytes) {
  const std::vector<std::uint8_t> raw = {0x00, 0xC3, 0xA1, 0xFF};
  const JOSEBytes from_raw(raw);
  EXPECT_EQ(from_raw.Size(), 4u);
  EXPECT_EQ(from_raw.ToBytes(), raw);
  // Text is held as its UTF-8 bytes: "á" is two bytes.
  const JOSEBytes text("\xC3\xA1");
  EXPECT_EQ(text.Size(), 2u);
  EXPECT_EQ(text.ToString(), "\xC3\xA1");
  EXPECT_TRUE(from_raw.Contains(JOSEBytes("\xC3\xA1")));
}

TEST(JOSEBytesTest, EqualityAndConcatenation) {
  EXPECT_EQ(JOSEBytes(), JOSEBytes(""));  // two empty values are equal
  EXPECT_EQ(JOSEBytes("abc"), JOSEBytes(std::vector<std::uint8_t>{'a', 'b', 'c'}));
  EXPECT_NE(JOSEBytes("abc"), JOSEBytes("abd"));
  EXPECT_NE(JOSEBytes("ab"), JOSEBytes("abc"));
  EXPECT_EQ(JOSEBytes("ab") + JOSEBytes("c"), JOSEBytes("abc"));
  EXPECT_EQ(JOSEBytes("ab") + std::uint8_t{'.'}, JOSEBytes("ab."));
  JOSEBytes b("x");
  b.Clear();
  EXPECT_TRUE(b.IsEmpty());
}

TEST(JOSEBytesTest, ContainsRuns) {
  const JOSEBytes value("header.payload");
  struct Case {
    const char* run;
    bool want;
  };
  for (const Case& c : {Case{"", false}, Case{".", true}, Case{"header.payload", true},
                        Case{"header.payload!", false}, Case{"load", true}, Case{"dx", false}}) {
    SCOPED_TRACE(c.run);
    EXPECT_EQ(value.Contains(JOSEBytes(c.run)), c.want);
  }
  EXPECT_TRUE(value.Contains(std::uint8_t{'.'}));
  EXPECT_FALSE(value.Contains(std::uint8_t{'!'}));
  EXPECT_FALSE(JOSEBytes().Contains(JOSEBytes("")));
}

TEST(JOSEBytesTest, RandomBytesHaveTheSizeAndVary) {
  EXPECT_TRUE(JOSEBytes::RandomBytes(0).IsEmpty());
  std::set<std::string> seen;
  for (int i = 0; i < 8; ++i) seen.insert(JOSEBytes::RandomBytes(16).ToString());
  EXPECT_EQ(seen.size(), 8u);
  EXPECT_EQ(JOSEBytes::RandomBytes(33).Size(), 33u);
}

TEST(JOSEArrayTest, StackAndQueueOperations) {
  JOSEStringArray a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.Push("a"), 1u);
  EXPECT_EQ(a.Push("b"), 2u);
  EXPECT_EQ(a.Push("c"), 3u);
  EXPECT_EQ(a.Shift(), "a");
  EXPECT_EQ(a.Pop(), "c");
  EXPECT_EQ(a.Pop(), "b");
  EXPECT_THROW(a.Pop(), std::out_of_range);
  EXPECT_THROW(a.Shift(), std::out_of_range);
  EXPECT_THROW(a.SetSize(-1), std::out_of_range);
  a.SetSize(2);
  EXPECT_EQ(a.Size(), 2u);
  EXPECT_EQ(a[1], "");
}

TEST(JOSEArrayTest, JoiningAndContains) {
  const JOSEStringArray xy = {"x", "y"};
  EXPECT_EQ(xy + "z", (JOSEStringArray{"x", "y", "z"}));
  EXPECT_EQ("z"s + xy, (JOSEStringArray{"x", "y", "z"}));  // appended also from the left
  EXPECT_EQ(xy + JOSEStringArray{"q"}, (JOSEStringArray{"x", "y", "q"}));
  EXPECT_TRUE(xy.Contains("x"));
  EXPECT_FALSE(xy.Contains("X"));  // exact, case-sensitive
  JOSEStringArray joined = {"a"};
  joined.Join(xy);
  EXPECT_EQ(joined.Size(), 3u);
}

TEST(JOSEArrayTest, TextForms) {
  EXPECT_EQ((JOSEStringArray{"a", "b,"}).ToString(), "a,b");
  EXPECT_EQ((JOSEStringArray{}).ToString(), "");
  EXPECT_EQ((JOSEStringArray{"x"}).ToStringPluralForm("one of "), "x");
  EXPECT_EQ((JOSEStringArray{"x", "y"}).ToStringPluralForm("one of "), "one of x,y");
}

struct CodecCase {
  std::string_view name;
  std::string_view input;
  std::string_view want;
};

constexpr CodecCase kUrlEncodeCases[] = {
    {"Empty", "", ""},           {"Abc", "abc", "YWJj"},
    {"OneByteFB", "\xFB", "-w"}, {"OneByteFF", "\xFF", "_w"},
    {"TwoBytes", "ab", "YWI"},   {"PlusAndSlashMapped", "\xFB\xEF\xFF", "--__"},
};

class URLEncodeTest : public ::testing::TestWithParam<CodecCase> {};
TEST_P(URLEncodeTest, MatchesTable) {
  EXPECT_EQ(Base64::URLEncode(JOSEBytes(GetParam().input)).ToString(), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Table, URLEncodeTest, ::testing::ValuesIn(kUrlEncodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

constexpr CodecCase kUrlDecodeCases[] = {
    {"Plain", "YWJj", "abc"},
    {"Padded", "YWJj=", "abc"},
    {"StrayCharactersSkipped", "Y.W,J j", "abc"},
    {"SingleCharacterGivesNothing", "a", ""},
    {"UrlAlphabet", "-w", "\xFB"},
    {"StandardAlphabetAccepted", "+w", "\xFB"},
    {"TwoLeftoverCharacters", "YWI", "ab"},
    {"LineBreaksSkipped", "YW\r\nJj", "abc"},
    {"Empty", "", ""},
    {"HighBytesSkipped", "YW\xC3\xA1Jj", "abc"},
};

class URLDecodeTest : public ::testing::TestWithParam<CodecCase> {};
TEST_P(URLDecodeTest, MatchesTable) {
  EXPECT_EQ(Base64::URLDecode(JOSEBytes(GetParam().input)).ToString(), GetParam().want);
}
INSTANTIATE_TEST_SUITE_P(Table, URLDecodeTest, ::testing::ValuesIn(kUrlDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Base64Test, StandardEncodingPadsAndBreaksLines) {
  EXPECT_EQ(Base64::Encode(JOSEBytes("a")).ToString(), "YQ==");
  EXPECT_EQ(Base64::Encode(JOSEBytes("\xFB\xFF")).ToString(), "+/8=");
  // 57 bytes fill one 76-character line exactly; the break follows it.
  const std::string line57(57, 'x');
  const std::string enc57 = Base64::Encode(JOSEBytes(line57)).ToString();
  EXPECT_EQ(enc57.size(), 78u);
  EXPECT_EQ(enc57.substr(76), "\r\n");
  const std::string enc58 = Base64::Encode(JOSEBytes(std::string(58, 'x'))).ToString();
  EXPECT_EQ(enc58.substr(76, 2), "\r\n");
  EXPECT_EQ(enc58.find("\r\n", 78), std::string::npos);
  EXPECT_EQ(Base64::URLEncode(JOSEBytes(std::string(58, 'x'))).ToString().find('\r'),
            std::string::npos);
}

TEST(Base64Test, RoundTripsEveryLengthAndByte) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  for (std::size_t n = 0; n <= all.size(); n += 37) {
    SCOPED_TRACE(n);
    const JOSEBytes bytes(all.substr(0, n));
    EXPECT_EQ(Base64::URLDecode(Base64::URLEncode(bytes)), bytes);
    EXPECT_EQ(Base64::Decode(Base64::Encode(bytes)), bytes);
  }
}

TEST(JOSEUtilsTest, Helpers) {
  std::vector<std::uint8_t> dest = {1};
  JOSEUtils::ArrayPush({2, 3, 4}, dest, 2);
  EXPECT_EQ(dest, (std::vector<std::uint8_t>{1, 2, 3}));
  JOSEUtils::ArrayPush({9}, dest, 0);
  EXPECT_EQ(dest.size(), 3u);
  EXPECT_EQ(JOSEUtils::BinToSingleHex({0x1A, 0xFF, 0x00}), "AF0");
  EXPECT_EQ(JOSEUtils::DirectoryUp("/a/b/c", 1), "/a/b");
  EXPECT_EQ(JOSEUtils::DirectoryUp("/a/b/c/", 2), "/a");
}

}  // namespace
}  // namespace quorvane::jose
