#!/usr/bin/env bash
# Prints the lines of test code (C++, Python and shell under tests/ and fuzz/) against the same
# outside tests/, fuzz/ and bench/, and fails when the ratio is above the limit (default 0.40).
set -euo pipefail
cd "$(dirname "$0")/.."
limit="${1:-0.40}"
lines() {
  git ls-files --cached --others --exclude-standard -- "$@" | grep -E '\.(cpp|cc|h|hpp|py|sh)$' |
    while read -r file; do [ -f "$file" ] && cat "$file"; done | wc -l
}
tests=$(lines tests fuzz)
product=$(lines . ':!tests' ':!fuzz' ':!bench')
echo "test code: $tests lines, product code: $product lines, ratio" \
  "$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.3f", t / p }') (limit $limit)"
awk -v t="$tests" -v p="$product" -v l="$limit" 'BEGIN { exit !(t <= l * p) }' ||
  { echo "test code is above $limit of the product code" >&2; exit 1; }
