#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build tree, unpacks it into a scratch
# root and checks what it installs: the files, the manual pages and metadata,
# that its changelog and metadata know this version, lintian's verdict, and
# that the installed quibo-info runs and finds its codec database where an
# installed program looks for it.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR VERSION FULL_BINDIR FULL_DATADIR FULL_MANDIR
# Exits 77 (skipped) when no user namespace is at hand for the last check.
set -euo pipefail
build="$1" source="$2" version="$3" bindir="$4" datadir="$5" mandir="$6"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps file groff lintian unshare appstreamcli desktop-file-validate; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/test installs what the tests need)"
done

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack"; }
deb="$(find "$work/out" -maxdepth 1 -name 'quibo_*.deb')"
[[ -f "$deb" ]] || fail "no .deb in $work/out"

[[ "$(dpkg-deb -f "$deb" Package)" == quibo ]] || fail "package name"
[[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "version is not $version"
for dependency in libqt6widgets6 libqt6gui6 libqt6core6; do
    grep -qw "$dependency" <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks $dependency"
done
for library in libavcodec59 libavformat59; do
    grep -qw "$library" <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends lacks $library"
done

listing="$(dpkg -c "$deb" | awk '{print $NF}')"
for path in "$bindir/quibo" "$bindir/quibo-info" "$datadir/quibo/Quibo.dat" \
    "$datadir/applications/quibo.desktop" "$datadir/icons/hicolor/scalable/apps/quibo.svg" \
    "$datadir/icons/hicolor/48x48/apps/quibo.png" "$mandir/man1/quibo.1.gz" "$mandir/man1/quibo-info.1.gz" \
    "$datadir/metainfo/io.github.quibo.Quibo.metainfo.xml" "$datadir/bash-completion/completions/quibo-info" \
    "$datadir/doc/quibo/copyright" "$datadir/doc/quibo/changelog.gz"; do
    grep -qxF ".$path" <<<"$listing" || fail "the package lacks $path"
done

root="$work/root"
dpkg -x "$deb" "$root"
[[ "$("$root$bindir/quibo-info" --version)" == "quibo-info $version" ]] || fail "quibo-info --version"

for page in "$root$mandir"/man1/quibo.1.gz "$root$mandir"/man1/quibo-info.1.gz; do
    warnings="$(zcat "$page" | groff -man -ww -z 2>&1)" || fail "groff failed on $page: $warnings"
    [[ -z "$warnings" ]] || fail "$page: $warnings"
done
bash -n "$root$datadir/bash-completion/completions/quibo-info" || fail "completion script syntax"
appstreamcli validate --no-net "$root$datadir/metainfo/io.github.quibo.Quibo.metainfo.xml" >&2 ||
    fail "appstreamcli validate"
desktop-file-validate "$root$datadir/applications/quibo.desktop" || fail "desktop-file-validate"
# The changelog and the metadata's releases tell of this version.
[[ "$(zcat "$root$datadir/doc/quibo/changelog.gz")" == "quibo ($version) "* ]] || fail "changelog lacks $version"
grep -qF "<release version=\"$version\"" "$root$datadir/metainfo/io.github.quibo.Quibo.metainfo.xml" ||
    fail "metainfo lacks release $version"
lintian --fail-on error,warning "$deb" >&2 || fail "lintian"

# The installed program looks for Quibo.dat in the current folder, beside
# itself, then in the data folder compiled in. A private mount namespace puts
# the package's data folder at that path, over an empty tmpfs that hides any
# Quibo installed on this machine; the program runs from the scratch root in
# an empty folder. Without the package's folder it must not find a database,
# with it it must.
if ! unshare --map-root-user --mount true 2>/dev/null; then
    echo "SKIP: no user namespace to mount the package's data folder at $datadir" >&2
    exit 77
fi
mkdir "$work/empty"
top="$datadir"
while [[ ! -d "$top" ]]; do top="$(dirname "$top")"; done
report() { # BIND(yes|no) OUT ERR
    (cd "$work/empty" && XDG_CACHE_HOME="$work/cache" unshare --map-root-user --mount bash -c '
        set -e
        mount -t tmpfs none "$1"
        mkdir -p "$2/quibo"
        if [[ $3 == yes ]]; then mount --bind "$4$2/quibo" "$2/quibo"; fi
        exec "$4$5/quibo-info" "$6"' _ "$top" "$datadir" "$1" "$root" "$bindir" "$source/res/sample.avi") >"$2" 2>"$3"
}
report no "$work/without.out" "$work/without.err" || true
grep -q "Operational Note" "$work/without.err" || fail "a codec database was found outside the package's data folder"
report yes "$work/with.out" "$work/with.err" || { cat "$work/with.err" >&2; fail "quibo-info on the sample"; }
grep -qx "  Codec: Xvid MPEG-4 Video" "$work/with.out" || { cat "$work/with.out" >&2; fail "codec not named"; }
! grep -q "Operational Note" "$work/with.err" || { cat "$work/with.err" >&2; fail "database not loaded"; }
echo "package $(basename "$deb") installs and runs"
