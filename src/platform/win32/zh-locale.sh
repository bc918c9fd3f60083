#!/usr/bin/env bash
# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page
# 936, the panel's own. Generates that locale when the system lacks it.
set -euo pipefail
if locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then exit 0; fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Generating the locale zh_CN.UTF-8"
$sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
