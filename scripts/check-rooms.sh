#!/usr/bin/env bash
# The rooms of src/ (each folder under src/, and each folder under src/platform) and the
# includes between them may not go round in a circle: a room that reaches itself through
# others' includes cannot be understood, built or tested without them. Prints each circle and
# fails; prints nothing when there is none.
set -euo pipefail
src=$(cd "$(dirname "$0")/../src" && pwd)

edges=$(
  cd "$src"
  grep -rE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . |
    sed -E 's|^\./([^:]*):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*|\1 \2|' |
    while read -r file included; do
      # Only headers of src/ (not one beside the file, nor a generated one).
      [ -e "$included" ] && echo "$file $included"
    done |
    awk 'function room(p, parts) { split(p, parts, "/")
                                   return parts[1] == "platform" ? parts[1] "/" parts[2] : parts[1] }
         { from = room($1); to = room($2); if (from != to) print from, to }' | sort -u
)
if ! loops=$(echo "$edges" | tsort 2>&1 >/dev/null) || [ -n "$loops" ]; then
  echo "Rooms of src/ that include each other in a circle:"
  echo "$loops" | sed -n 's/^tsort: //p' | grep -v 'input contains a loop' | sed 's/^/  /'
  exit 1
fi
