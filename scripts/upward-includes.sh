#!/usr/bin/env bash
# Lists the includes in src/ that run upward in the layering, core and
# windows alike, and counts them; exits 1 when there is one. The build refuses
# such an include already (each library sees only its own include folder and
# those of the libraries below it); this names them all at once, without a
# build, and scripts/lint.sh keeps the count at 0.
#
# The layers are those of src/CMakeLists.txt, written out here once more: a
# layer is a core folder ("rack") or a folder's window code ("rack/ui"). A
# file belongs to the layer of its path; the programs' main() files
# (src/*/k52*.cpp) stand above every layer. Keep the table in step with the
# USES, CORE and LINKS of k52_core_library() and k52_window_library().
#   scripts/upward-includes.sh [source folder, default src]
set -euo pipefail
cd "$(dirname "$0")/.."
src=${1:-src}

# The layers each layer uses directly; what those use is visible too.
declare -A uses=(
  [base]=""
  [link]="base"
  [catalog]="link"
  [rack]="catalog"
  [monitor]="rack"
  [station]="catalog"
  [cli]="monitor station"
  [editing]="catalog"
  [app]="base"
  [base/ui]="base"
  [rack/ui]="base/ui rack"
  [editing/ui]="base/ui editing"
  [monitor/ui]="editing/ui monitor"
  [app/ui]="monitor/ui rack/ui app station"
)

# visible[layer] = the layer itself and everything below it, space-separated.
declare -A visible=()
closure() {
  local layer=$1 seen=" $1 " todo=$1 next used
  while [ -n "$todo" ]; do
    next=""
    for l in $todo; do
      for used in ${uses[$l]}; do
        case $seen in *" $used "*) ;; *)
          seen+="$used "
          next+=" $used"
          ;;
        esac
      done
    done
    todo=$next
  done
  visible[$layer]=$seen
}
for layer in "${!uses[@]}"; do
  closure "$layer"
done

layer_of() { # path below the source folder: "rack/ui/X.cpp" -> rack/ui, "link/posix/X.cpp" -> link
  local folder=${1%%/*} rest=${1#*/}
  if [ "${rest%%/*}" = ui ] && [ "$rest" != ui ]; then
    echo "$folder/ui"
  else
    echo "$folder"
  fi
}

core=0
window=0
while IFS= read -r -d '' file; do
  relative=${file#"$src"/}
  case ${relative##*/} in k52*.cpp) continue ;; esac
  from=$(layer_of "$relative")
  [ -n "${uses[$from]+set}" ] || continue
  while IFS=: read -r line target; do
    to=$(layer_of "$target")
    # Only the project's own folders; <...> and other quoted includes pass.
    [ -n "${uses[$to]+set}" ] || continue
    case ${visible[$from]} in *" $to "*) continue ;; esac
    echo "$file:$line: \"$target\" ($from includes $to)"
    case $from in */ui) window=$((window + 1)) ;; *) core=$((core + 1)) ;; esac
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$file" \
    | sed -E 's/^([0-9]+):[^"]*"([^"]+)".*/\1:\2/')
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

echo "upward includes: $((core + window)) (core $core, windows $window)"
[ $((core + window)) -eq 0 ]
