#!/usr/bin/env bash
# Installs the Debian package built by scripts/package.sh, runs the installed
# vimbrel-cli as a person would (not root, a fresh home folder), checks that
# the settings and Work/ land in that home, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls "$PWD"/build-package/vimbrel_*.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
user=vimbrel-check
id "$user" >/dev/null 2>&1 || $sudo useradd --no-create-home --shell /usr/sbin/nologin "$user"
home=$(mktemp -d /tmp/vimbrel-home-XXXXXX)
cleanup() {
  $sudo rm -rf "$home"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq vimbrel >/dev/null || true
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
mkdir -p "$home/pictures"
cp Img/BtnFirst.gif "$home/pictures/first.gif"
printf 'not much of a picture' > "$home/pictures/a.jpg"
$sudo chown -R "$user" "$home"

as_user() {
  $sudo runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"
}
index=$(as_user /usr/bin/vimbrel-cli show "$home/pictures")
as_user /usr/bin/vimbrel-cli settings --write
fail() { echo "check-package: $*" >&2; exit 1; }
[ "$index" = "$home/.local/share/vimbrel/Work/index.htm" ] || fail "index.htm went to $index"
[ -f "$index" ] || fail "no $index"
[ -f "$home/.config/vimbrel/Vimbrel.INI" ] || fail "no settings file in the home folder"
[ ! -e /usr/lib/vimbrel/Work ] || fail "Work/ was made beside the installed program"
[ -L /usr/bin/vimbrel ] && [ -x /usr/lib/vimbrel/vimbrel ] || fail "the programs are not installed"
[ -f /usr/share/applications/io.github.vimbrel.Vimbrel.desktop ] || fail "no desktop entry"
echo "The installed package works: its settings and Work/ went to the home folder of $user."
