#!/usr/bin/env bash
# Prints the lines of test code (C++, Python and shell under tests/ and fuzz/) against the same
# outside tests/, fuzz/ and bench/, and fails when the ratio is above the limit (default 0.36).
# Needs no git: it reads the working tree, less .git and the folders that .gitignore names.
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-0.36}"
skipped=(-name .git)
while read -r folder; do
  case "$folder" in
    /*) skipped+=(-o -path ".$folder") ;;
    *) skipped+=(-o -name "$folder") ;;
  esac
done < <(sed -n 's|/$||p' .gitignore)
lines() {
  find "$@" \( "${skipped[@]}" \) -prune -o -type f -regex '.*\.\(cpp\|cc\|h\|hpp\|py\|sh\)' \
    -print0 | xargs -0 -r cat | wc -l
}
tests=$(lines ./tests ./fuzz)
product=$(($(lines .) - tests - $(lines ./bench)))
echo "test code: $tests lines, product code: $product lines, ratio" \
  "$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.3f", t / p }') (limit $limit)"
awk -v t="$tests" -v p="$product" -v l="$limit" 'BEGIN { exit !(t <= l * p) }' ||
  { echo "test code is above $limit of the product code" >&2; exit 1; }
