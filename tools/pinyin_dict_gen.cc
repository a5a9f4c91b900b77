// Writes one of the dictionary tables of tagging/pinyin_dict_tables.h from
// the data files of the npm package pinyin-pro (MIT licence), whose folder is
// the second argument:
//
//   pinyin_dict_gen words    node_modules/pinyin-pro > tagging/pinyin_words_table.cc
//   pinyin_dict_gen surnames node_modules/pinyin-pro > tagging/pinyin_surname_table.cc
//   pinyin_dict_gen chars    node_modules/pinyin-pro > tagging/pinyin_char_table.cc
//
// The package keeps its data as object literals in dist/esm/data/*.mjs:
// dict1 maps readings to the characters that have them (the first reading of
// a key is the character's most common one), dict2 to dict5 map words of two
// to five characters to their readings, surname maps surnames to theirs.
//
// Only what the program would otherwise get wrong is kept: characters whose
// most common reading starts with another letter than the code tables give
// them, and words whose initials differ from their characters' own. A word
// whose initials are its characters' own stays too when leaving it out would
// let a shorter word, or one that starts inside it, take its characters, as
// 杯子 keeps 子弹 from taking the 子 of 杯子弹. Every surname is kept: it
// decides where a singer's given name starts.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tagging/pinyin_code_table.h"
#include "text/encoding.h"
#include "tools/pinyin_syllable.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::vector<std::string>>>;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "pinyin_dict_gen: cannot read " << path << "\n";
    std::exit(1);
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A reader of the object literal that follows `opening` (such as
// "const DICT2 = {") up to the next "};": keys bare or quoted, each value a
// quoted string or an array of quoted strings. Anything but that shape
// stops the generator rather than giving a table that is quietly wrong.
class ObjectReader {
 public:
  ObjectReader(const std::string& text, const std::string& opening)
      : text_(text), opening_(opening), i_(text.find(opening)) {
    end_ = i_ == std::string::npos ? i_ : text.find("\n};", i_);
    if (end_ == std::string::npos) Fail("no object");
    i_ += opening.size();
  }

  Entries Read() {
    Entries entries;
    for (Skip(); i_ < end_; Skip()) {
      std::string key = Key();
      Skip();
      std::vector<std::string> values;
      if (text_[i_] == '[') {
        ++i_;
        for (Skip(); i_ < end_ && text_[i_] != ']'; Skip()) values.push_back(Quoted());
        ++i_;
      } else {
        values.push_back(Quoted());
      }
      if (values.empty()) Fail("an entry without a value");
      entries.emplace_back(key, values);
    }
    return entries;
  }

 private:
  [[noreturn]] void Fail(const char* what) const {
    std::cerr << "pinyin_dict_gen: " << what << " after \"" << opening_ << "\"\n";
    std::exit(1);
  }

  // Blanks, commas and // comments.
  void Skip() {
    while (i_ < end_) {
      if (std::isspace(static_cast<unsigned char>(text_[i_])) || text_[i_] == ',') {
        ++i_;
      } else if (text_.compare(i_, 2, "//") == 0) {
        i_ = text_.find('\n', i_);
      } else {
        break;
      }
    }
  }

  std::size_t Find(char c) const {
    std::size_t at = text_.find(c, i_);
    if (at >= end_) Fail("an entry that is not key: value");
    return at;
  }

  std::string Quoted() {
    const char quote = text_[i_];
    if (quote != '\'' && quote != '"') Fail("a value that is not quoted");
    ++i_;
    const std::size_t close = Find(quote);
    std::string s = text_.substr(i_, close - i_);
    i_ = close + 1;
    return s;
  }

  // The key, quoted or bare, and past its colon.
  std::string Key() {
    std::string key;
    if (text_[i_] == '\'' || text_[i_] == '"') {
      key = Quoted();
    } else {
      const std::size_t colon = Find(':');
      key = text_.substr(i_, colon - i_);
      i_ = colon;
    }
    i_ = Find(':') + 1;
    return key;
  }

  const std::string& text_;
  const std::string& opening_;
  std::size_t i_;
  std::size_t end_;
};

Entries ParseObject(const std::string& text, const std::string& opening) {
  return ObjectReader(text, opening).Read();
}

// One initial per syllable of a reading such as "yīn yuè".
std::string InitialsOf(const std::string& reading) {
  std::istringstream syllables(reading);
  std::string syllable, initials;
  while (syllables >> syllable) initials += kscgen::tools::SyllableInitial(syllable);
  return initials;
}

std::string Version(const std::string& package) {
  std::string json = ReadFile(package + "/package.json");
  std::size_t at = json.find("\"version\"");
  std::size_t open = json.find('"', json.find(':', at)) + 1;
  return json.substr(open, json.find('"', open) - open);
}

struct Dictionary {
  std::map<std::string, char> char_initial;  // GBK character -> initial, where it differs
  std::map<std::string, std::string> words;  // GBK word -> initials
  std::map<std::string, std::string> surnames;
  std::string utf8_of(const std::string& gbk) const { return *kscgen::text::GbkToUtf8(gbk); }
};

// A character's initial as the program gives it: the dictionary's where it
// differs, the code tables' otherwise.
char OwnInitial(const Dictionary& dict, const std::string& gbk_char) {
  auto it = dict.char_initial.find(gbk_char);
  return it != dict.char_initial.end() ? it->second : kscgen::CodeTableInitial(gbk_char);
}

std::string OwnInitials(const Dictionary& dict, const std::string& gbk) {
  std::string initials;
  for (std::size_t i = 0; i < gbk.size(); i += 2) initials += OwnInitial(dict, gbk.substr(i, 2));
  return initials;
}

// A GBK text of Chinese characters only, and its initials, or nothing when
// the entry has a character GBK lacks or a reading that does not fit.
bool ToGbk(const std::string& utf8, const std::string& reading, std::string* gbk,
           std::string* initials) {
  auto converted = kscgen::text::Utf8ToGbk(utf8);
  if (!converted || converted->empty()) return false;
  for (std::size_t i = 0; i < converted->size(); i += 2) {
    if (static_cast<unsigned char>((*converted)[i]) < 0x81 || i + 1 >= converted->size()) {
      return false;
    }
  }
  *initials = InitialsOf(reading);
  if (initials->size() * 2 != converted->size()) return false;
  if (initials->find(' ') != std::string::npos) return false;
  *gbk = *converted;
  return true;
}

Dictionary Load(const std::string& package) {
  const std::string data = package + "/dist/esm/data/";
  Dictionary dict;
  // FastDictFactory.set: a character listed under two readings keeps the later.
  std::map<std::string, std::string> char_reading;
  for (const auto& [reading, chars] : ParseObject(ReadFile(data + "dict1.mjs"), "const map = {")) {
    for (const std::string& c : chars) char_reading[c] = reading;
  }
  for (const auto& [c, reading] : char_reading) {
    std::string gbk, initials;
    std::istringstream first(reading);
    std::string syllable;
    first >> syllable;
    if (!ToGbk(c, syllable, &gbk, &initials) || gbk.size() != 2) continue;
    if (initials[0] != kscgen::CodeTableInitial(gbk)) dict.char_initial[gbk] = initials[0];
  }
  for (int n = 2; n <= 5; ++n) {
    std::string name = "dict" + std::to_string(n);
    std::string opening = "const DICT" + std::to_string(n) + " = {";
    for (const auto& [word, readings] : ParseObject(ReadFile(data + name + ".mjs"), opening)) {
      std::string gbk, initials;
      if (ToGbk(word, readings[0], &gbk, &initials)) dict.words[gbk] = initials;
    }
  }
  for (const auto& [name, readings] :
       ParseObject(ReadFile(data + "surname.mjs"), "const Surnames = {")) {
    std::string gbk, initials;
    if (ToGbk(name, readings[0], &gbk, &initials)) dict.surnames[gbk] = initials;
  }
  return dict;
}

// The words to store: those whose initials differ, then every word that a
// stored word would otherwise cut into, until none is added. A stored word
// cuts into a word when it is a shorter word at its start, or starts inside
// it and agrees with the rest of it.
std::set<std::string> WordsToStore(const Dictionary& dict) {
  std::set<std::string> stored;
  std::map<std::string, std::vector<std::string>> by_first;
  auto store = [&](const std::string& word) {
    stored.insert(word);
    by_first[word.substr(0, 2)].push_back(word);
  };
  for (const auto& [word, initials] : dict.words) {
    if (initials != OwnInitials(dict, word)) store(word);
  }
  auto cut = [&](const std::string& word) {
    for (std::size_t at = 0; at < word.size(); at += 2) {
      auto it = by_first.find(word.substr(at, 2));
      if (it == by_first.end()) continue;
      for (const std::string& s : it->second) {
        if (at == 0 && s.size() < word.size() && word.compare(0, s.size(), s) == 0) return true;
        std::size_t overlap = std::min(s.size(), word.size() - at);
        if (at > 0 && word.compare(at, overlap, s, 0, overlap) == 0) return true;
      }
    }
    return false;
  };
  for (bool added = true; added;) {
    added = false;
    for (const auto& [word, initials] : dict.words) {
      if (!stored.count(word) && cut(word)) {
        store(word);
        added = true;
      }
    }
  }
  return stored;
}

void PrintHeader(const std::string& version, const char* what) {
  std::cout << "// Generated by tools/pinyin_dict_gen from the data of the npm package\n"
               "// pinyin-pro "
            << version << " (MIT licence, see NOTICE); do not edit.\n// " << what
            << "\n#include \"tagging/pinyin_dict_tables.h\"\n\nnamespace kscgen {\n\n";
}

std::string Hex(unsigned code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%04X", code);
  return buf;
}

unsigned Code(const std::string& gbk) {
  return static_cast<unsigned char>(gbk[0]) << 8 | static_cast<unsigned char>(gbk[1]);
}

void WriteWords(const Dictionary& dict, const std::string& version) {
  std::set<std::string> stored = WordsToStore(dict);
  if (stored.size() >= 0xFFFF) {  // the program indexes them with 16 bits
    std::cerr << "pinyin_dict_gen: too many words\n";
    std::exit(1);
  }
  std::vector<std::string> order(stored.begin(), stored.end());
  std::stable_sort(order.begin(), order.end(), [](const std::string& a, const std::string& b) {
    if (Code(a) != Code(b)) return Code(a) < Code(b);
    if (a.size() != b.size()) return a.size() > b.size();
    return a < b;
  });
  PrintHeader(version,
              "Words whose initials differ from their characters' own, and the words\n"
              "// that keep shorter ones from cutting into them.");
  std::cout << "const PinyinWord kPinyinWords[] = {\n";
  for (const std::string& w : order) {
    std::cout << "    {" << Hex(Code(w)) << ", " << w.size() << ", \"" << dict.utf8_of(w)
              << "\", \"" << dict.words.at(w) << "\"},\n";
  }
  std::cout << "};\n\nconst std::size_t kPinyinWordCount = sizeof kPinyinWords / sizeof "
               "kPinyinWords[0];\n\n}  // namespace kscgen\n";
}

void WriteSurnames(const Dictionary& dict, const std::string& version) {
  PrintHeader(version, "Surnames of one and two characters and their initials as surnames.");
  std::cout << "const PinyinSurname kPinyinSurnames[] = {\n";
  for (const auto& [name, initials] : dict.surnames) {
    std::cout << "    {\"" << dict.utf8_of(name) << "\", \"" << initials << "\"},\n";
  }
  std::cout << "};\n\nconst std::size_t kPinyinSurnameCount = sizeof kPinyinSurnames / sizeof "
               "kPinyinSurnames[0];\n\n}  // namespace kscgen\n";
}

void WriteChars(const Dictionary& dict, const std::string& version) {
  PrintHeader(version,
              "Characters whose most common reading starts with another letter than\n"
              "// the code tables give them.");
  std::cout << "const PinyinCharReading kPinyinCharReadings[] = {\n";
  for (const auto& [c, initial] : dict.char_initial) {
    std::cout << "    {" << Hex(Code(c)) << ", '" << initial << "'},  // " << dict.utf8_of(c)
              << "\n";
  }
  std::cout << "};\n\nconst std::size_t kPinyinCharReadingCount =\n    sizeof kPinyinCharReadings "
               "/ sizeof kPinyinCharReadings[0];\n\n}  // namespace kscgen\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "words" && what != "surnames" && what != "chars") {
    std::cerr << "usage: pinyin_dict_gen words|surnames|chars PINYIN_PRO_PACKAGE_DIR\n";
    return 2;
  }
  const std::string package = argv[2];
  Dictionary dict = Load(package);
  const std::string version = Version(package);
  if (what == "words") WriteWords(dict, version);
  if (what == "surnames") WriteSurnames(dict, version);
  if (what == "chars") WriteChars(dict, version);
  return 0;
}
