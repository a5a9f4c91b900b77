#include "app/engine/same_names.h"

#include <algorithm>
#include <utility>

#include "app/engine/messages.h"
#include "app/engine/video_name.h"
#include "ksc/ksc_file.h"
#include "text/encoding.h"
#include "text/gbk_text.h"

namespace kscgen {

namespace {

// The name the song manager reads: the GBK name without its extension,
// compared with text::CompareFoldingCase.
std::string_view NameKey(const VideoFile& file) { return StemView(file.name.gbk); }

bool EndsWithKsc(std::string_view name) {
  const std::size_t n = kKscExtension.size();
  return name.size() >= n &&
         text::CompareFoldingCase(name.substr(name.size() - n), kKscExtension) == 0;
}

}  // namespace

void SameNames::Group(const VideoFolder& folder) {
  const std::vector<VideoFile>& files = folder.files;
  skip_reasons_.assign(files.size(), nullptr);
  winner_.assign(files.size(), kNone);
  previous_.assign(files.size(), kNone);
  order_.clear();
  for (std::size_t i = 0; i < files.size(); ++i) {
    skip_reasons_[i] = SkipReason(files[i]);
    if (skip_reasons_[i] == nullptr) order_.push_back(static_cast<std::uint32_t>(i));
  }
  std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int c = text::CompareFoldingCase(NameKey(files[a]), NameKey(files[b]));
    return c != 0 ? c < 0 : a < b;
  });
  for (std::size_t k = 0; k < order_.size();) {
    std::size_t end = k + 1;
    while (end < order_.size() &&
           text::CompareFoldingCase(NameKey(files[order_[end]]), NameKey(files[order_[k]])) == 0) {
      previous_[order_[end]] = order_[end - 1];
      ++end;
    }
    for (std::size_t j = k; j < end; ++j) winner_[order_[j]] = order_[end - 1];
    k = end;
  }
}

// The video whose name is one with `gbk_stem`, if any: the one that writes.
std::uint32_t SameNames::WinnerFor(const VideoFolder& folder, std::string_view gbk_stem) const {
  auto it = std::lower_bound(order_.begin(), order_.end(), gbk_stem,
                             [&](std::uint32_t a, std::string_view key) {
                               return text::CompareFoldingCase(NameKey(folder.files[a]), key) < 0;
                             });
  if (it == order_.end() || text::CompareFoldingCase(NameKey(folder.files[*it]), gbk_stem) != 0) {
    return kNone;
  }
  return winner_[*it];
}

os::Error SameNames::FindKscFilesSpelledOtherwise(const VideoFolder& folder, os::Folder& handle,
                                                  bool recursive,
                                                  std::vector<std::string>* warnings) {
  other_spelling_.clear();
  stale_.clear();
  if (order_.empty()) return {};
  std::vector<bool> own_name_found(folder.files.size());
  std::vector<std::pair<std::uint32_t, std::string>> others;  // by video
  os::Error error = handle.ForEachEntry([&](os::FolderEntry& e) {
    if (!EndsWithKsc(e.name)) return;
    const text::DecodedName decoded = text::DecodeFileName(e.name);
    if (decoded.problem != text::NameProblem::kNone) return;
    const std::uint32_t w = WinnerFor(
        folder, std::string_view(decoded.gbk).substr(0, decoded.gbk.size() - kKscExtension.size()));
    if (w == kNone) return;
    const std::string_view stem = StemView(folder.files[w].native_name);
    if (e.name.size() == stem.size() + kKscExtension.size() &&
        e.name.compare(0, stem.size(), stem) == 0 &&
        std::string_view(e.name).substr(stem.size()) == kKscExtension) {
      own_name_found[w] = true;
      return;
    }
    others.emplace_back(w, std::move(e.name));
  });
  std::sort(others.begin(), others.end());
  for (std::size_t k = 0; k < others.size(); ++k) {
    const std::uint32_t w = others[k].first;
    if (!own_name_found[w] && (k == 0 || others[k - 1].first != w)) {
      other_spelling_.emplace(w, std::move(others[k].second));
      continue;
    }
    warnings->push_back(messages::StaleKscFile(ShownName(folder, others[k].second, recursive)));
    stale_[w].push_back(text::DisplayName(others[k].second));
  }
  return error;
}

void SameNames::Clear() {
  skip_reasons_ = {};
  winner_ = {};
  previous_ = {};
  order_ = {};
  other_spelling_ = {};
  stale_ = {};
}

const std::string* SameNames::other_spelling(std::size_t i) const {
  auto it = other_spelling_.find(static_cast<std::uint32_t>(i));
  return it == other_spelling_.end() ? nullptr : &it->second;
}

const std::vector<std::string>* SameNames::stale(std::size_t i) const {
  auto it = stale_.find(static_cast<std::uint32_t>(i));
  return it == stale_.end() ? nullptr : &it->second;
}

}  // namespace kscgen
