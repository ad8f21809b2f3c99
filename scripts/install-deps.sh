#!/usr/bin/env bash
# Installs the Debian packages this project needs, skipping what is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libboost1.81-dev libmariadb-dev libssl-dev zlib1g-dev rapidjson-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  mariadb-server mariadb-client
  curl wrk clang libclang-rt-14-dev python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
