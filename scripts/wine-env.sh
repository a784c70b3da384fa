# The Wine environment of Retazo's runs, in one place: sourced by scripts/run.sh, by
# tests/rig/session.sh and by tests/rig/wine-arch.
#   use_wine ARCH [ROOT]  exports WINEARCH, WINEDEBUG (quiet unless set) and WINEDLLOVERRIDES (no
#                         Mono or Gecko installer prompts), and sets wine_loader and wine_server
#                         to the paths of ARCH's loader and server inside ROOT (default /).
wine_dir=/usr/lib/wine

use_wine() {
  local arch=$1 root=${2:-}
  export WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = win32 ]; then
    wine_loader=$wine_dir/wine wine_server=$wine_dir/wineserver32
  else
    wine_loader=$wine_dir/wine64 wine_server=$wine_dir/wineserver64
  fi
  [ -x "$root$wine_server" ] || wine_server=$wine_dir/wineserver
}
