#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Vimbrel
# need, where they are missing. Needs root (or sudo) only when something is
# missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-image-formats-plugins qt6-wayland libmicrohttpd-dev
  libjpeg62-turbo-dev libexif-dev libicu-dev libheif-dev
  libgtest-dev libbenchmark-dev
  fonts-noto-cjk fonts-liberation2 fonts-dejavu-core
)
# Browser tests in three engines (Chromium, Firefox ESR, WebKit over WPE
# and WebKitGTK), screenshots, the benchmark's peers and the fuzzers.
test_packages=(chromium firefox-esr wpewebkit-driver cog webkit2gtk-driver
               nodejs npm xvfb xauth imagemagick fonts-dejavu-core graphicsmagick libvips-tools
               clang libclang-rt-14-dev libheif-examples weston)
# Building and checking the Debian package.
package_packages=(dpkg-dev file lintian appstream desktop-file-utils librsvg2-bin)
case "${1:-}" in
  --test) packages+=("${test_packages[@]}" "${package_packages[@]}") ;;
  --package) packages+=("${package_packages[@]}") ;;
  # The benchmark also measures the viewer server against nginx with wrk.
  --bench) packages+=("${test_packages[@]}" wrk nginx-light curl) ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
# Node.js may come from outside Debian's packages; any node with npm will do.
if command -v node >/dev/null && command -v npm >/dev/null; then
  filtered=()
  for package in "${missing[@]}"; do
    [ "$package" = nodejs ] || [ "$package" = npm ] || filtered+=("$package")
  done
  missing=("${filtered[@]+"${filtered[@]}"}")
fi
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
