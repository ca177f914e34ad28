#!/usr/bin/env bash
# Builds the Debian package of Vimbrel from a release build and checks it
# with lintian, appstreamcli and desktop-file-validate. The package lands in
# build-package/ as vimbrel_VERSION_ARCH.deb, whose path is printed last;
# install it with
#   sudo apt install ./build-package/vimbrel_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
cmake --preset package -G Ninja >/dev/null
cmake --build --preset package
rm -f build-package/vimbrel_*.deb
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/vimbrel_*.deb)
desktop-file-validate packaging/io.github.vimbrel.Vimbrel.desktop
appstreamcli validate --no-net --pedantic packaging/io.github.vimbrel.Vimbrel.metainfo.xml >/dev/null
# lintian's errors fail the build; its warnings are shown.
lintian --fail-on error --suppress-tags-from-file packaging/lintian-accepted "$deb"
echo "$deb"
