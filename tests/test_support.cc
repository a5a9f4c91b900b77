#include "test_support.h"

#include "app/engine/written_record.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace kscgen::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  // A random name that no other folder has yet: create_directory fails on
  // an existing one, so two tests running at once never share a folder.
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path temp = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "kscgen-test-%012llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    std::error_code ec;
    if (fs::create_directory(temp / name, ec)) {
      path_ = (temp / name).u8string();
      return;
    }
    if (ec) throw std::runtime_error("cannot create a temporary folder: " + ec.message());
  }
  throw std::runtime_error("cannot create a temporary folder: every name taken");
}

fs::path U8Path(const std::string& utf8) {
  fs::path path = fs::u8path(utf8);
#ifdef _WIN32
  // Extended-length, so that the tests' own files may lie deeper than 260
  // characters too; such a path is taken as it stands, so "/" must go.
  if (path.is_absolute() && utf8.rfind("\\\\", 0) != 0) {
    path = fs::path(L"\\\\?\\" + path.make_preferred().wstring());
  }
#endif
  return path;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // A test may have left a folder (or, on Windows, a file) read-only.
  for (auto it = fs::recursive_directory_iterator(U8Path(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(U8Path(path_), ec);
}

void Touch(const std::string& path, const std::string& content) {
  std::ofstream out(U8Path(path), std::ios::binary);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(U8Path(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ListNames(const std::string& folder, bool with_record) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(U8Path(folder))) {
    std::string name = e.path().filename().u8string();
    if (with_record || name != WrittenRecord::kFileName) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : "|") + n;
  return out;
}

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace kscgen::testing
