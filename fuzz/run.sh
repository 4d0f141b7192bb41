#!/usr/bin/env bash
# Fuzzes the san build's targets: fuzz/run.sh SECONDS [TARGET...]
#
# Each target (all of them when none is named: sounding_file dos_sev
# sounding_v1 settings template grid_paste abem geotrade sas1000 syscal oyo
# astier pasi res2dinv spread) runs SECONDS with one job per core
# (TELLUMO_FUZZ_JOBS to choose), starting from its corpus
# fuzz/corpus/<target>/. What it finds new is then merged into that corpus
# (only inputs that add coverage are kept); crashes, hangs and broken
# invariants stay in build-san/fuzz/runs/<target>/ for a look, to be copied
# into the corpus as reproducers once understood.
# Needs the san build: cmake --preset san && cmake --build --preset san
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(dirname "$here")"
build="${TELLUMO_SAN_BUILD:-$source_dir/build-san}/fuzz"
all=(sounding_file dos_sev sounding_v1 settings template grid_paste abem geotrade sas1000 syscal oyo astier pasi res2dinv spread)

if [[ $# -lt 1 || ! "$1" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]   targets: ${all[*]}" >&2
  exit 2
fi
seconds="$1"
shift
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=("${all[@]}")

dict_of() {
  case "$1" in
    sounding_file) echo sounding ;;
    *) echo "$1" ;;
  esac
}

jobs="${TELLUMO_FUZZ_JOBS:-$(nproc)}"
summary=()
for t in "${targets[@]}"; do
  exe="$build/${t}_fuzz"
  if [[ ! -x "$exe" ]]; then
    echo "$exe: not built (cmake --preset san && cmake --build --preset san)" >&2
    exit 1
  fi
  corpus="$here/corpus/$t"
  out="$build/runs/$t"
  mkdir -p "$out/new" "$out/crashes" "$corpus"
  log="$out/fuzz.log"
  echo "== $t: $seconds s on $jobs jobs (log: $log)"
  # A crash or a broken invariant does not end the run: the run goes on and
  # leaves each one in crashes/.
  (cd "$out" && "$exe" -fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
      -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -dict="$here/dict/$(dict_of "$t").dict" -artifact_prefix="$out/crashes/" \
      "$out/new" "$corpus") >"$log" 2>&1 || true

  before="$(find "$corpus" -type f | wc -l)"
  "$exe" -merge=1 -max_len=65536 -timeout=10 -rss_limit_mb=2048 "$corpus" "$out/new" >"$out/merge.log" 2>&1 || {
    echo "merge failed, see $out/merge.log" >&2
    exit 1
  }
  after="$(find "$corpus" -type f | wc -l)"

  # The last status line of the fork mode: "#RUNS: cov: C ft: F corp: N exec/s: E oom/timeout/crash: a/b/c time: Ts ..."
  status="$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true)"
  runs="$(sed -nE 's/^#([0-9]+):.*/\1/p' <<<"$status")"
  cov="$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$status")"
  ft="$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$status")"
  failures="$(sed -nE 's/.*oom\/timeout\/crash: ([0-9]+\/[0-9]+\/[0-9]+).*/\1/p' <<<"$status")"
  elapsed="$(sed -nE 's/.* time: ([0-9]+)s.*/\1/p' <<<"$status")"
  rate="?"
  [[ -n "$runs" && -n "$elapsed" && "$elapsed" -gt 0 ]] && rate=$((runs / elapsed))
  crashes="$(find "$out/crashes" -type f | wc -l)"
  summary+=("$(printf '%-14s runs %10s  inputs/s %7s  cov %5s  ft %6s  oom/timeout/crash %-9s  corpus %d -> %d  kept in crashes/: %d' \
    "$t" "${runs:-?}" "$rate" "${cov:-?}" "${ft:-?}" "${failures:-?}" "$before" "$after" "$crashes")")
  echo "${summary[-1]}"
done

echo
echo "== summary ($seconds s each)"
printf '%s\n' "${summary[@]}"
