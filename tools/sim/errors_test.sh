#!/usr/bin/env bash
# lumiko-sim's handling of bad input: each case gives a script, the exit
# status it must end with and a text that the one line on standard error (or
# standard output, for status 0) must contain.
#   usage: errors_test.sh SIM
set -u
sim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check STATUS EXPECTED SCRIPT
  local want=$1 expect=$2 script=$3 out err status
  out=$(printf '%b' "$script" | "$sim" --dir "$work" 2>"$work/err")
  status=$?
  err=$(cat "$work/err")
  if [ $status -ne "$want" ]; then
    echo "FAIL: status $status, wanted $want for: $script"; failures=$((failures + 1)); return
  fi
  if [ "$want" -ne 0 ] && [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ]; then
    echo "FAIL: not one line on stderr for: $script"; printf '%s\n' "$err"; failures=$((failures + 1)); return
  fi
  local text=$err
  [ "$want" -eq 0 ] && text=$out
  if [[ $text != *"$expect"* ]]; then
    echo "FAIL: for: $script"; echo "  wanted: $expect"; echo "  got:    $text"; failures=$((failures + 1))
  fi
}

check 2 "line 1: unknown command 'bogus'" 'bogus'
check 2 "line 3: unknown control 'nosuch'" '\n# a comment\nclick nosuch'
check 2 "unknown property 'nope'" 'show 输入标签.nope'
check 2 "unknown menu item '帮助/其它'" 'menu 帮助/其它'
check 2 "unknown menu item 'nosuch'" 'menu nosuch'
check 2 "unknown menu item '超级按钮1'" 'show 超级按钮1.checked'
check 2 "unknown global 'nope'" 'show global nope'
check 2 "unknown setting 'weather'" 'set weather fine'
check 2 "unknown tray click 'middle'" 'tray middle'
check 2 "line 1: malformed line" 'click  超级按钮1'
check 2 "give both X and Y" 'click 超级按钮1 5'
check 2 "malformed tick count '-1'" 'tick -1'
check 2 "malformed tick count 'x'" 'tick x'
check 2 "malformed row '10'" 'cell 10 0'
check 2 "malformed column '12'" 'show cell 0 12'
check 2 "malformed clock" 'set clock 2026-02-30 00:00:00'
check 2 "malformed clock" 'set clock 2026-1-1 0:0:0'
check 2 "malformed network state" 'set network 2'
check 2 "malformed window handle" 'set focus -5'
check 2 "malformed answer" 'set answer maybe'
check 2 "set page kw TEXT" 'set page other x'
check 2 "settings window is not open" 'show settings/列表框1'
check 2 "has no line 0" 'select 列表框1 0'
check 2 "is not an edit box" 'type 输入标签 x'
check 2 "is not a list box" 'show list 输入标签'
check 2 "line 2: unknown command" 'show exited\n\xff\xfe'
check 0 "" ''
check 0 "" '\n   \n# only comments\n'
check 0 '"1"' 'show 超级按钮1.width \nclick 超级按钮1\nshow 编辑框2'
check 0 $'true\n""' 'menu 退出\nclick 超级按钮1\ntick 5\nshow exited\nshow 编辑框2'
check 0 '{"visible": false, "tip": ' 'menu 退出\nshow tray'
check 0 '"國"' 'menu 繁体\nset page kw 国\ntick 2\nshow typed'

if [ $failures -ne 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
