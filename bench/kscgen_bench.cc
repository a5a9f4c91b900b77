// How fast kscgen is on the folders a real library holds. Prints Google
// Benchmark's table and then the figures the README quotes, each beside its
// bound: tagging one video with its notes; over 20,000 videos a re-run that finds every KSC
// file unchanged and one that rewrites them all, each against a plain loop
// that writes the same bytes the same safe way, and what putting them on disk
// costs, and how soon a stop takes hold; listing 20,000 videos (and loading
// them into the window); listing a library of 100,000 videos in 1,000
// folders; kscgen's peak memory over 200,000 videos in one folder, on the
// first run and on a re-run (which reads every KSC file back), and over the
// library.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/engine/batch.h"
#include "app/engine/messages.h"
#include "bench/bench_summary.h"
#include "ksc/ksc_file.h"
#include "tagging/file_name.h"
#include "tagging/pattern_reading.h"
#include "tagging/pinyin.h"
#include "tagging/uniform_values.h"

#ifdef KSCGEN_BENCH_GUI
#include <QApplication>
#include <QCoreApplication>

#include "app/gui/main_window.h"
#endif

namespace {

namespace fs = std::filesystem;
using namespace kscgen;

constexpr int kFolderVideos = 20000;
constexpr int kMemoryVideos = 200000;

// A folder of `count` empty videos named like a real library's (UTF-8 on disk).
std::string MakeFolder(const std::string& name, int count) {
  std::string folder = (fs::temp_directory_path() / name).string();
  fs::remove_all(folder);
  fs::create_directories(folder);
  const char* singers[] = {u8"合唱团", u8"张学友", u8"Beyond", u8"陈奕迅", u8"邓丽君"};
  for (int i = 0; i < count; ++i) {
    std::string file = folder + "/" + singers[i % 5] + u8"－歌曲" + std::to_string(i) +
                       u8"(粤语－怀旧－左声道).mpg";
    std::ofstream(file).close();
  }
  return folder;
}

// A library: `folders` folders of `per_folder` videos each, a singer's
// folder per two language folders' worth, two levels deep.
std::string MakeLibrary(const std::string& name, int folders, int per_folder) {
  std::string root = (fs::temp_directory_path() / name).string();
  fs::remove_all(root);
  for (int f = 0; f < folders; ++f) {
    std::string folder = root + u8"/语种" + std::to_string(f % 10) + u8"/歌手" + std::to_string(f);
    fs::create_directories(folder);
    for (int i = 0; i < per_folder; ++i) {
      std::ofstream(folder + u8"/歌曲" + std::to_string(i) + u8"(粤语－怀旧－左声道).mpg").close();
    }
  }
  return root;
}

// Runs kscgen with `args`, its output to /dev/null; its status, and its
// peak memory in KiB. Spawned, not forked: a forked child counts the pages
// it shares with this process until it runs kscgen, and this process may
// be larger than kscgen.
int Spawn(std::vector<std::string> args, long* peak_kib) {
  std::vector<char*> argv;
  args.insert(args.begin(), KSCGEN_BIN);
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int error = posix_spawn(&child, KSCGEN_BIN, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (peak_kib) *peak_kib = usage.ru_maxrss;
  return status;
}

// Runs kscgen on `folder` with `extra` options, date from the folder's name.
int RunKscgen(const std::string& folder, long* peak_kib, const char* extra = nullptr) {
  std::vector<std::string> args = {"-t", "4", "-r", "4", folder};
  if (extra) args.insert(args.begin(), extra);
  return Spawn(args, peak_kib);
}

std::string& RerunFolder() {
  static std::string folder = [] {
    std::string f = MakeFolder("kscgen-bench-rerun", kFolderVideos);
    RunKscgen(f, nullptr);  // the KSC files exist: every later run is a re-run
    return f;
  }();
  return folder;
}

// Names in the shapes libraries hold, one per iteration in turn: the scheme
// itself, fields after the title, tag brackets before and after, square
// brackets, a catalogue number, a trailing tag word, and a name with two notes.
void BM_TagOneVideo(benchmark::State& state) {
  const std::string bases[] = {
      "合唱团－小河水(粤语－怀旧－左声道)",
      "周杰伦-七里香-国语-流行",
      "谢金燕-练舞功(MTV)-闽南语-流行",
      "信乐团－死了都要爱(国语-摇滚-31)",
      "【KTV】张学友-吻别(MTV)[粤语][R][怀旧歌]",
      "刘若英-后来-国语-103962",
      "梁静茹 - 勇气 伴奏KTV",
      "梁静茹-勇气[国语]-x",
  };
  const UniformValues uniform =
      CollectUniformValues({ParseUniformEntry("歌曲类别", "怀旧歌").entry,
                            ParseUniformEntry("歌曲声道", "2 左声道").entry});
  std::size_t next = 0;
  for (auto _ : state) {
    const std::string& base = bases[next];
    next = (next + 1) % std::size(bases);
    SongInfo song;
    NameFindings findings;
    song.date_text = "2026/12/7";
    ParseSongName(kTemplateSingerTitleLanguageStyleChannel, kRoleNone, base, "粤语金曲", song,
                  &findings);
    bench::FinishSong(base, uniform, findings, song);
  }
}
// A shared machine's timings wander: each short figure is the median of five.
BENCHMARK(BM_TagOneVideo)->Repetitions(5)->ReportAggregatesOnly(true);

// The same by patterns of the user's own, title first and number first.
void BM_TagOneVideoByPattern(benchmark::State& state) {
  const NamePattern patterns[] = {*CompileNamePattern("{歌名} - {歌手}").pattern,
                                  *CompileNamePattern("{编号}_{歌手}_{歌名}").pattern};
  const std::string bases[] = {"勇气 - 梁静茹[粤语](MTV)", "0153_梁静茹_勇气 原唱"};
  std::size_t next = 0;
  for (auto _ : state) {
    SongInfo song;
    NameFindings findings;
    song.date_text = "2026/12/7";
    ParseSongName(patterns[next], kRoleNone, bases[next], "粤语金曲", song, &findings);
    song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
    song.singer_pinyin = SingerInitials(song.singer);
    song.video_name = bases[next] + ".mpg";
    std::string text = FormatKscText(song);
    std::string notes;
    for (const NameFinding& finding : findings) notes += messages::NameNote(finding);
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(notes);
    next = (next + 1) % std::size(bases);
  }
}
BENCHMARK(BM_TagOneVideoByPattern)->Repetitions(5)->ReportAggregatesOnly(true);

// Every KSC file is right already: the run reads them and writes nothing.
void BM_KscgenUnchangedRerun20000(benchmark::State& state) {
  const std::string& folder = RerunFolder();
  for (auto _ : state) {
    if (RunKscgen(folder, nullptr) != 0) state.SkipWithError("kscgen failed");
  }
}
BENCHMARK(BM_KscgenUnchangedRerun20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

// --force: every KSC file rewritten the safe way, then put on disk.
void BM_KscgenForcedRerun20000(benchmark::State& state) {
  const std::string& folder = RerunFolder();
  for (auto _ : state) {
    if (RunKscgen(folder, nullptr, "--force") != 0) state.SkipWithError("kscgen failed");
  }
}
BENCHMARK(BM_KscgenForcedRerun20000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The system's file system, but its folders' Sync does nothing: the
// difference to the real one is what putting a run's files on disk costs.
class NoSyncFolder : public os::Folder {
 public:
  explicit NoSyncFolder(std::unique_ptr<os::Folder> f) : Folder(f->path()), f_(std::move(f)) {}
  os::FolderIdentity identity() const override { return f_->identity(); }
  os::Error List(std::vector<os::FolderEntry>* e) override { return f_->List(e); }
  os::Error OpenSubfolder(const std::string& n, std::unique_ptr<os::Folder>* out) override {
    os::Error error = f_->OpenSubfolder(n, out);
    if (!error.failed()) *out = std::make_unique<NoSyncFolder>(std::move(*out));
    return error;
  }
  os::Error Lock() override { return f_->Lock(); }
  os::Error CheckWritable() override { return f_->CheckWritable(); }
  os::Error ReadExisting(const std::string& n, std::size_t m, os::Existing* w) override {
    return f_->ReadExisting(n, m, w);
  }
  os::Error Replace(const std::string& n, std::string_view b, const os::FileStamp* expected,
                    std::vector<std::string>* lost) override {
    return f_->Replace(n, b, expected, lost);
  }
  os::Error Remove(const std::string& n) override { return f_->Remove(n); }
  void RemoveTemporaryLeftovers() override { f_->RemoveTemporaryLeftovers(); }
  os::Error Sync(bool) override { return {}; }

 private:
  std::unique_ptr<os::Folder> f_;
};

class NoSync : public os::FileSystem {
 public:
  os::Error ResolveFolder(const std::string& p, std::string* r) override {
    return os::SystemFileSystem().ResolveFolder(p, r);
  }
  os::Error OpenFolder(const std::string& p, std::unique_ptr<os::Folder>* out) override {
    os::Error error = os::SystemFileSystem().OpenFolder(p, out);
    if (!error.failed()) *out = std::make_unique<NoSyncFolder>(std::move(*out));
    return error;
  }
};

void ForcedRunInProcess(benchmark::State& state, bool sync) {
  FolderListing listing = ListVideos(RerunFolder(), false);
  NoSync no_sync;
  BatchRequest request;
  request.naming_template = kTemplateSingerTitleLanguageStyleChannel;
  request.folder_role = kRoleDateAdded;
  request.force = true;
  if (!sync) request.file_system = &no_sync;
  for (auto _ : state) {
    if (RunBatch(request, listing.folders, nullptr).status != BatchStatus::kDone) {
      state.SkipWithError("run failed");
    }
  }
}
void BM_ForcedRunWithSync20000(benchmark::State& state) { ForcedRunInProcess(state, true); }
void BM_ForcedRunWithoutSync20000(benchmark::State& state) { ForcedRunInProcess(state, false); }
BENCHMARK(BM_ForcedRunWithoutSync20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_ForcedRunWithSync20000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// How soon a stop takes hold: asked for once 1,000 of 20,000 videos are
// done, the time until the run has returned, its flush of what it wrote
// included. The window's message follows then.
class StopAfter : public BatchObserver {
 public:
  StopAfter(std::atomic<bool>* stop, std::size_t after) : stop_(stop), after_(after) {}
  void OnVideo(const VideoReport&, std::size_t done, std::size_t) override {
    if (done != after_) return;
    asked = std::chrono::steady_clock::now();
    stop_->store(true);
  }
  std::chrono::steady_clock::time_point asked;

 private:
  std::atomic<bool>* stop_;
  std::size_t after_;
};

void BM_StopTakesHold20000(benchmark::State& state) {
  FolderListing listing = ListVideos(RerunFolder(), false);
  BatchRequest request;
  request.naming_template = kTemplateSingerTitleLanguageStyleChannel;
  request.force = true;
  for (auto _ : state) {
    std::atomic<bool> stop{false};
    request.stop = &stop;
    StopAfter observer(&stop, 1000);
    if (RunBatch(request, listing.folders, &observer).status != BatchStatus::kStopped) {
      state.SkipWithError("the run did not stop");
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - observer.asked).count());
  }
}
BENCHMARK(BM_StopTakesHold20000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The same bytes over the same names, through a temporary file and a
// rename, and nothing else: the floor that any safe writer pays.
void PlainLoop(benchmark::State& state, const std::string& folder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    if (e.path().extension() != kKscExtension) continue;
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    files.emplace_back(e.path().string(), text.str());
  }
  const std::string temp = folder + "/.plain.tmp";
  for (auto _ : state) {
    for (const auto& [path, text] : files) {
      int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
      close(fd);
      std::rename(temp.c_str(), path.c_str());
    }
  }
}
void BM_PlainLoop20000(benchmark::State& state) { PlainLoop(state, RerunFolder()); }
BENCHMARK(BM_PlainLoop20000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// 20,000 lyric files: kscgen's lines and thirty timed lyric lines each.
std::string& LyricFolder() {
  static std::string folder = [] {
    std::string f = MakeFolder("kscgen-bench-lyrics", kFolderVideos);
    RunKscgen(f, nullptr);
    std::string lyrics;
    for (int i = 0; i < 30; ++i) {
      lyrics += "karaoke.add('00:" + std::to_string(10 + i) +
                ".345', '00:" + std::to_string(11 + i) + ".678', '\xCE\xD2\xCA\xC7', '1000');\r\n";
    }
    for (const auto& e : fs::directory_iterator(f)) {
      if (e.path().extension() == kKscExtension) std::ofstream(e.path(), std::ios::app) << lyrics;
    }
    return f;
  }();
  return folder;
}

// A re-run that changes one derived value (the song number, counted from 0
// and from 100 in turn) in every lyric file, merging it into the file's own
// lines, before the flush to disk; beside the plain loop over the same files.
void BM_ChangedLyricRerunWithoutSync20000(benchmark::State& state) {
  FolderListing listing = ListVideos(LyricFolder(), false);
  NoSync no_sync;
  BatchRequest request;
  request.naming_template = kTemplateSingerTitleLanguageStyleChannel;
  request.folder_role = kRoleDateAdded;
  request.file_system = &no_sync;
  bool from_zero = false;
  for (auto _ : state) {
    from_zero = !from_zero;
    request.start_number = from_zero ? 0 : 100;
    const BatchResult result = RunBatch(request, listing.folders, nullptr);
    if (result.status != BatchStatus::kDone || result.updated != kFolderVideos) {
      state.SkipWithError("the run did not update every file");
    }
  }
}
BENCHMARK(BM_ChangedLyricRerunWithoutSync20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4);
void BM_PlainLoopLyrics20000(benchmark::State& state) { PlainLoop(state, LyricFolder()); }
BENCHMARK(BM_PlainLoopLyrics20000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ListFolder20000(benchmark::State& state) {
  const std::string& folder = RerunFolder();
  for (auto _ : state) {
    FolderListing listing = ListVideos(folder, false);
    if (listing.video_count() != kFolderVideos) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_ListFolder20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

#ifdef KSCGEN_BENCH_GUI
void BM_WindowLoadsFolder20000(benchmark::State& state) {
  const QString folder = QString::fromStdString(RerunFolder());
  gui::MainWindow window;
  window.setMessageSink([](const gui::MainWindow::Message&) {});
  window.show();
  for (auto _ : state) {
    window.ChooseFolder(QString());
    window.ChooseFolder(folder);
    QCoreApplication::processEvents();  // the view lays out and paints
  }
}
BENCHMARK(BM_WindowLoadsFolder20000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
#endif

// kscgen on `folder` without -r 4: each KSC file that exists keeps its
// date, which a re-run reads back.
int RunKscgenAt(const std::string& folder, long* peak_kib) {
  return Spawn({"-t", "4", folder}, peak_kib);
}

void BM_KscgenPeakMemory200000(benchmark::State& state) {
  static std::string folder = MakeFolder("kscgen-bench-memory", kMemoryVideos);
  const std::string empty = MakeFolder("kscgen-bench-empty", 0);
  long first_kib = 0;
  long rerun_kib = 0;
  long empty_kib = 0;
  for (auto _ : state) {
    for (const auto& e : fs::directory_iterator(folder)) {
      if (e.path().extension() == kKscExtension) fs::remove(e.path());
    }
    if (RunKscgenAt(folder, &first_kib) != 0 || RunKscgenAt(folder, &rerun_kib) != 0 ||
        RunKscgenAt(empty, &empty_kib) != 0) {
      state.SkipWithError("kscgen failed");
    }
  }
  state.counters["first_peak_MB"] = static_cast<double>(first_kib) / 1024.0;
  state.counters["rerun_peak_MB"] = static_cast<double>(rerun_kib) / 1024.0;
  state.counters["empty_peak_MB"] = static_cast<double>(empty_kib) / 1024.0;
  state.counters["bytes_per_video"] =
      static_cast<double>(rerun_kib - empty_kib) * 1024.0 / kMemoryVideos;
}
BENCHMARK(BM_KscgenPeakMemory200000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

constexpr int kLibraryFolders = 1000;
constexpr int kLibraryPerFolder = 100;

const std::string& Library() {
  static std::string root = MakeLibrary("kscgen-bench-library", kLibraryFolders, kLibraryPerFolder);
  return root;
}

void BM_ListLibrary100000(benchmark::State& state) {
  const std::string& root = Library();
  for (auto _ : state) {
    FolderListing listing = ListVideos(root, true);
    if (listing.video_count() != kLibraryFolders * kLibraryPerFolder) {
      state.SkipWithError("wrong count");
    }
  }
}
BENCHMARK(BM_ListLibrary100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

void BM_KscgenLibraryPeakMemory100000(benchmark::State& state) {
  const std::string& root = Library();
  long peak_kib = 0;
  for (auto _ : state) {
    if (RunKscgen(root, &peak_kib, "-R") != 0) state.SkipWithError("kscgen failed");
  }
  state.counters["library_peak_MB"] = static_cast<double>(peak_kib) / 1024.0;
}
BENCHMARK(BM_KscgenLibraryPeakMemory100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
#ifdef KSCGEN_BENCH_GUI
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  kscgen::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  kscgen::bench::PrintSummary(reporter);
  benchmark::Shutdown();
  return 0;
}
