#!/usr/bin/env bash
# The Windows part of the tests: builds the Windows programs and unit tests
# (scripts/build-windows.sh --tests) and runs the tests under Wine and Xvfb, in a Wine
# prefix of the build's own (build-windows/wine); checks that it writes the
# same small images and pages as the Linux build; then the browser tests in
# Chromium on this side against vimbrel-cli.exe show --serve under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
scripts/build-windows.sh --tests
export WINEDEBUG=-all WINEPREFIX=$PWD/build-windows/wine
# The first start of a new prefix sets it up; waiting for it here keeps that
# minute out of the first test's time.
wineboot --init >/dev/null 2>&1 || true
# Wine has none of the Windows fonts; their metric twins stand in, as the
# GDI renderings of the metafile corpus were made with (Liberation for the
# core fonts, Noto CJK for the Japanese ones).
replacements='HKCU\Software\Wine\Fonts\Replacements'
while IFS='=' read -r font standin; do
  LANG=C.UTF-8 wine reg add "$replacements" /v "$font" /d "$standin" /f >/dev/null 2>&1 || true
done <<'FONTS'
Arial=Liberation Sans
Times New Roman=Liberation Serif
Courier New=Liberation Mono
MS Gothic=Noto Sans Mono CJK JP
ＭＳ ゴシック=Noto Sans Mono CJK JP
MS PGothic=Noto Sans CJK JP
ＭＳ Ｐゴシック=Noto Sans CJK JP
MS UI Gothic=Noto Sans CJK JP
MS Mincho=Noto Serif CJK JP
ＭＳ 明朝=Noto Serif CJK JP
MS PMincho=Noto Serif CJK JP
ＭＳ Ｐ明朝=Noto Serif CJK JP
FONTS
wineserver --wait || true
# A display for the window's own tests (vimbrel.exe driven from outside).
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows -j2
# The same small images and pages as the Linux build's.
linux_cli=build-sanitize/Vimbrel/vimbrel-cli
if [ ! -x "$linux_cli" ]; then
  scripts/install-deps.sh
  cmake --preset release -G Ninja >/dev/null
  cmake --build --preset release --target vimbrel-cli
  linux_cli=build/Vimbrel/vimbrel-cli
fi
QT_QPA_PLATFORM=offscreen scripts/compare-windows-output.sh "$linux_cli" build-windows/build/Vimbrel/vimbrel-cli.exe
[ -d e2e/node_modules ] || (cd e2e && npm ci --no-audit --no-fund)
(cd e2e && VIMBREL_ENGINE=chromium VIMBREL_CLI="$PWD/../build-windows/build/Vimbrel/vimbrel-cli.exe" \
  node --test viewer.test.mjs names.test.mjs thumbnails.test.mjs server.test.mjs drives.test.mjs attacks.test.mjs)
echo "Windows tests took $(($(date +%s) - start)) s"
