#include "dataset/credits.h"

#include "dataset/contributor_list.h"
#include "text/text.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

// The credit boundary inside the classifier; a yen sign of the input itself
// is turned into a backslash before the boundaries are set.
constexpr std::string_view kBoundary = "￥"_sj;
constexpr std::string_view kMiddleDot = "・"_sj;

struct Replacement {
  std::string_view pattern;
  std::string_view replacement;
};

// Punctuation made plain before the credits are cut, in this order.
const Replacement kPlainPunctuation[] = {
    {"（"_sj, "("},
    {"）"_sj, ")"},
    {"！"_sj, "!"},
    {"〔"_sj, " "},
    {"〕"_sj, " "},
    {"："_sj, " "},
    {"／"_sj, " "},
    {"　"_sj, " "},
};

// A role word, what takes its place in the credit, and the suffix that the
// contributor's entry gets. The first row whose text the credit contains
// wins, so the order decides between overlapping words. A "￥" at the start
// or end of a row's text matches the start or end of the credit.
struct RoleRow {
  std::string_view credit_contains;
  std::string_view replaced_by;
  std::string_view role_suffix;
};

const RoleRow kRoleTable[] = {
    {"著者"_sj, "", ""},
    {"編・著"_sj, "", "[編・著]"_sj},
    {"編著"_sj, "", "[編著]"_sj},
    {"￥著 "_sj, "", ""},
    {"著￥"_sj, "", ""},
    {"著［"_sj, "［"_sj, ""},
    {"漫画"_sj, "", ""},
    {"￥画 "_sj, "", ""},
    {" 画￥"_sj, "", ""},
    {"イラスト/作画"_sj, "", ""},
    {"作画"_sj, "", ""},
    {"小説"_sj, "", ""},
    {"(文)"_sj, "", ""},
    {"(著)"_sj, "", ""},
    {"【著】"_sj, "", ""},
    {"画［"_sj, "［"_sj, ""},
    {"原作者"_sj, "", ""},
    {"原作"_sj, "", ""},
    {"￥作 "_sj, "", ""},
    {" 作￥"_sj, "", ""},
    {"作［"_sj, "［"_sj, ""},
    {"イラスト"_sj, "", ""},
    {"￥イ "_sj, "", ""},
    {"イ［"_sj, "［"_sj, ""},
    {"(画)"_sj, "", ""},
    {"(絵)"_sj, "", ""},
    {"執筆"_sj, "", " [執筆]"_sj},
    {"脚本"_sj, "", " [脚本]"_sj},
    {"シナリオ"_sj, "", " [シナリオ]"_sj},
    {"キャラクター原案"_sj, "", " [キャラクター原案]"_sj},
    {"ストーリー原案"_sj, "", " [ストーリー原案]"_sj},
    {"原案"_sj, "", " [原案]"_sj},
    {"￥案 "_sj, "", " [案]"_sj},
    {"案［"_sj, "［"_sj, " [案]"_sj},
    {"監修他"_sj, "", " [監修他]"_sj},
    {"監修"_sj, "", " [監修]"_sj},
    {"監訳"_sj, "", " [監訳]"_sj},
    {"翻訳"_sj, "", " [翻訳]"_sj},
    {"￥訳 "_sj, "", " [訳]"_sj},
    {"訳￥"_sj, "", " [訳]"_sj},
    {"(訳)"_sj, "", " [訳]"_sj},
    {"訳［"_sj, "［"_sj, " [訳]"_sj},
    {"解説"_sj, "", " [解説]"_sj},
    {"責任編集"_sj, "", " [責任編集]"_sj},
    {"構成・編集"_sj, "", " [構成・編集]"_sj},
    {"￥編集 "_sj, "", " [編集]"_sj},
    {"編集￥"_sj, "", " [編集]"_sj},
    {"￥編 "_sj, "", " [編]"_sj},
    {" 編￥"_sj, "", " [編]"_sj},
    {"(編)"_sj, "", " [編]"_sj},
    {" 編［"_sj, "", " [編]"_sj},
    {"その他"_sj, "", "その他"_sj},
};

Text TrimLeft(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  return Text(text.substr(begin));
}

Text TrimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return Text(text.substr(0, end));
}

// True when the last character of `text` is `character`: bytes that only
// look like it from the second byte of a double-byte character do not count.
bool EndsWithCharacter(std::string_view text, std::string_view character) {
  if (!text.ends_with(character)) return false;
  const std::size_t start = text.size() - character.size();
  return CharacterBoundaryAtOrBefore(text, start) == start;
}

// Sets the role suffix from the first row of the role table that the credit
// contains, and takes the row's text out of the credit.
void ApplyRoleTable(Text* credit, Text* role_suffix) {
  for (const RoleRow& row : kRoleTable) {
    if (!Contains(*credit, row.credit_contains)) continue;
    *credit = ReplaceAll(*credit, row.credit_contains, row.replaced_by);
    *role_suffix = Text(row.role_suffix);
    return;
  }
}

// Removes one "・" at each end; a "・" inside the name stays.
Text WithoutEndDots(Text credit) {
  if (credit.starts_with(kMiddleDot)) credit = TrimLeft(credit.substr(kMiddleDot.size()));
  if (EndsWithCharacter(credit, kMiddleDot)) {
    credit = TrimRight(credit.substr(0, credit.size() - kMiddleDot.size()));
  }
  return credit;
}

bool IsContributorName(std::string_view name) {
  return !name.empty() && name != "他"_sj && name != "ほか"_sj;
}

// The text with its credit boundaries set and its punctuation made plain.
Text PreparedText(std::string_view text, std::string_view mark,
                  std::string_view separator) {
  Text prepared = ReplaceAll(text, kBoundary, "\\");
  if (Contains(prepared, mark)) {
    prepared = ReplaceAll(prepared, separator, kBoundary);
    prepared.append(kBoundary);
    prepared = ReplaceAll(prepared, mark, " ");
  } else {
    prepared.append(kBoundary);
  }
  for (const Replacement& step : kPlainPunctuation) {
    prepared = ReplaceAll(prepared, step.pattern, step.replacement);
  }
  return StripMarkup(FullWidthAlnumToAscii(prepared));
}

}  // namespace

int ClassifyCredits(std::string_view text, std::string_view mark,
                    std::string_view separator, std::string_view sub_separator) {
  TextList& contributors = ContributorList();
  int count = 0;
  const Text prepared = PreparedText(text, mark, separator);
  std::string_view remaining = prepared;
  while (true) {
    const std::size_t boundary = FindCharacter(remaining, kBoundary);
    if (boundary == kNotFound) break;
    Text credit = Text(kBoundary) + Trim(remaining.substr(0, boundary)) + Text(kBoundary);
    remaining.remove_prefix(boundary + kBoundary.size());

    Text role_suffix;
    ApplyRoleTable(&credit, &role_suffix);
    credit = Trim(RemoveAll(RemoveAll(credit, kBoundary), "()"));
    credit = WithoutEndDots(std::move(credit));

    if (sub_separator.empty()) {
      if (IsContributorName(credit)) {
        contributors.push_back(credit + role_suffix);
        ++count;
      }
      continue;
    }
    credit.append(sub_separator);
    std::string_view pieces = credit;
    while (true) {
      const std::size_t found = FindBytes(pieces, sub_separator);
      if (found == kNotFound) break;
      const Text piece = Trim(pieces.substr(0, found));
      pieces.remove_prefix(found + sub_separator.size());
      if (IsContributorName(piece)) {
        contributors.push_back(piece + role_suffix);
        ++count;
      }
    }
  }
  return count;
}

}  // namespace orvel
