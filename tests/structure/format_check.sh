#!/usr/bin/env bash
# Every C++ source of the tree (committed or new) follows .clang-format.
set -euo pipefail
cd "$1"
mapfile -t sources < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | while read -r f; do
    [ -f "$f" ] && echo "$f"
done)
clang-format --dry-run --Werror "${sources[@]}"
echo "formatting: ${#sources[@]} files follow .clang-format"
