#!/usr/bin/env bash
# A Linux run and a Windows run (under Wine, whose prefix the caller has set
# up) on one folder exclude each other, and the refused run leaves the other
# run's temporary file alone. Each side in turn holds a real run at a known
# point (tests/tools/held_run, after its first video) while the other
# system's kscgen runs on the folder.
#   scripts/mixed-lock-test.sh LINUX_BUILD_DIR WINE WINDOWS_BUILD_DIR WORK_DIR
set -uo pipefail
linux=$1 wine=$2 windows=$3 work=$4

folder=$work/锁/歌曲
planted=$folder/.kscgen-0123456789abcdef.tmp
failed=0
fail() {
  echo "mixed-lock: $*"
  failed=1
}

# One side holds the folder with held_run while the other side's kscgen
# runs on it: the latter must stop without writing or removing anything.
#   hold HOLDER_COMMAND... -- KSCGEN_COMMAND...
hold() {
  local holder=() other=()
  while [ "$1" != "--" ]; do holder+=("$1"); shift; done
  shift
  other=("$@")
  rm -rf "$work/锁"
  mkdir -p "$folder"
  for v in 陈奕迅－K歌之王 张学友－吻别 合唱团－小河水; do : >"$folder/$v.mpg"; done

  coproc HELD { "${holder[@]}" 2>&1; }
  local line=""
  IFS= read -r line <&"${HELD[0]}"
  if [ "${line%$'\r'}" != "held" ]; then
    fail "${holder[0]}: no hold (${line})"
    return
  fi
  local out code
  out=$("${other[@]}" 2>&1)
  code=$?
  [ "$code" -eq 1 ] || fail "${other[0]} ran beside a held run (exit $code): $out"
  case "$out" in
    *另一个批量任务正在处理此文件夹*) ;;
    *) fail "${other[0]}: not the message of a locked folder: $out" ;;
  esac
  [ -f "$planted" ] || fail "${other[0]} removed the held run's temporary file"
  local written
  written=$(find "$folder" -name '*.KSC' | wc -l)
  [ "$written" -eq 1 ] || fail "${other[0]} wrote beside a held run: $written KSC files"

  echo >&"${HELD[1]}"
  local pid=$HELD_PID
  wait "$pid" || fail "${holder[0]}: the held run did not finish well"
  [ "$(find "$folder" -name '*.KSC' | wc -l)" -eq 3 ] || fail "${holder[0]}: not 3 KSC files"
  [ -e "$folder/.kscgen.lock" ] && fail "${holder[0]}: the lock file stays after the run"

  # Once the held run is over, the other side runs.
  out=$("${other[@]}" 2>&1) || fail "${other[0]} after the held run: $out"
}

export LC_ALL=C.UTF-8
hold "$linux/bin/held_run" "$folder" -- \
  "$wine" "$windows/bin/kscgen.exe" --utf8 -t 1 --force "Z:$folder"
hold "$wine" "$windows/bin/held_run.exe" "Z:$folder" -- \
  "$linux/bin/kscgen" -t 1 --force "$folder"

[ $failed -eq 0 ] && echo "mixed-lock: Linux and Windows runs on one folder exclude each other, both ways"
exit $failed
