#!/usr/bin/env bash
# Sets the figures of two runs (label|value|unit|bound|verdict a line, the small catalogue's first)
# beside each other, with how much each time grew: growth beyond the growth of the rows, with a fifth
# for noise as the model's growth line allows, is MISSED.
set -euo pipefail
awk -F'|' '
  NR == FNR { small[$1] = $2; smallVerdict[$1] = $5; next }
  $1 == "rows" { rowGrowth = small["rows"] > 0 ? $2 / small["rows"] : 0 }
  {
    growth = ""
    if ($3 == "s" && small[$1] > 0 && rowGrowth > 0)
      growth = sprintf("x%.1f %s", $2 / small[$1], $2 / small[$1] <= rowGrowth * 1.2 ? "ok" : "MISSED")
    bound = $4 == "" ? "" : "(bound " $4 ")"
    printf "%-50s %10.3f %-9s %10.3f %-6s %-13s %-11s %s\n", $1, small[$1], smallVerdict[$1], $2, $5, bound, growth, $3
  }
  BEGIN { printf "%-50s %20s %17s %-13s %s\n", "", "100k", "1m", "", "growth" }
' "$1" "$2"
