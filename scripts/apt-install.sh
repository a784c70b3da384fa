#!/usr/bin/env bash
# Installs the Debian packages named that are not installed yet, surviving what a fresh machine
# meets: an index that fails to refresh (a mirror mid-sync) is a warning, and an install that
# cannot resolve because of it is tried again against the release's own suite. Fails only if
# packages are still missing afterwards, and names them.
#   usage: apt-install.sh package...        (name:i386 for a package of the i386 architecture)
set -uo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

mapfile -t missing < <(missing_of "$@")
[ "${#missing[@]}" -eq 0 ] && exit 0

if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
  ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

if ! $SUDO apt-get update -qq; then
  echo "apt-install: some package indexes could not be refreshed; going on with what is there" >&2
fi

install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}
if ! install "${missing[@]}"; then
  # Without a refreshed index the i386 packages may not match the amd64 versions installed
  # from it; the release's own suite has both at one version.
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -n "$release" ]; then
    echo "apt-install: retrying against the $release suite" >&2
    install -t "$release" "${missing[@]}"
  fi
fi

mapfile -t still < <(missing_of "${missing[@]}")
if [ "${#still[@]}" -gt 0 ]; then
  echo "apt-install: these packages could not be installed: ${still[*]}" >&2
  exit 1
fi
