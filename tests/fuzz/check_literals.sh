#!/bin/sh
# Checks that the GBK literals rewritten for clang hold the bytes GCC gives
# them with -fexec-charset=GB18030.
# usage: check_literals.sh WORK_DIR PYTHON gbk_literals.py CLANG FILE...
set -eu
work=$1 python=$2 script=$3 clang=$4
shift 4
mkdir -p "$work"
"$python" "$script" check "$work/gcc.cpp" "$work/clang.cpp" "$@"
g++ -std=c++20 -fexec-charset=GB18030 "$work/gcc.cpp" -o "$work/gcc"
"$clang" -std=c++20 -Wall -Werror "$work/clang.cpp" -o "$work/clang"
"$work/gcc" > "$work/gcc.out"
"$work/clang" > "$work/clang.out"
cmp "$work/gcc.out" "$work/clang.out"
echo "$(wc -l < "$work/gcc.out") literals: the same bytes from GCC and clang"
