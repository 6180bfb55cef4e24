#!/usr/bin/env bash
# Checks that the program's folders include each other only the way its layers allow:
#
#   app/  ->  ui/  ->  phone/ pab/  ->  model/ link/ mapi/ dav/  ->  res/
#
# A folder may include its own headers and those of any layer below it, never one above, and the folders of one
# layer stay independent of each other. On top of that the form reaches the telephone link and the address-book
# storage only through their layers: ui/ never includes link/, mapi/ or dav/ (the CardDAV client), pab/ never uses
# link/, and phone/ never uses mapi/ or dav/. link/tools/ belongs to link/. Every include names its folder from the source root
# (#include "ui/CDlgView.h"); one that climbs out with "../" or names a folder outside these layers is refused too,
# and so is a header of the program's folders included in angle brackets (#include <mapi/Mapi.h>), which would
# slip past these rules. MAPI types stay inside pab/: a pab/ header that ui/ or app/ includes must not include
# mapi/, directly or through other pab/ headers (the session's own header is for pab/, tests and benchmarks).
# Tests (tests/) and benchmarks (bench/) are not checked: they may reach into any layer.
#
# Usage: scripts/check-layers.sh [SOURCE_ROOT]
# Includes listed in scripts/layer-exceptions.txt (or the file named by $LAYER_EXCEPTIONS) are let through.
# Exit status: 0 when every include keeps to the layers, 1 when one does not (each is listed as file:line with
# the rule it breaks), 2 when the exceptions file cannot be read as such.
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
exceptions="${LAYER_EXCEPTIONS:-$root/scripts/layer-exceptions.txt}"
layers=(app ui phone pab model link mapi dav res)

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
  height["model"] = 1; height["link"] = 1; height["mapi"] = 1; height["dav"] = 1; height["res"] = 0
  # Paths one layer may not take although they lead downwards.
  banned["ui", "link"] = "ui/ reaches link/ only through phone/"
  banned["ui", "mapi"] = "ui/ reaches mapi/ only through pab/"
  banned["pab", "link"] = "pab/ never uses link/"
  banned["phone", "mapi"] = "phone/ never uses mapi/"
  banned["ui", "dav"] = "ui/ reaches dav/ only through pab/"
  banned["phone", "dav"] = "phone/ never uses dav/"
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

# The mapi/ header a pab/ header reaches, as "pab/A.h -> pab/B.h -> mapi/C.h", or "" when it reaches none.
function MapiChain(header,    count, parts, k, chain) {
  if (header in chainOf) return chainOf[header]
  chainOf[header] = "" # a cycle of pab/ headers ends here
  count = split(pabHeaderIncludes[header], parts, SUBSEP)
  for (k = 1; k <= count; k++) {
    if (parts[k] == "") continue
    if (Folder(parts[k]) == "mapi") { chain = parts[k]; break }
    if (Folder(parts[k]) == "pab" && (chain = MapiChain(parts[k])) != "") break
  }
  chainOf[header] = chain == "" ? "" : header " -> " chain
  return chainOf[header]
}

function Report(file, line, spelled, included, rule) {
  if ((file, included) in allowed) {
    used[file, included] = 1
    excused++
    return
  }
  printf "%s:%d: #include %s: %s\n", file, line, spelled, rule
  violations++
}

/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
  included = $0
  sub(/^[ \t]*#[ \t]*include[ \t]*/, "", included)
  angled = substr(included, 1, 1) == "<"
  included = substr(included, 2)
  if (angled) sub(/>.*/, "", included)
  else sub(/".*/, "", included)
  from = Folder(FILENAME)
  if (angled && !(Folder(included) in height)) next # a header of the system or of a library
  if (from == "pab" && FILENAME ~ /\.(h|hpp)$/) pabHeaderIncludes[FILENAME] = pabHeaderIncludes[FILENAME] SUBSEP included
  rule = BrokenRule(from, included)
  if (angled) {
    Report(FILENAME, FNR, "<" included ">", included,
           "the program's headers are included in quotes, named from the source root, so that these rules see them" \
           (rule == "" ? "" : "; and " rule))
    next
  }
  if (rule != "") {
    Report(FILENAME, FNR, "\"" included "\"", included, rule)
    next
  }
  # Whether this pab/ header brings MAPI types along is known once every pab/ header has been read.
  if ((from == "ui" || from == "app") && Folder(included) == "pab") {
    pending++
    pendingFile[pending] = FILENAME
    pendingLine[pending] = FNR
    pendingHeader[pending] = included
  }
}

END {
  for (p = 1; p <= pending; p++) {
    chain = MapiChain(pendingHeader[p])
    if (chain != "")
      Report(pendingFile[p], pendingLine[p], "\"" pendingHeader[p] "\"", pendingHeader[p],
             "it brings MAPI types above pab/ (" chain "); include a pab/ header without them")
  }
  for (pair in allowed) {
    if (pair in used) continue
    split(pair, parts, SUBSEP)
    printf "%s:%d: note: no longer needed: %s -> %s\n", exceptions, allowedLine[pair], parts[1], parts[2] > "/dev/stderr"
  }
  if (malformed) exit 2
  if (violations) {
    printf "check-layers: %d include(s) against the layers (app -> ui -> phone/pab -> model/link/mapi/dav -> res)\n", violations
    exit 1
  }
  printf "check-layers: every include keeps to the layers"
  if (excused) printf " (%d let through by %s)", excused, exceptions
  printf "\n"
}
AWK

# /dev/null last: awk must not wait on its input when the folders hold no sources at all.
awk -v exceptions="$exceptions" "$program" "${sources[@]}" /dev/null
