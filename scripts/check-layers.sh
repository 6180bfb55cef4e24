#!/usr/bin/env bash
# Checks that the program's folders include each other only the way its layers allow:
#
#   app/  ->  ui/  ->  phone/ pab/  ->  model/ link/ mapi/  ->  res/
#
# A folder may include its own headers and those of any layer below it, never one above, and the folders of one
# layer stay independent of each other. On top of that the form reaches the telephone link and the address-book
# storage only through their layers: ui/ never includes link/ or mapi/, pab/ never uses link/ and phone/ never
# uses mapi/. link/tools/ belongs to link/. Every include names its folder from the source root
# (#include "ui/CDlgView.h"); one that climbs out with "../" or names a folder outside these layers is refused too.
# Tests (tests/) and benchmarks (bench/) are not checked: they may reach into any layer.
#
# Usage: scripts/check-layers.sh [SOURCE_ROOT]
# Includes listed in scripts/layer-exceptions.txt (or the file named by $LAYER_EXCEPTIONS) are let through.
# Exit status: 0 when every include keeps to the layers, 1 when one does not (each is listed as file:line with
# the rule it breaks), 2 when the exceptions file cannot be read as such.
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
exceptions="${LAYER_EXCEPTIONS:-$root/scripts/layer-exceptions.txt}"
layers=(app ui phone pab model link mapi res)

cd "$root"
folders=()
for layer in "${layers[@]}"; do
  [[ -d "$layer" ]] && folders+=("$layer")
done
if [[ ${#folders[@]} -eq 0 ]]; then
  echo "check-layers: no program folders under $root" >&2
  exit 2
fi
mapfile -t sources < <(find "${folders[@]}" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) \
  | LC_ALL=C sort)
[[ -f "$exceptions" ]] || exceptions=/dev/null

read -r -d '' program <<'AWK' || true
# Height of each layer; a folder may include only its own or lower layers.
BEGIN {
  height["app"] = 4; height["ui"] = 3; height["phone"] = 2; height["pab"] = 2
  height["model"] = 1; height["link"] = 1; height["mapi"] = 1; height["res"] = 0
  # Paths one layer may not take although they lead downwards.
  banned["ui", "link"] = "ui/ reaches link/ only through phone/"
  banned["ui", "mapi"] = "ui/ reaches mapi/ only through pab/"
  banned["pab", "link"] = "pab/ never uses link/"
  banned["phone", "mapi"] = "phone/ never uses mapi/"
  ReadExceptions()
}

function Trim(text) {
  sub(/^[ \t\r]+/, "", text)
  sub(/[ \t\r]+$/, "", text)
  return text
}

# One "file -> included" pair per line; "#" starts a comment.
function ReadExceptions(    line, number, arrow, from, to) {
  number = 0
  while ((getline line < exceptions) > 0) {
    number++
    sub(/#.*/, "", line)
    line = Trim(line)
    if (line == "") continue
    arrow = index(line, "->")
    from = Trim(substr(line, 1, arrow - 1))
    to = Trim(substr(line, arrow + 2))
    if (arrow == 0 || from == "" || to == "" || index(to, "->") > 0) {
      printf "%s:%d: not a \"file -> included\" pair: %s\n", exceptions, number, line > "/dev/stderr"
      malformed = 1
      continue
    }
    allowed[from, to] = 1
    allowedLine[from, to] = number
  }
  close(exceptions)
}

function Folder(path) {
  return substr(path, 1, index(path, "/") - 1)
}

# The rule the include breaks, or "" when it keeps to the layers.
function BrokenRule(from, included,    to) {
  if (included ~ /(^|\/)\.\.?\//) return "includes name their folder from the source root, without \"./\" or \"../\""
  if (index(included, "/") == 0) return ""
  to = Folder(included)
  if (!(to in height)) return to "/ is not a layer of the program"
  if (to == from) return ""
  if ((from, to) in banned) return banned[from, to]
  if (height[to] > height[from]) return to "/ lies above " from "/: a layer never includes one above it"
  if (height[to] == height[from]) return from "/ and " to "/ are one layer and stay independent of each other"
  return ""
}

/^[ \t]*#[ \t]*include[ \t]*"/ {
  included = $0
  sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", included)
  sub(/".*/, "", included)
  rule = BrokenRule(Folder(FILENAME), included)
  if (rule == "") next
  if ((FILENAME, included) in allowed) {
    used[FILENAME, included] = 1
    excused++
    next
  }
  printf "%s:%d: #include \"%s\": %s\n", FILENAME, FNR, included, rule
  violations++
}

END {
  for (pair in allowed) {
    if (pair in used) continue
    split(pair, parts, SUBSEP)
    printf "%s:%d: note: no longer needed: %s -> %s\n", exceptions, allowedLine[pair], parts[1], parts[2] > "/dev/stderr"
  }
  if (malformed) exit 2
  if (violations) {
    printf "check-layers: %d include(s) against the layers (app -> ui -> phone/pab -> model/link/mapi -> res)\n", violations
    exit 1
  }
  printf "check-layers: every include keeps to the layers"
  if (excused) printf " (%d let through by %s)", excused, exceptions
  printf "\n"
}
AWK

# /dev/null last: awk must not wait on its input when the folders hold no sources at all.
awk -v exceptions="$exceptions" "$program" "${sources[@]}" /dev/null
