// The author dictionary and the contributor fields 6 to 10 and 64: loading
// "AuthDB.dat", the look-up by dictionary form, and which slot a name takes.
#include "dataset/author_dictionary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "common/book_record.h"
#include "common/run_error.h"
#include "dataset/contributor_list.h"
#include "platform/platform_fake.h"
#include "text/text.h"

namespace orvel {
namespace {

constexpr char kWorkFolder[] = "/work/";
constexpr char kAuthorDictionaryPath[] = "/work/AuthDB.dat";

struct Fields {
  Fields(std::string_view six, std::string_view seven, std::string_view eight,
         std::string_view nine, std::string_view ten, std::string_view sixty_four)
      : f6(six), f7(seven), f8(eight), f9(nine), f10(ten), f64(sixty_four) {}
  Text f6, f7, f8, f9, f10, f64;
  bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  return out << "6=[" << f.f6 << "] 7=[" << f.f7 << "] 8=[" << f.f8 << "] 9=["
             << f.f9 << "] 10=[" << f.f10 << "] 64=[" << f.f64 << "]";
}

Fields ContributorFields() {
  return {BaseField(6), BaseField(7), BaseField(8), BaseField(9), BaseField(10),
          BaseField(64)};
}

class AuthorDictionaryTest : public testing::Test {
 protected:
  void SetUp() override { ClearBase(); }
  void TearDown() override {
    FreeAuthDB();
    ClearBase();
  }

  // Loads `dictionary` (absent when null) and stores `entries` into a fresh
  // record.
  Fields Store(std::optional<std::string_view> dictionary,
               const std::vector<std::string_view>& entries) {
    if (dictionary) platform_.files[kAuthorDictionaryPath] = std::string(*dictionary);
    LoadAuthDB(platform_, kWorkFolder);
    ContributorListScope scope;
    ContributorList().assign(entries.begin(), entries.end());
    EXPECT_TRUE(StoreContributors(platform_, true, true, true, ""));
    return ContributorFields();
  }

  FakePlatform platform_;
};

struct StoreCase {
  const char* name;
  std::optional<std::string_view> dictionary;  // none: no "AuthDB.dat"
  std::vector<std::string_view> entries;
  Fields expected;
};

TEST_F(AuthorDictionaryTest, LookUpAndSlots) {
  const StoreCase cases[] = {
      {"no dictionary: names as the classifier left them", std::nullopt,
       {"青木"_sj, "赤井"_sj, "緑川 [監修]"_sj, "黒田"_sj},
       {"青木"_sj, "", "赤井"_sj, "", "緑川 [監修]\r\n黒田"_sj, ""}},
      {"key gives name, second and third text", "|青木|青木 一郎|あおき|作家|\r\n"_sj,
       {"青木"_sj},
       {"青木 一郎"_sj, "あおき"_sj, "", "", "", "作家"_sj}},
      {"key in a later cell: the cells after it are taken",
       "|赤井|青木|緑川|x|y|\r\n"_sj, {"青木"_sj},
       {"緑川"_sj, "x", "", "", "", "y"}},
      {"line without its final bar runs on into the next line",
       "|青木|緑川|x\r\n|黒田|a|b|\r\n"_sj, {"青木"_sj},
       {"緑川"_sj, "x\r\n", "", "", "", "黒田"_sj}},
      {"last line without its final bar runs to the end",
       "|青木|緑川|x|y"_sj, {"青木"_sj},
       {"緑川"_sj, "x", "", "", "", "y\r\n"}},
      {"cells after the third are ignored", "|青木|N|S|T|U|V|\r\n"_sj,
       {"青木"_sj}, {"N", "S", "", "", "", "T"}},
      {"first occurrence of the key counts",
       "|青木|一|\r\n|青木|二|\r\n"_sj, {"青木"_sj},
       {"一"_sj, "", "", "", "", ""}},
      {"a name that is part of an earlier name is not stored", std::nullopt,
       {"青木一郎"_sj, "青木"_sj}, {"青木一郎"_sj, "", "", "", "", ""}},
      {"a longer name after a shorter one is", std::nullopt,
       {"青木"_sj, "青木一郎"_sj}, {"青木"_sj, "", "青木一郎"_sj, "", "", ""}},
      {"credited first with a role, then without: once", std::nullopt,
       {"青木 [監修]"_sj, "青木"_sj}, {"青木 [監修]"_sj, "", "", "", "", ""}},
      {"credited first without, then with a role: twice", std::nullopt,
       {"青木"_sj, "青木 [監修]"_sj}, {"青木"_sj, "", "青木 [監修]"_sj, "", "", ""}},
      {"same name twice in field 10 stored once", std::nullopt,
       {"A", "B", "C", "C", "D"}, {"A", "", "B", "", "C\r\nD", ""}},
      {"empty name from the dictionary keeps the slot free",
       "|青木||s|t|\r\n"_sj, {"青木"_sj, "赤井"_sj},
       {"赤井"_sj, "", "", "", "", ""}},
      {"empty names never count as present", "|青木||s|t|\r\n|赤井||u|v|\r\n"_sj,
       {"青木"_sj, "赤井"_sj}, {"", "u", "", "", "", "v"}},
      {"bracket text as second text", std::nullopt,
       {"青木［文］"_sj, "赤井［絵］ [訳]"_sj, "緑川［x］"_sj},
       {"青木"_sj, "文"_sj, "赤井"_sj, "絵"_sj, "緑川"_sj, ""}},
      {"bracket without its closing", std::nullopt, {"青木［文"_sj},
       {"青木"_sj, "文"_sj, "", "", "", ""}},
      {"name before the bracket is not trimmed", std::nullopt, {"青木 ［文］"_sj},
       {"青木 "_sj, "文"_sj, "", "", "", ""}},
      {"the dictionary's second text wins over the bracket text",
       "|青木|青木|S||\r\n|赤井|赤井|||\r\n"_sj, {"青木［文］"_sj, "赤井［絵］"_sj},
       {"青木"_sj, "S", "赤井"_sj, "絵"_sj, "", ""}},
      {"second contributor not in the dictionary gets its bracket text",
       "|青木|青木|S|T|\r\n"_sj, {"青木"_sj, "赤井［絵］"_sj, "緑川"_sj},
       {"青木"_sj, "S", "赤井"_sj, "絵"_sj, "緑川"_sj, "T"}},
      // "ポ" is 83 7C: its second byte is no cell boundary.
      {"cells are split by character search", "|青木|ポ|x|\r\n"_sj,
       {"青木"_sj}, {"\x83\x7C", "x", "", "", "", ""}},
      {"empty dictionary file behaves like a missing one", "", {"青木［文］"_sj},
       {"青木"_sj, "文"_sj, "", "", "", ""}},
      {"empty list", "|青木|x|\r\n"_sj, {}, {"", "", "", "", "", ""}},
  };
  for (const StoreCase& c : cases) {
    ClearBase();
    platform_.files.erase(kAuthorDictionaryPath);
    EXPECT_EQ(Store(c.dictionary, c.entries), c.expected) << c.name;
  }
}

struct LineEndCase {
  std::string file;
  std::string entry;
  Fields expected;
};

// Every line of the file, the last one included, ends with CR LF in the text
// the look-up searches, whatever ended it in the file; a zero byte ends it.
TEST_F(AuthorDictionaryTest, LineEndsOfTheFile) {
  const LineEndCase cases[] = {
      {"|A|1|\r|B|2|", "B", {"2", "", "", "", "", ""}},
      {"|A|1|\n|B|2|", "B", {"2", "", "", "", "", ""}},
      {"|A|1|\r\n\r\n|B|2|\r\n", "B", {"2", "", "", "", "", ""}},
      {"|A|1\r|B|2|", "A", {"1\r\n", "B", "", "", "", "2"}},
      {"|A|1", "A", {"1\r\n", "", "", "", "", ""}},
      {std::string("|A|1|\0|B|2|", 11), "B", {"B", "", "", "", "", ""}},
  };
  for (const LineEndCase& c : cases) {
    ClearBase();
    EXPECT_EQ(Store(c.file, {c.entry}), c.expected) << c.file;
  }
}

TEST_F(AuthorDictionaryTest, KeysAreInDictionaryForm) {
  // The role suffix is part of the name and is looked up in its key form:
  // " [監修]" as "[監修]"; full-width katakana in half-width, "・" removed.
  const std::string_view dictionary =
      "|青木[監修]|青木 一郎|||\r\n|ﾐﾄﾞﾘｶﾜｱｵ|緑川 あお|||\r\n"_sj;
  EXPECT_EQ(Store(dictionary, {"青木 [監修]"_sj, "ミドリカワ・アオ"_sj}),
            (Fields{"青木 一郎"_sj, "", "緑川 あお"_sj, "", "", ""}));
}

TEST_F(AuthorDictionaryTest, SwitchesAndPrefix) {
  platform_.files.erase(kAuthorDictionaryPath);
  LoadAuthDB(platform_, kWorkFolder);
  ContributorListScope scope;
  ContributorList() = {"A", "B", "C"};

  StoreContributors(platform_, false, true, true, "* ");
  EXPECT_EQ(ContributorFields(), (Fields{"", "", "A", "", "* B\r\n* C", ""}));

  ClearBase();
  StoreContributors(platform_, true, false, false, "");
  EXPECT_EQ(ContributorFields(), (Fields{"A", "", "", "", "", ""}));

  // Filled slots stay; names already there are not stored again.
  ClearBase();
  BaseField(6) = "X";
  BaseField(10) = "B";
  StoreContributors(platform_, true, true, true, "");
  EXPECT_EQ(ContributorFields(), (Fields{"X", "", "A", "", "B\r\nC", ""}));
}

TEST_F(AuthorDictionaryTest, LoadReplacesAndFreeReleases) {
  EXPECT_FALSE(LoadAuthDB(platform_, kWorkFolder));
  platform_.files[kAuthorDictionaryPath] = "";
  EXPECT_TRUE(LoadAuthDB(platform_, kWorkFolder));
  platform_.files[kAuthorDictionaryPath] = "|A|first|\r\n";
  EXPECT_TRUE(LoadAuthDB(platform_, kWorkFolder));
  platform_.files[kAuthorDictionaryPath] = "|A|second|\n";  // LF alone ends a line too
  EXPECT_TRUE(LoadAuthDB(platform_, kWorkFolder));

  ContributorListScope scope;
  ContributorList() = {"A"};
  StoreContributors(platform_, true, true, true, "");
  EXPECT_EQ(BaseField(6), "second");

  // Missing again: the dictionary is empty, not the previous one.
  platform_.files.erase(kAuthorDictionaryPath);
  EXPECT_FALSE(LoadAuthDB(platform_, kWorkFolder));
  ClearBase();
  StoreContributors(platform_, true, true, true, "");
  EXPECT_EQ(BaseField(6), "A");

  EXPECT_TRUE(FreeAuthDB());
  EXPECT_TRUE(FreeAuthDB());  // none held: nothing to do
  ClearBase();
  StoreContributors(platform_, true, true, true, "");
  EXPECT_EQ(BaseField(6), "A");
}

TEST_F(AuthorDictionaryTest, UnreadableFileEndsTheRunNamingIt) {
  platform_.unreadable_files[kAuthorDictionaryPath] = true;
  try {
    LoadAuthDB(platform_, kWorkFolder);
    FAIL() << "no error";
  } catch (const RunError& error) {
    EXPECT_EQ(std::string(error.what()), std::string(kAuthorDictionaryPath) +
                                             std::string(" を読み込めません"_sj));
  }
}

}  // namespace
}  // namespace orvel
