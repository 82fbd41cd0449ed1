#!/usr/bin/env bash
# The Debian package: it builds, lintian finds no error in it, its desktop
# entry and metainfo validate, apt installs it, the installed programs run
# (the window ends on SIGTERM with its settings in the home folder), and apt
# removes it without a trace. Needs root and apt: skipped (77) otherwise,
# and where a labelkobo package is installed already, which it leaves alone.
set -euo pipefail
source_dir="$1"
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root"; exit 77; }
for tool in apt-get lintian desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done
if dpkg-query -W -f='${Status}' labelkobo 2>/dev/null | grep -q 'ok installed'; then
  echo "skipped: a labelkobo package is installed"; exit 77
fi

work=$(mktemp -d)
trap 'apt-get remove -y -qq labelkobo >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

deb=$("$source_dir/scripts/package" | tail -n 1)
case "$deb" in */labelkobo_*_amd64.deb) ;; *) echo "no package: $deb"; exit 1 ;; esac
dpkg-deb -f "$deb" Depends | tee "$work/depends"
for needed in libqt6widgets6 fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n; do
  grep -q "$needed" "$work/depends" || { echo "Depends lacks $needed"; exit 1; }
done
lintian --fail-on error "$deb"

dpkg-deb -x "$deb" "$work/tree"
desktop-file-validate "$work"/tree/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/tree/usr/share/metainfo/*.metainfo.xml

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
files=$(dpkg -L labelkobo | while read -r f; do [ -f "$f" ] && echo "$f"; done)
labelkobo --version
vrdtool check /usr/share/labelkobo/samples/sample.VRD
[ "$(vrdtool templates | wc -l)" -eq 8 ]

mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=offscreen labelkobo /usr/share/labelkobo/samples/sample.VRD &
pid=$!
sleep 3
kill -0 "$pid"
kill -TERM "$pid"
wait "$pid"
test -f "$work/home/.config/labelkobo/VRD6S.ini"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq labelkobo >/dev/null
if dpkg-query -W -f='${Status}' labelkobo 2>/dev/null | grep -q 'installed'; then
  echo "still installed"; exit 1
fi
for f in $files; do
  [ ! -e "$f" ] || { echo "left behind: $f"; exit 1; }
done
[ ! -e /usr/share/labelkobo ] || { echo "left behind: /usr/share/labelkobo"; exit 1; }
echo "package ok: $deb"
