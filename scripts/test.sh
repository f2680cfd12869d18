#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the release packages'
# contents, native unit tests, the same under ASan/UBSan, bounded fuzzing runs of the
# engine file reader, the definition-file rules, the browser host's messages and the
# OpenSearch rules, and the tests under Wine (in-process Win32 tests and end-to-end tests of
# vantu.exe and Pelka.dll).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh || exit 1
bash scripts/build.sh --sanitize --fuzz || exit 1
# The browser tests' npm packages (playwright-core drives the system Chromium, puppeteer-core
# the system Firefox ESR; no browser is downloaded). The tests run with the others under Wine.
if [ ! -d tests/browser/node_modules/playwright-core ] ||
    [ ! -d tests/browser/node_modules/puppeteer-core ]; then
    (cd tests/browser && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 \
        npm ci --no-audit --no-fund --silent) || exit 1
fi

b=${MORVEL_BUILD_DIR:-$root/build}
total_pass=0 total_fail=0 status=0
run_ctest() { # dir label [ctest args]
    local dir=$1 label=$2
    shift 2
    echo "=== $label ==="
    local log
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
    local rc=${PIPESTATUS[0]}
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
    if [ -n "$line" ]; then
        local failed total
        failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
        total=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
        total_pass=$((total_pass + total - failed))
        total_fail=$((total_fail + failed))
    fi
    [ "$rc" -ne 0 ] && status=1
    rm -f "$log"
}

echo "=== release packages ==="
pkg_log=$(mktemp)
bash scripts/package.sh 2>&1 | tee "$pkg_log"
[ "${PIPESTATUS[0]}" -ne 0 ] && status=1
total_pass=$((total_pass + $(sed -n 's/^packages: \([0-9]*\) passed.*/\1/p' "$pkg_log")))
total_fail=$((total_fail + $(sed -n 's/^packages: .*, \([0-9]*\) failed$/\1/p' "$pkg_log")))
rm -f "$pkg_log"

run_ctest "$b/native" "native unit tests" -j 2
run_ctest "$b/asan" "native unit tests under ASan and UBSan" -j 2

# Bounded fuzzing runs, each fuzzer with its own seed corpus.
run_fuzzer() { # name label seconds corpus-source
    local name=$1 label=$2 seconds=$3 seeds=$4
    echo "=== fuzzing $label (${seconds} s) ==="
    local corpus="$b/fuzz/corpus-$name"
    mkdir -p "$corpus"
    cp "$seeds"/* "$corpus/" 2>/dev/null || true
    if "$b/fuzz/tests/$name" -max_total_time="$seconds" -print_final_stats=1 "$corpus" \
        2>"$b/fuzz/$name.log"; then
        grep -E 'stat::number_of_executed_units|Done' "$b/fuzz/$name.log" | tail -2
        total_pass=$((total_pass + 1))
    else
        tail -40 "$b/fuzz/$name.log"
        total_fail=$((total_fail + 1))
        status=1
    fi
}
run_fuzzer fuzz_sef_reader "the engine file reader" "${MORVEL_FUZZ_SECONDS:-30}" tests/fuzz/corpus
run_fuzzer fuzz_definition "the definition-file rules" "${MORVEL_DEF_FUZZ_SECONDS:-30}" \
    tests/fuzz/definition_corpus
run_fuzzer fuzz_host_message "the browser host's frames and messages" \
    "${MORVEL_HOST_FUZZ_SECONDS:-20}" tests/fuzz/host_corpus
run_fuzzer fuzz_opensearch "the OpenSearch rules" "${MORVEL_OPENSEARCH_FUZZ_SECONDS:-20}" \
    tests/fuzz/opensearch_corpus
run_fuzzer fuzz_companion "the companion reader" "${MORVEL_COMPANION_FUZZ_SECONDS:-20}" \
    tests/fuzz/companion_corpus
run_fuzzer fuzz_suggestions "the suggestion answers" "${MORVEL_SUGGEST_FUZZ_SECONDS:-20}" \
    tests/fuzz/suggestions_corpus

. scripts/wine-env.sh
# Every test runs in Wine's virtual desktop, the Windows-like place with a taskbar and tray.
export MORVEL_FORCE_XVFB=1 MORVEL_HARNESS=1 MORVEL_DESKTOP=${MORVEL_DESKTOP:-1280x800}
trap morvel_wine_stop EXIT
trap "exit 130" INT TERM
morvel_wine_start || exit 1
run_ctest "$b/x64" "tests under Wine"
morvel_wine_stop
trap - EXIT

echo "all: ${total_pass} passed, ${total_fail} failed"
exit $status
