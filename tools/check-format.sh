#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what .clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
find app bench effects fuzz game keycontrol lockkeys mainwindow platform scripts tests \
    \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null |
    xargs -0 clang-format --dry-run -Werror
