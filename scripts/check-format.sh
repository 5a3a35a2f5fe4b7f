#!/usr/bin/env bash
# Checks that every C++ file git tracks under src, tests, bench, tools, fuzz and
# assets is as the repository's .clang-format writes it (clang-format 14, the
# Debian package scripts/install-deps.sh installs). Changes nothing: names each
# difference and exits 1. Fix a file with `clang-format -i FILE`.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null; then
  echo "check-format: clang-format is missing; install it with: bash scripts/install-deps.sh" >&2
  exit 1
fi
files=()
for folder in src tests bench tools fuzz assets; do
  while IFS= read -r -d '' f; do files+=("$f"); done \
    < <(git ls-files -z -- "$folder/*.cpp" "$folder/*.h")
done
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: git lists no C++ file (not a git checkout?)" >&2
  exit 1
fi
if ! printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror; then
  echo "check-format: the files named above differ from .clang-format; run clang-format -i on them" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
