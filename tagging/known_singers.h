// The singers a library's own names give without doubt, learned in a pass
// before the names are read, so that 自动识别 can tell singer from title
// where a name does not say which is which (后来 - 刘若英).
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>

#include "tagging/file_name.h"

namespace kscgen {

// Whether names read by `naming_template` are read with the singers their
// library gives: 自动识别, and the templates of singer and title, whose
// names are turned where the library knows the title's side as a singer
// and not the singer's.
bool ReadsWithKnownSingers(NamingTemplate naming_template);

class KnownSingers {
 public:
  // Moved, never copied: the set's views point into the names it holds.
  KnownSingers() = default;
  KnownSingers(const KnownSingers&) = delete;
  KnownSingers& operator=(const KnownSingers&) = delete;
  KnownSingers(KnownSingers&&) = default;
  KnownSingers& operator=(KnownSingers&&) = default;

  // Learns the singer of one name (GBK, without its extension) when it
  // gives one without doubt: singer and title at a separator with fields
  // after the title (刘若英-后来-国语, 刘若英-后来(国语)), or a title quoted
  // in 《 》 after the singer; and, under the folder role 歌手名, the
  // folder's name.
  void Learn(std::string_view base_name, FolderRole folder_role, std::string_view folder_name);

  bool Holds(std::string_view singer) const;
  std::size_t size() const { return singers_.size(); }

  // Whether the library knows `side` as a singer and not `other`, each
  // without a Latin name after a Chinese one: then `side` is the singer of
  // a name that does not say which is which (后来 - 刘若英).
  bool KnowsOnly(std::string_view side, std::string_view other) const;

 private:
  void Add(std::string_view singer);

  // Looked up by views, so that a lookup builds no string: every name read
  // under 自动识别 asks once or twice.
  std::deque<std::string> names_;  // where the views point; a deque never moves them
  std::unordered_set<std::string_view> singers_;
};

}  // namespace kscgen
