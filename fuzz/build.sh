#!/usr/bin/env bash
# Builds the fuzz targets natively with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build/fuzz (Debian: clang libclang-rt-14-dev
# libfuzzer-14-dev). Run one as: build/fuzz/fuzz_entry_model fuzz/corpus/entry_model -runs=N
# (fuzz_journal: fuzz/corpus/journal)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build/fuzz"
mkdir -p "$out"
flags=(-std=c++17 -g -O1 -Wall -Wextra -Wshadow -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root")
clang++ "${flags[@]}" "$root/fuzz/fuzz_entry_model.cpp" "$root/app/entry_model.cpp" -o "$out/fuzz_entry_model"
clang++ "${flags[@]}" "$root/fuzz/fuzz_journal.cpp" "$root/records/journal.cpp" -o "$out/fuzz_journal"
