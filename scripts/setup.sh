#!/usr/bin/env bash
# Installs what building Retazo and running it under Wine need, from nothing: the cross compiler,
# one Wine, Xvfb and the X tools that the demo drives the tool with. With --tests, also what the
# tests add: the locales they run the tool under, an X clipboard reader, a window manager, a
# second compiler, Debian 13's Wine 10 and the project's Wine prefix. Safe to run again.
#   usage: setup.sh [--tests]
set -euo pipefail
here=$(dirname "$0")

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Wine comes with the X libraries that a desktop's install of it brings as recommendations, for
# 32-bit programs too: without XInput2 (libxi6) Wine cannot confine the pointer to a full-screen
# window, and then a window manager's click grab stands between X and the tool. CMake reads
# GoogleTest's sources whenever it configures a build tree, even one that builds only the product.
"$here/apt-install.sh" \
  cmake ninja-build g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686 googletest \
  python3 wine wine32:i386 wine64 xvfb xdotool x11-utils imagemagick \
  libxi6 libxi6:i386 libxrandr2:i386 libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386

# A host that cannot execute 32-bit programs runs the x86_64 build of the same sources, which only
# the installed Wine can tell.
if [ "$("$here/../tests/rig/wine-arch")" = win64 ]; then
  "$here/apt-install.sh" g++-mingw-w64-x86-64-posix
fi

[ "${1:-}" = --tests ] || exit 0

"$here/apt-install.sh" locales xclip openbox clang

# Wine takes its ANSI code page from the locale, and only from one that exists: the tests run the
# tool under Russian (code page 1251) and Hindi (no ANSI code page of its own: UTF-8) locales.
test_locales=("ru_RU.UTF-8 UTF-8" "hi_IN UTF-8")
for entry in "${test_locales[@]}"; do
  name=${entry%% *}
  if ! locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}"; then
    grep -qx "$entry" /etc/locale.gen 2>/dev/null || echo "$entry" | $SUDO tee -a /etc/locale.gen >/dev/null
    regenerate=1
  fi
done
if [ -n "${regenerate:-}" ]; then $SUDO locale-gen >/dev/null; fi

# The tests run the tool under Debian 13's Wine 10 too, from a root made once outside the clone.
"$here/wine10-root.sh"

# The project's Wine prefix (build/wine-pristine-<arch>, copied for every session) is made once,
# before tests that start sessions side by side, with the Mono and Gecko installers disabled and
# crash dialogs off.
"$here/../tests/rig/session.sh" true
