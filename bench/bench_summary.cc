#include "bench/bench_summary.h"

#include <cstdio>
#include <thread>

#include "app/engine/messages.h"
#include "ksc/ksc_file.h"
#include "tagging/pinyin.h"

namespace kscgen::bench {

void FinishSong(std::string_view base, const UniformValues& uniform, const NameFindings& findings,
                SongInfo& song) {
  song.abbrev = PinyinInitials(song.title, kAbbrevLimit);
  ApplyUniformValues(uniform, song);
  song.singer_pinyin = SingerInitials(song.singer);
  song.video_name = std::string(base) + ".mpg";
  std::string text = FormatKscText(song);
  std::string notes;
  for (const NameFinding& finding : findings) notes += messages::NameNote(finding);
  benchmark::DoNotOptimize(text);
  benchmark::DoNotOptimize(notes);
}

namespace {

void Line(const char* what, double value, const char* unit, double bound, bool below) {
  bool ok = below ? value < bound : value <= bound;
  std::printf("  %-48s %10.3f %-4s (bound %g %s) %s\n", what, value, unit, bound, unit,
              ok ? "ok" : "OVER");
}

// Tagging, writing, putting on disk and stopping.
void PrintTimes(SummaryReporter& reporter) {
  auto& s = reporter.seconds;
  std::printf("\nSummary on %u cores:\n", std::thread::hardware_concurrency());
  if (s.count("BM_TagOneVideo_median")) {
    // CPU time: on a shared machine the wall clock also counts the time the
    // other processes hold the core, which is no part of the tagging.
    Line("tagging one video, its notes and its KSC text (CPU)",
         reporter.cpu_seconds["BM_TagOneVideo_median"] * 1e6, "us", 2, true);
    std::printf("  %-48s %10.3f us\n", "the same, wall clock", s["BM_TagOneVideo_median"] * 1e6);
  }
  if (s.count("BM_TagOneVideoAuto_median")) {
    Line("the same, auto reading, learned singers (CPU)",
         reporter.cpu_seconds["BM_TagOneVideoAuto_median"] * 1e6, "us", 2, true);
  }
  if (s.count("BM_LearnSingers200000") && s.count("BM_ReadAuto200000")) {
    const double learn = reporter.cpu_seconds["BM_LearnSingers200000"];
    std::printf("  %-48s %10.3f x\n", "learning singers / reading 200,000 names",
                learn / reporter.cpu_seconds["BM_ReadAuto200000"]);
    // What it adds to a run: against the cheapest run there is, a re-run
    // that finds every KSC file unchanged, per video.
    if (s.count("BM_KscgenUnchangedRerun20000")) {
      Line("learning singers / unchanged re-run, per video",
           (learn / 200000) / (s["BM_KscgenUnchangedRerun20000"] / 20000), "x", 0.2, false);
    }
  }
  if (s.count("BM_PlainLoop20000")) {
    const double plain = s["BM_PlainLoop20000"];
    std::printf("  %-48s %10.1f ms\n", "plain write-and-rename loop, 20,000 files", plain * 1e3);
    if (s.count("BM_KscgenUnchangedRerun20000")) {
      const double unchanged = s["BM_KscgenUnchangedRerun20000"];
      std::printf("  %-48s %10.1f ms\n", "kscgen re-run, all 20,000 unchanged", unchanged * 1e3);
      Line("ratio unchanged re-run / plain loop", unchanged / plain, "x", 0.2, false);
    }
    if (s.count("BM_ForcedRunWithoutSync20000")) {
      const double forced = s["BM_ForcedRunWithoutSync20000"];
      std::printf("  %-48s %10.1f ms\n", "forced rewrite of 20,000, before the sync", forced * 1e3);
      Line("ratio forced rewrite / plain loop", forced / plain, "x", 1.3, false);
    }
  }
  if (s.count("BM_PlainLoopLyrics20000") && s.count("BM_ChangedLyricRerunWithoutSync20000")) {
    const double plain = s["BM_PlainLoopLyrics20000"];
    const double changed = s["BM_ChangedLyricRerunWithoutSync20000"];
    std::printf("  %-48s %10.1f ms\n", "plain loop, 20,000 lyric files", plain * 1e3);
    std::printf("  %-48s %10.1f ms\n", "re-run changing each lyric file, before the sync",
                changed * 1e3);
    Line("ratio changed lyric re-run / plain loop", changed / plain, "x", 1.3, false);
  }
  if (s.count("BM_ForcedRunWithSync20000") && s.count("BM_ForcedRunWithoutSync20000")) {
    std::printf("  %-48s %10.1f ms\n", "putting 20,000 rewritten files on disk",
                (s["BM_ForcedRunWithSync20000"] - s["BM_ForcedRunWithoutSync20000"]) * 1e3);
  }
  if (s.count("BM_KscgenForcedRerun20000")) {
    std::printf("  %-48s %10.1f ms\n", "kscgen --force, 20,000 videos, synced",
                s["BM_KscgenForcedRerun20000"] * 1e3);
  }
  if (s.count("BM_StopTakesHold20000")) {
    std::printf("  %-48s %10.1f ms\n", "a stop during a run, until the run has ended",
                s["BM_StopTakesHold20000"] * 1e3);
  }
}

// Listing, loading into the window, and peak memory.
void PrintListingAndMemory(SummaryReporter& reporter) {
  auto& s = reporter.seconds;
  if (s.count("BM_ListFolder20000_median")) {
    Line("listing 20,000 videos", s["BM_ListFolder20000_median"], "s", 0.5, true);
  }
  if (s.count("BM_WindowLoadsFolder20000_median")) {
    Line("loading 20,000 videos into the window", s["BM_WindowLoadsFolder20000_median"], "s", 0.5,
         true);
  }
  if (s.count("BM_ListLibrary100000_median")) {
    Line("listing 100,000 videos in 1,000 folders", s["BM_ListLibrary100000_median"], "s", 1, true);
  }
  if (reporter.counters.count("library_peak_MB")) {
    Line("kscgen -R peak memory, 1,000 folders", reporter.counters["library_peak_MB"], "MB", 64,
         true);
  }
  auto& c = reporter.counters;
  if (c.count("first_peak_MB")) {
    // The folder's record of what kscgen wrote is held whole while the run
    // works in it: a few hundred bytes a video.
    Line("kscgen peak memory, 200,000 videos, first run", c["first_peak_MB"], "MB", 256, true);
    Line("kscgen peak memory, 200,000 videos, re-run", c["rerun_peak_MB"], "MB", 256, true);
    std::printf("  %-48s %10.1f MB\n", "kscgen peak memory, an empty folder", c["empty_peak_MB"]);
    std::printf("  %-48s %10.0f B\n", "re-run memory per video", c["bytes_per_video"]);
  }
}

}  // namespace

void PrintSummary(SummaryReporter& reporter) {
  PrintTimes(reporter);
  PrintListingAndMemory(reporter);
}

}  // namespace kscgen::bench
