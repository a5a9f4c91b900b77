// 自动识别's cost: tagging one video with the singers learned from a
// library, and the learning pass over 200,000 names against reading them
// all (the pass may add at most a fifth to a run).
#include <benchmark/benchmark.h>

#include "bench/bench_summary.h"

#include <string>
#include <vector>

#include "app/engine/messages.h"
#include "ksc/ksc_file.h"
#include "tagging/file_name.h"
#include "tagging/known_singers.h"
#include "tagging/pinyin.h"

namespace {

using namespace kscgen;

constexpr int kLibraryVideos = 200000;

// A library's names for the learning pass: singers of their own, one name
// in three with fields after its title (which teach its singer).
std::vector<std::string> LibraryNames(int count) {
  std::vector<std::string> names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) {
    const std::string singer = "歌手" + std::to_string(i % 20000);
    const std::string title = "歌曲" + std::to_string(i);
    names.push_back(i % 3 == 0   ? singer + "-" + title + "-国语-流行"
                    : i % 3 == 1 ? title + " - " + singer
                                 : "【KTV】" + singer + "《" + title + "》原版伴奏");
  }
  return names;
}

// 自动识别, with the singers learned from a library of 200,000 names: the
// same names as BM_TagOneVideo, and titles from video sites.
void BM_TagOneVideoAuto(benchmark::State& state) {
  KnownSingers known;
  for (const std::string& name : LibraryNames(kLibraryVideos)) known.Learn(name, kRoleNone, "");
  known.Learn("刘若英-很爱很爱你-国语", kRoleNone, "");
  const std::string bases[] = {
      "合唱团－小河水(粤语－怀旧－左声道)",
      "周杰伦-七里香-国语-流行",
      "【KTV】张学友-吻别(MTV)[粤语][R][怀旧歌]",
      "[KARAOKE] 后来 - 刘若英（伴奏版）",
      "【KTV】陈奕迅 Eason Chan《十年》原版伴奏 ｜ 高清歌词 (Karaoke Version)",
      "陈奕迅 浮夸 KTV 高清修復版",
      "许冠杰-沧海一声笑(MTV)_粤语_流行歌曲_MA200417",
      "梁静茹-勇气[国语]-x",
  };
  std::size_t next = 0;
  for (auto _ : state) {
    const std::string& base = bases[next];
    next = (next + 1) % std::size(bases);
    SongInfo song;
    NameFindings findings;
    song.date_text = "2026/12/7";
    ParseSongName(kTemplateAuto, kRoleNone, base, "粤语金曲", song, &findings, &known);
    bench::FinishSong(base, UniformValues(), findings, song);
  }
}
BENCHMARK(BM_TagOneVideoAuto)->Repetitions(5)->ReportAggregatesOnly(true);

// The pass that learns a library's singers before 自动识别 reads its names:
// over 200,000 names, against reading them all.
void BM_LearnSingers200000(benchmark::State& state) {
  const std::vector<std::string> names = LibraryNames(kLibraryVideos);
  for (auto _ : state) {
    KnownSingers known;
    for (const std::string& name : names) known.Learn(name, kRoleNone, "");
    benchmark::DoNotOptimize(known.size());
  }
}
BENCHMARK(BM_LearnSingers200000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadAuto200000(benchmark::State& state) {
  const std::vector<std::string> names = LibraryNames(kLibraryVideos);
  KnownSingers known;
  for (const std::string& name : names) known.Learn(name, kRoleNone, "");
  for (auto _ : state) {
    for (const std::string& name : names) {
      SongInfo song;
      NameFindings findings;
      ParseSongName(kTemplateAuto, kRoleNone, name, "", song, &findings, &known);
      song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
      song.singer_pinyin = SingerInitials(song.singer);
      std::string text = FormatKscText(song);
      benchmark::DoNotOptimize(text);
    }
  }
}
BENCHMARK(BM_ReadAuto200000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
