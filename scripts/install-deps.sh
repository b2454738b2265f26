#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Brisma need.
# Runs as root, or through sudo otherwise; never prompts; installs only what is
# missing, without Recommends (about 200 MB instead of 600 MB).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config git
    qt6-base-dev
    libcurl4-openssl-dev ca-certificates curl
    libicu-dev
    libpcre2-dev
    libcpp-httplib-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth xdotool x11-utils fonts-wqy-microhei
    imagemagick
    # munkres must be named, or apt pulls scipy (330 MB) for fonttools
    python3-fonttools python3-munkres
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
