#include "test_support.h"

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
      path_ = (temp / name).string();
      return;
    }
    if (ec) throw std::runtime_error("cannot create a temporary folder: " + ec.message());
  }
  throw std::runtime_error("cannot create a temporary folder: every name taken");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // A test may have left a folder read-only.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void Touch(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ListNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : "|") + n;
  return out;
}

}  // namespace kscgen::testing
