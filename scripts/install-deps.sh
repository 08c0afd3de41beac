#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and nothing
# that is already there. Safe to run again; runs unattended on CI.
set -euo pipefail

export DEBIAN_FRONTEND=noninteractive

packages=(
  g++ cmake make
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils
  firebird3.0-server
  libpugixml-dev
  libcairo2-dev fonts-dejavu-core pkgconf
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

# firebird3.0-server is there for /usr/sbin/firebird, which a test starts as
# a private server on loopback; its package scripts must not start the
# system service (Firebird on port 3050). Without a policy-rc.d of the
# machine's own, one that refuses every start stands in during the install.
policy=/usr/sbin/policy-rc.d
if [[ " ${missing[*]} " == *" firebird3.0-server "* && ! -e $policy ]]; then
  printf '#!/bin/sh\nexit 101\n' | "${SUDO[@]}" tee "$policy" >/dev/null
  "${SUDO[@]}" chmod 755 "$policy"
  trap '"${SUDO[@]}" rm -f "$policy"' EXIT
fi

echo "install-deps: installing ${missing[*]}"
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null

# Whatever a policy allowed, no system Firebird server is left running.
if [[ " ${missing[*]} " == *" firebird3.0-server "* && -x /etc/init.d/firebird3.0 ]]; then
  "${SUDO[@]}" /etc/init.d/firebird3.0 stop >/dev/null 2>&1 || true
fi
