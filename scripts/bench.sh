#!/usr/bin/env bash
# Installs whatever is missing, builds, and runs the benchmark program under
# Wine, then dd and fio writing the same chunks into the same folder, so the
# figures sit side by side. Arguments go to the benchmark program, e.g.
#   scripts/bench.sh --bytes 1073741824 --reps 3    (a quick look)
set -euo pipefail
. "$(dirname "$0")/lib.sh"

EnsurePackages
Build
StartDisplay
trap 'StopPrefixes; StopDisplay' EXIT
PreparePrefix 96

bytes=8589934592
reps=5
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case "${args[$i]}" in
    --bytes) bytes=${args[$((i + 1))]} ;;
    --reps) reps=${args[$((i + 1))]} ;;
  esac
done
folder="$WINE_DIR/prefix-96/drive_d"   # drive D: of the prefix

say "machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
    "$(free -g | awk '/Mem:/ {print $2}') GiB memory, $(df -T "$folder" | awk 'NR==2 {print $2}') file system"
WINEPREFIX="$WINE_DIR/prefix-96" "$WINE" "$BUILD_DIR/bench/varnhold_bench.exe" "$@" </dev/null | tr -d '\r'

# The same 4,097 chunks through the page cache with no flush, as a task writes them.
chunk=2097120
full=$((bytes / chunk))
last=$((bytes - full * chunk))
echo
echo "== 7. the same writes by other tools (MiB/s, one line per sample)"
for ((rep = 0; rep < reps; rep++)); do
  rm -f "$folder/dd.dat"
  start=$(date +%s.%N)
  dd if=/dev/zero of="$folder/dd.dat" bs=$chunk count=$full iflag=fullblock status=none
  [ "$last" -gt 0 ] && dd if=/dev/zero of="$folder/dd.dat" bs=$last count=1 oflag=append conv=notrunc status=none
  end=$(date +%s.%N)
  rm -f "$folder/dd.dat"
  awk -v b="$bytes" -v s="$start" -v e="$end" 'BEGIN {printf "  dd  bs=2097120, no sync: %10.3f MiB/s\n", b / (e - s) / 1048576}'
  rm -f "$folder/fio.dat"
  fio --name=pass --filename="$folder/fio.dat" --rw=write --bs=$chunk --size=$((full * chunk)) \
      --ioengine=psync --direct=0 --end_fsync=0 --minimal 2>/dev/null |
    awk -F';' '{printf "  fio bs=2097120, psync, no sync: %10.3f MiB/s (4096 full chunks)\n", $48 / 1024}'
  rm -f "$folder/fio.dat"
done
