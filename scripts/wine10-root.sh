#!/usr/bin/env bash
# Makes the Debian 13 root that the tests run Wine 10 from (Debian's wine, wine32 and wine64),
# once, outside the clone, in the system's cache folder; a root that is unfinished or whose Wine
# no longer starts is made again. With --path it only prints where the root is.
#   usage: wine10-root.sh [--path]
set -euo pipefail

if [ "$(id -u)" -eq 0 ]; then
  cache=/var/cache/retazo
else
  cache=${XDG_CACHE_HOME:-$HOME/.cache}/retazo
fi
root=$cache/wine10-root
if [ "${1:-}" = "--path" ]; then echo "$root"; exit 0; fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# Debian's wine, and the X libraries that a desktop's install of it brings as recommendations:
# without XInput2 (libxi6), Wine 10 cannot confine the pointer to a full-screen window under a
# window manager and tries again without end, losing the pointer's events.
packages=(wine wine32:i386 wine64 libwine:i386 fonts-liberation)
for library in libxi6 libxrandr2 libxcursor1 libxinerama1 libxcomposite1; do
  packages+=("$library" "$library:i386")
done

. "$(dirname "$0")/wine-env.sh"
use_wine win64

# Wine finds its own files through /proc, so the check mounts it, in a namespace of its own.
works() {
  [ -f "$root/.complete" ] && [ -e "$root/usr/lib/i386-linux-gnu/libXi.so.6" ] && $SUDO unshare --mount --propagation private sh -c \
    'mount --rbind /proc "$0/proc" && chroot "$0" "$1" --version' "$root" "$wine_loader" 2>/dev/null |
    grep -q '^wine-10\.'
}
works && exit 0

"$(dirname "$0")/apt-install.sh" mmdebstrap
# The root comes from the same archive that this machine's apt uses.
mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' 2>/dev/null |
  grep -v -e security -e updates | head -n 1)
echo "wine10-root: making $root from ${mirror:-the default mirror} (about a minute)" >&2
$SUDO mkdir -p "$cache"
$SUDO rm -rf "$root" "$root.new"
$SUDO mmdebstrap --quiet --variant=apt --architectures=amd64,i386 --components=main \
  --include="$(IFS=,; echo "${packages[*]}")" \
  trixie "$root.new" ${mirror:+"$mirror"}
$SUDO touch "$root.new/.complete"
$SUDO mv "$root.new" "$root"
works || { echo "wine10-root: Wine 10 does not start in $root" >&2; exit 1; }
