#!/bin/sh
# Builds the Debian package with cpack $1 from the build folder $2, has
# lintian check it, checks what it declares and holds, unpacks it into a
# scratch folder and generates the example project of $3 with the packaged
# treeweaver-cli and the packaged template sets. Further arguments name
# packages the Depends must hold too.
set -eu
cpack="$1"
build="$2"
examples="$3"
shift 3
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB"
fi
deb="$(ls "$work"/out/treeweaver_*.deb)"

# Debian's own checks: every error and warning fails the test.
if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1; then
    cat "$work/lintian.log" >&2
    fail "lintian"
fi

depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6widgets6 libqt6network6 libxml2 qt6-translations-l10n fonts-liberation2 "$@"; do
    echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done

dpkg-deb -x "$deb" "$work/root"
root="$work/root/usr"
for file in bin/treeweaver bin/treeweaver-cli share/applications/de.vellmark.Treeweaver.desktop \
    share/metainfo/de.vellmark.Treeweaver.metainfo.xml share/mime/packages/treeweaver.xml \
    share/icons/hicolor/scalable/apps/de.vellmark.Treeweaver.svg share/icons/hicolor/48x48/apps/de.vellmark.Treeweaver.png \
    share/man/man1/treeweaver.1.gz share/man/man1/treeweaver-cli.1.gz share/man/de/man1/treeweaver.1.gz \
    share/man/de/man1/treeweaver-cli.1.gz share/doc/treeweaver/copyright share/doc/treeweaver/changelog.Debian.gz; do
    [ -f "$root/$file" ] || fail "package lacks /usr/$file"
done
for program in treeweaver treeweaver-cli; do
    file "$root/bin/$program" | grep -q ", stripped" || fail "$program is not stripped"
done

# The man pages: English at the C locale's place, German below de/, and in
# each the options list names every option the program's help names, once.
listed_options() {
    zcat "$1" | sed 's/\\-/-/g' | awk '/^\.TP/ { getline; print }'
}
for program in treeweaver treeweaver-cli; do
    zcat "$root/share/man/man1/$program.1.gz" | grep -q '^\.SH SYNOPSIS' || fail "man1/$program.1 is not English"
    zcat "$root/share/man/de/man1/$program.1.gz" | grep -q '^\.SH ÜBERSICHT' || fail "de/man1/$program.1 is not German"
    for option in $("$root/bin/$program" --help | grep -oE -- '(^|[ |[])--?[a-z][a-z-]*' | tr -d ' |[' | sort -u); do
        for page in "$root/share/man/man1/$program.1.gz" "$root/share/man/de/man1/$program.1.gz"; do
            count="$(listed_options "$page" | grep -c -- "[ \"]$option\([ \"]\|\$\)" || true)"
            [ "$count" = 1 ] || fail "$page lists $option $count times"
        done
    done
done

# Only the packaged template sets may be found: no user or system folders.
mkdir "$work/project" "$work/menu" "$work/nothing"
cp "$examples"/lindenhof.* "$work/project/"
XDG_DATA_HOME="$work/nothing" XDG_DATA_DIRS="$work/nothing" \
    "$root/bin/treeweaver-cli" generate "$work/project/lindenhof.twf" --output "$work/menu/index.htm" ||
    fail "the packaged treeweaver-cli could not generate the example"
grep -qi "<a " "$work/menu/index.htm" || fail "the generated main file holds no link"
echo "package $(basename "$deb") generated $(ls "$work/menu" | wc -l) files"
