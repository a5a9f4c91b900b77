// The Windows console. Arguments come from the UTF-16 command line, not
// from the code-page `argv`, which loses every character the console's code
// page lacks. Output to a console goes through WriteConsoleW, which shows
// any character whatever the console's code page; output redirected to a
// file or pipe is written in the code page Windows tools read it in, with
// CR LF, or, when asked, as the UTF-8 bytes Linux writes.
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

// Collects UTF-8 and hands on whole characters as UTF-16 at each line end
// and each flush. Bytes that are not UTF-8 are shown as U+FFFD rather than
// lost.
class WideBuffer : public std::streambuf {
 public:
  ~WideBuffer() override = default;

 protected:
  // Writes `text`; false when it could not.
  virtual bool Write(const std::wstring& text) = 0;

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
    if (!Write(Widen(std::string_view(pending_).substr(0, whole)))) return -1;
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

  std::string pending_;
};

// Writes to a console as UTF-16, which shows any character whatever the
// console's code page.
class ConsoleBuffer : public WideBuffer {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}
  ~ConsoleBuffer() override { sync(); }

 protected:
  bool Write(const std::wstring& text) override {
    const wchar_t* at = text.data();
    std::size_t left = text.size();
    while (left > 0) {
      DWORD written = 0;
      DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      if (!WriteConsoleW(console_, at, chunk, &written, nullptr) || written == 0) return false;
      at += written;
      left -= written;
    }
    return true;
  }

 private:
  HANDLE console_;
};

// Writes to a redirected stream in a code page, each line feed as CR LF; a
// character the code page lacks becomes its default character ("?").
class CodePageBuffer : public WideBuffer {
 public:
  CodePageBuffer(std::FILE* file, UINT code_page) : file_(file), code_page_(code_page) {}
  ~CodePageBuffer() override { sync(); }

 protected:
  bool Write(const std::wstring& text) override {
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16);
    for (wchar_t c : text) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    const int size = static_cast<int>(lines.size());
    int n = WideCharToMultiByte(code_page_, 0, lines.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) {
      WideCharToMultiByte(code_page_, 0, lines.data(), size, bytes.data(), n, nullptr, nullptr);
    }
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
  }

 private:
  std::FILE* file_;
  UINT code_page_;
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
  std::unique_ptr<WideBuffer> out;
  std::unique_ptr<WideBuffer> err;
  std::streambuf* saved_out = nullptr;
  std::streambuf* saved_err = nullptr;
};

ConsoleOutput::ConsoleOutput(RedirectedText redirected) : state_(std::make_unique<State>()) {
  // The console's code page, for text that ends up shown in it (type,
  // more); without a console, the system's ANSI code page (Notepad, Excel).
  UINT code_page = GetConsoleOutputCP();
  if (code_page == 0) code_page = GetACP();
  const struct {
    DWORD handle;
    std::ostream& stream;
    std::FILE* file;
    std::unique_ptr<WideBuffer>& buffer;
    std::streambuf*& saved;
  } streams[] = {
      {STD_OUTPUT_HANDLE, std::cout, stdout, state_->out, state_->saved_out},
      {STD_ERROR_HANDLE, std::cerr, stderr, state_->err, state_->saved_err},
  };
  for (const auto& s : streams) {
    s.stream.flush();
    std::fflush(s.file);
    // No carriage return added by the C library: the bytes are as written.
    _setmode(_fileno(s.file), _O_BINARY);
    if (HANDLE h = ConsoleOf(s.handle)) {
      s.buffer = std::make_unique<ConsoleBuffer>(h);
    } else if (redirected == RedirectedText::kCodePage && code_page != CP_UTF8) {
      s.buffer = std::make_unique<CodePageBuffer>(s.file, code_page);
    } else {
      continue;
    }
    s.saved = s.stream.rdbuf(s.buffer.get());
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

bool OwnsConsole() {
  // Started from a command prompt, the prompt's process shares the console.
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void NameConsole(const std::string& title) {
  SetConsoleTitleW(text::win32::Utf8ToWide(title).value_or(L"").c_str());
}

void WaitForKey(const std::string& prompt) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (in == nullptr || in == INVALID_HANDLE_VALUE || !GetConsoleMode(in, &mode)) return;
  std::cout << prompt << std::flush;
  FlushConsoleInputBuffer(in);
  INPUT_RECORD record;
  DWORD read = 0;
  while (ReadConsoleInputW(in, &record, 1, &read) && read == 1) {
    if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) break;
  }
}

}  // namespace kscgen::cli
