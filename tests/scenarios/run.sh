#!/usr/bin/env bash
# Runs one scenario: feeds SCRIPT to the simulator, with the current
# directory as its working directory, and compares what it prints with the
# .out file beside the script.
#
# A first line "# args: ..." adds simulator options, for example
#   # args: --screen 800x600 --exe-dir @TMP@ --user-dir @TMP@
# @TMP@ stands for a fresh empty folder (removed afterwards), so that a
# scenario that saves settings (in the user's folder) leaves the shipped data
# alone. In the output, the absolute paths of that folder and of the working
# directory read @TMP@ and @DIR@, so the expected output does not depend on
# where the tree lies.
#   usage: run.sh SIM SCRIPT
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 SIM SCRIPT" >&2
  exit 2
fi
sim=$1
script=$2
expected="${script%.sim}.out"
if [ ! -f "$expected" ]; then
  echo "missing expected output $expected" >&2
  exit 1
fi

scratch=$(mktemp -d)
actual=$(mktemp)
trap 'rm -rf "$scratch" "$actual"' EXIT

args=()
first=$(head -n 1 "$script")
if [[ $first == "# args:"* ]]; then
  read -r -a args <<< "${first#\# args:}"
  for i in "${!args[@]}"; do
    args[$i]=${args[$i]//@TMP@/$scratch}
  done
fi

"$sim" --dir "$PWD" "${args[@]}" < "$script" > "$actual"
status=$?
if [ $status -ne 0 ]; then
  echo "lumiko-sim exited with status $status on $script" >&2
  exit 1
fi
output=$(cat "$actual"; echo x)
output=${output%x}
output=${output//"$scratch"/@TMP@}
output=${output//"$PWD"/@DIR@}
if ! diff -u --label expected --label actual "$expected" <(printf '%s' "$output"); then
  echo "output of $script differs from $expected" >&2
  exit 1
fi
