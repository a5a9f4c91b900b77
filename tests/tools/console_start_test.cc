// kscgen.exe started as Explorer starts it on a double-click: in a console
// of its own, with no arguments. It must name its console window, show its
// usage, which names kscgen-gui.exe, and wait for a key instead of closing
// at once; a key then ends it. Needs a display for the new console (Xvfb
// under Wine).
//
//   console_start_test KSCGEN_EXE
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The text on the screen of the console of process `pid`, "" when it
// cannot be read (yet).
std::wstring ScreenOf(DWORD pid) {
  FreeConsole();
  if (!AttachConsole(pid)) return L"";
  std::wstring text;
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (out != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(out, &info)) {
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    text.resize(cells);
    DWORD read = 0;
    ReadConsoleOutputCharacterW(out, text.data(), cells, COORD{0, 0}, &read);
    text.resize(read);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  FreeConsole();
  return text;
}

bool PressKey(DWORD pid) {
  FreeConsole();
  if (!AttachConsole(pid)) return false;
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  INPUT_RECORD keys[2] = {};
  for (int i = 0; i < 2; ++i) {
    keys[i].EventType = KEY_EVENT;
    keys[i].Event.KeyEvent.bKeyDown = i == 0;
    keys[i].Event.KeyEvent.wRepeatCount = 1;
    keys[i].Event.KeyEvent.wVirtualKeyCode = VK_SPACE;
    keys[i].Event.KeyEvent.uChar.UnicodeChar = L' ';
  }
  DWORD written = 0;
  const bool ok = in != INVALID_HANDLE_VALUE && WriteConsoleInputW(in, keys, 2, &written) &&
                  written == 2;
  if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
  FreeConsole();
  return ok;
}

int Fail(const char* what) {
  std::fprintf(stderr, "console-start: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc != 2) return Fail("usage: console_start_test KSCGEN_EXE");
  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                      nullptr, nullptr, &startup, &process)) {
    return Fail("cannot start kscgen.exe");
  }
  // Attaching to its console before it has looked would make it share the
  // console: first wait for the title it gives a console of its own.
  bool titled = false;
  for (int i = 0; i < 600 && !titled; ++i) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
      return Fail("kscgen.exe closed its console without waiting for a key");
    }
    titled = FindWindowW(nullptr, L"kscgen") != nullptr;
  }
  if (!titled) return Fail("no console window named kscgen");
  // Then until the prompt for a key is on the screen: the program has
  // printed everything and waits. It must still be there (a program that
  // closed at once would have taken its console along).
  std::wstring screen;
  for (int i = 0; i < 600 && screen.find(L"按任意键") == std::wstring::npos; ++i) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
      return Fail("kscgen.exe closed its console without waiting for a key");
    }
    screen = ScreenOf(process.dwProcessId);
  }
  if (screen.find(L"按任意键") == std::wstring::npos) return Fail("no prompt for a key");
  if (screen.find(L"用法: kscgen") == std::wstring::npos) return Fail("no usage shown");
  if (screen.find(L"kscgen-gui.exe") == std::wstring::npos) {
    return Fail("the usage does not name kscgen-gui.exe");
  }
  if (!PressKey(process.dwProcessId)) return Fail("cannot press a key in its console");
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return Fail("a key did not end it");
  }
  std::printf("console-start: usage shown, waited for a key, ended by one\n");
  return 0;
}
