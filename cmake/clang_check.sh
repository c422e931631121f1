#!/usr/bin/env bash
# A second compiler over the product code: clang, aimed at the same mingw-w64
# headers, with the project's warnings as errors. Catches what GCC lets pass.
#   clang_check.sh SOURCE_DIR
set -euo pipefail
src=$1/src
gcc_include=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | head -n 1)
status=0
for file in $(find "$src" -name '*.cpp' | sort); do
    clang++ --target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only -Werror -Wall -Wextra -Wshadow \
        -Wformat=2 -I "$src" -isystem "$gcc_include" -isystem "$gcc_include/x86_64-w64-mingw32" \
        -isystem /usr/x86_64-w64-mingw32/include "$file" || status=1
done
exit $status
