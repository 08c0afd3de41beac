#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing
# that is already there. Safe to run again; runs unattended on CI.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

packages=(
  g++ cmake make
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils
  libpugixml-dev
  libjpeg62-turbo-dev
  googletest libgtest-dev libgmock-dev
  libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$p")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps: missing ${missing[*]} and not root (no sudo)" >&2
    exit 1
  fi
  SUDO=(sudo -n)
fi

echo "install-deps: installing ${missing[*]}"
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
