#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the repository is not as clang-format lays it out.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run --Werror "${files[@]}"
