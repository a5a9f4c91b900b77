// The Windows console. Arguments come from the UTF-16 command line, not
// from the code-page `argv`, which loses every character the console's code
// page lacks. Output to a console goes through WriteConsoleW, which shows
// any character whatever the console's code page; output redirected to a
// file or pipe stays UTF-8 bytes, the very bytes Linux writes (binary mode:
// no carriage return is added before each line feed).
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <streambuf>

#include "app/cli/console.h"
#include "text/utf16_win32.h"

namespace kscgen::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(text::win32::WideToUtf8(wide[i]));
  LocalFree(wide);
  return args;
}

namespace {

// Collects UTF-8 and writes whole characters to a console as UTF-16.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? 0 : c;
    pending_ += traits_type::to_char_type(c);
    if (c == '\n' && sync() != 0) return traits_type::eof();
    return c;
  }

  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<std::size_t>(n));
    if (pending_.find('\n') != std::string::npos && sync() != 0) return 0;
    return n;
  }

  int sync() override {
    // A character cut at the end waits for its other bytes.
    std::size_t whole = pending_.size();
    std::size_t back = 0;
    while (back < 3 && back < whole &&
           (static_cast<unsigned char>(pending_[whole - 1 - back]) & 0xC0) == 0x80) {
      ++back;
    }
    if (back < whole && static_cast<unsigned char>(pending_[whole - 1 - back]) >= 0xC0) {
      const auto lead = static_cast<unsigned char>(pending_[whole - 1 - back]);
      const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      if (back + 1 < need) whole -= back + 1;
    }
    if (whole == 0) return 0;
    // Bytes that are not UTF-8 are shown as U+FFFD rather than lost.
    const std::wstring wide = Widen(std::string_view(pending_).substr(0, whole));
    const wchar_t* at = wide.data();
    std::size_t left = wide.size();
    while (left > 0) {
      DWORD written = 0;
      DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      if (!WriteConsoleW(console_, at, chunk, &written, nullptr) || written == 0) return -1;
      at += written;
      left -= written;
    }
    pending_.erase(0, whole);
    return 0;
  }

 private:
  static std::wstring Widen(std::string_view utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    if (n > 0) {
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    }
    return wide;
  }

  HANDLE console_;
  std::string pending_;
};

// The console behind a standard handle, or nullptr when it is redirected.
HANDLE ConsoleOf(DWORD which) {
  HANDLE h = GetStdHandle(which);
  DWORD mode = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !GetConsoleMode(h, &mode)) return nullptr;
  return h;
}

}  // namespace

struct ConsoleOutput::State {
  std::unique_ptr<ConsoleBuffer> out;
  std::unique_ptr<ConsoleBuffer> err;
  std::streambuf* saved_out = nullptr;
  std::streambuf* saved_err = nullptr;
};

ConsoleOutput::ConsoleOutput() : state_(std::make_unique<State>()) {
  if (HANDLE h = ConsoleOf(STD_OUTPUT_HANDLE)) {
    std::cout.flush();
    state_->out = std::make_unique<ConsoleBuffer>(h);
    state_->saved_out = std::cout.rdbuf(state_->out.get());
  } else {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
  }
  if (HANDLE h = ConsoleOf(STD_ERROR_HANDLE)) {
    std::cerr.flush();
    state_->err = std::make_unique<ConsoleBuffer>(h);
    state_->saved_err = std::cerr.rdbuf(state_->err.get());
  } else {
    std::fflush(stderr);
    _setmode(_fileno(stderr), _O_BINARY);
  }
}

ConsoleOutput::~ConsoleOutput() {
  // The streams outlive this object; give them their own buffers back.
  if (state_->saved_out != nullptr) {
    std::cout.flush();
    std::cout.rdbuf(state_->saved_out);
  }
  if (state_->saved_err != nullptr) {
    std::cerr.flush();
    std::cerr.rdbuf(state_->saved_err);
  }
}

}  // namespace kscgen::cli
