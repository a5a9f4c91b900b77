#!/usr/bin/env bash
# Runs the Linux kscgen and kscgen.exe (under Wine, whose prefix the caller
# has set up) with the same options on copies of the same sample folders,
# and compares what they leave: every file's name and bytes, the exit codes,
# what a dry run prints, and the messages for options that cannot be used
# (kscgen.exe told to write UTF-8 as Linux does).
# Exits 1 on any difference.
#   scripts/same-ksc-bytes.sh LINUX_KSCGEN WINE KSCGEN_EXE SAMPLES WORK_DIR
set -uo pipefail
linux=$1 wine=$2 exe=$3 samples=$4 work=$5

rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"

# Each case: the folder below the samples (. for the samples themselves) and
# the options. The date is fixed: "today" would differ at midnight.
date_option="--date 2026/12/7"
cases=()
for t in 0 1 2 3 4; do
  for r in 0 1 2 3 4; do
    for folder in . 粤语金曲 怀旧金曲; do cases+=("$folder|-t $t -r $r"); done
  done
done
cases+=(
  "粤语金曲|-t 1 -r 2 -s 0"
  "怀旧金曲|-t 4 -r 1 -s 99998"
  ".|-t 2 -r 0 -s 2147483640"
  "怀旧金曲|-t 4 -r 0 -u singer=合唱团 -u style=怀旧 -u language=粤语 -u channel=左声道"
  "粤语金曲|-t 3 -r 3 -u 歌曲声道=3"
  ".|-R -t 1 -r 1 -s 10"
  ".|-R -t 4 -r 2"
  "粤语金曲|-n -t 4 -r 2 -s 5"
  "怀旧金曲|-n -t 3 -r 1 -u singer=张三"
  # Options that cannot be used: the messages too must be the same.
  ".|-t 1 -xn"
  ".|-t 1 --bogus=1"
  ".|-n -t 9"
  ".|-r 1 -u mood=happy -t 1"
  ".|-u channel=9 -t 1"
  ".|-s 12a -t 1"
  ".|-n -r 2"
  ".|-t"
)

failed=0
n=0
for c in "${cases[@]}"; do
  n=$((n + 1))
  folder=${c%%|*}
  read -r -a options <<<"${c#*|}"
  for side in linux windows; do
    # The same folder names on both sides: the folder's name is a value.
    mkdir -p "$work/$side/$n"
    cp -r "$samples" "$work/$side/$n/样本"
  done
  target_linux="$work/linux/$n/样本/$folder"
  target_windows="Z:$work/windows/$n/样本/$folder"
  if [ "${options[*]}" = "-t" ]; then  # the value missing: the folder must not become it
    target_linux="" target_windows=""
  fi
  "$linux" $date_option "${options[@]}" ${target_linux:+"$target_linux"} \
    >"$work/linux/$n.out" 2>"$work/linux/$n.err"
  echo "exit $?" >"$work/linux/$n.exit"
  "$wine" "$exe" --utf8 $date_option "${options[@]}" ${target_windows:+"$target_windows"} \
    >"$work/windows/$n.out" 2>"$work/windows/$n.err"
  echo "exit $?" >"$work/windows/$n.exit"
  if [ "$(cat "$work/linux/$n.exit")" = "exit 2" ]; then
    cat "$work/linux/$n.out" "$work/linux/$n.err" >>"$work/linux/$n.exit"
    cat "$work/windows/$n.out" "$work/windows/$n.err" >>"$work/windows/$n.exit"
  fi
  rm -f "$work/linux/$n.err" "$work/windows/$n.err"
  # Messages name the folder as typed; only the dry run's table is compared.
  case " ${options[*]} " in
    *" -n "*) cat "$work/linux/$n.out" >>"$work/linux/$n.exit"
              cat "$work/windows/$n.out" >>"$work/windows/$n.exit" ;;
  esac
  if ! diff -r "$work/linux/$n" "$work/windows/$n" >"$work/diff" 2>&1 ||
    ! cmp -s "$work/linux/$n.exit" "$work/windows/$n.exit"; then
    echo "differ: $folder ${options[*]}"
    head -10 "$work/diff"
    diff "$work/linux/$n.exit" "$work/windows/$n.exit" | head -10
    failed=1
  fi
done

ksc_files=$(find "$work/linux" -name '*.KSC' | wc -l)
if [ "$ksc_files" -eq 0 ]; then
  echo "same-ksc-bytes: no KSC file was written"
  failed=1
fi
if [ $failed -eq 0 ]; then
  echo "same-ksc-bytes: $n runs, $ksc_files KSC files, names, bytes, exit codes and messages identical"
fi
exit $failed
