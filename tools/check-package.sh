#!/bin/bash
# tools/check-package.sh [BUILD]: looks at the Debian package `make package`
# wrote into BUILD (default build-package) and tries it on this machine:
#   contents and control fields, the desktop entry (desktop-file-validate),
#   the software centre's page (appstreamcli), the manual pages (man),
#   lintian (no errors; warnings listed), apt-get install, both programs,
#   the desktop's file types of a saved .zen and .zrec (by name and by their
#   first bytes) and the program they open with, then apt-get purge.
# Every step is reported PASS or FAIL, with a summary at the end; the exit
# status is 1 when any step failed. Installing needs root.
set -u

build=${1:-build-package}
shopt -s nullglob
debs=("$build"/zenu_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "check-package: expected one zenu_*_amd64.deb in $build, found ${#debs[@]} (run make package)" >&2
    exit 1
fi
deb=$(realpath "${debs[0]}")
samples_tool=$build/packaging/zenu_sample_files
work=$(mktemp -d)
installed_here=
cleanup() {
    if [ -n "$installed_here" ] && dpkg-query -W -f='${Status}' zenu 2>/dev/null | grep -q 'ok installed'; then
        echo "== removing the package after an interrupted check"
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -q zenu >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

summary=()
failed=0
# step NAME COMMAND...: runs the command, records PASS or FAIL.
step() {
    local name=$1
    shift
    echo
    echo "== $name"
    if "$@"; then
        summary+=("PASS  $name")
    else
        summary+=("FAIL  $name")
        failed=1
    fi
}

expect_eq() { # WHAT EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        echo "  $1: $3"
    else
        echo "  $1: expected \"$2\", got \"$3\""
        return 1
    fi
}

version=$(dpkg-deb -f "$deb" Version)
tree=$work/tree
dpkg-deb -x "$deb" "$tree"

contents() {
    echo "  $deb ($(stat -c %s "$deb") bytes)"
    dpkg-deb -f "$deb" Package Version Architecture Section Priority Installed-Size Maintainer Depends | sed 's/^/  /'
    dpkg-deb -c "$deb" | awk '{ print "  " $1 " " $6 }'
    local ok=0 path
    for path in usr/bin/zenu usr/bin/zenu-sim \
        usr/share/applications/org.zenu.ZENU.desktop \
        usr/share/metainfo/org.zenu.ZENU.metainfo.xml \
        usr/share/mime/packages/zenu.xml \
        usr/share/icons/hicolor/scalable/apps/zenu.svg \
        usr/share/icons/hicolor/48x48/apps/zenu.png \
        usr/share/icons/hicolor/256x256/apps/zenu.png \
        usr/share/man/man1/zenu.1.gz usr/share/man/man1/zenu-sim.1.gz \
        usr/lib/udev/rules.d/70-zenu-serial-adapters.rules \
        usr/share/doc/zenu/copyright usr/share/doc/zenu/changelog.gz; do
        [ -e "$tree/$path" ] || { echo "  missing: /$path"; ok=1; }
    done
    local size
    for size in 48 256; do
        expect_eq "${size} px icon" "${size}x${size}" \
            "$(file -b "$tree/usr/share/icons/hicolor/${size}x${size}/apps/zenu.png" | sed -n 's/.*, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')" || ok=1
    done
    # Depends comes from the binaries: Qt's run-time libraries, nothing of a build.
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    case "$depends" in
        *libqt6serialport6*) ;;
        *) echo "  Depends lacks libqt6serialport6: $depends"; ok=1 ;;
    esac
    if echo "$depends" | grep -q -- '-dev'; then
        echo "  Depends names a development package: $depends"
        ok=1
    fi
    return $ok
}

desktop_entry() {
    desktop-file-validate "$tree/usr/share/applications/org.zenu.ZENU.desktop" || return 1
    grep -E '^(Name|GenericName|Comment|Exec|Categories|MimeType)(\[|=)' \
        "$tree/usr/share/applications/org.zenu.ZENU.desktop" | sed 's/^/  /'
}

metainfo() {
    appstreamcli validate --no-net "$tree/usr/share/metainfo/org.zenu.ZENU.metainfo.xml"
}

manual_pages() {
    local page out ok=0
    for page in zenu zenu-sim; do
        # man --warnings prints what groff finds wrong; a page must be silent.
        out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$tree/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        if [ -n "$out" ]; then
            echo "  $page(1): $out"
            ok=1
        else
            echo "  $page(1): $(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$tree/usr/share/man/man1/$page.1.gz" 2>/dev/null | wc -l) lines, no warnings"
        fi
    done
    return $ok
}

lintian_check() {
    local out
    # Errors fail the step; warnings and notes are listed (packaging/README.md
    # says why each one that shows is left).
    out=$(lintian --tag-display-limit 0 --display-info "$deb" 2>&1 | grep -v '^running with root privileges')
    echo "${out:-(nothing)}" | sed 's/^/  /'
    echo "  errors: $(echo "$out" | grep -c '^E:'), warnings: $(echo "$out" | grep -c '^W:'), notes: $(echo "$out" | grep -c '^I:')"
    ! echo "$out" | grep -q '^E:'
}

install_package() {
    if [ "$(id -u)" != 0 ]; then
        echo "  needs root for apt-get install"
        return 1
    fi
    if dpkg-query -W -f='${Status}' zenu 2>/dev/null | grep -q 'ok installed'; then
        echo "  zenu was installed before the check: it is replaced and removed at the end"
    fi
    installed_here=1
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" 2>&1 | tail -n 5 | sed 's/^/  /'
    expect_eq "installed version" "$version" "$(dpkg-query -W -f='${Version}' zenu 2>/dev/null)"
}

run_programs() {
    local ok=0 out
    out=$(/usr/bin/zenu --version 2>&1) || ok=1
    expect_eq "/usr/bin/zenu --version" "zenu $version" "$out" || ok=1
    out=$(/usr/bin/zenu-sim --help 2>&1) || ok=1
    expect_eq "/usr/bin/zenu-sim --help, first line" "Usage: zenu-sim [options]" "$(echo "$out" | head -n 1)" || ok=1
    expect_eq "man -w zenu" "/usr/share/man/man1/zenu.1.gz" "$(man -w zenu 2>&1)" || ok=1
    return $ok
}

file_types() {
    local files=$work/files ok=0
    mkdir -p "$files"
    "$samples_tool" "$files" || return 1
    # The same files without a telling name: only their first bytes say what they are.
    cp "$files/sample.zen" "$files/settings-copy"
    cp "$files/sample.zrec" "$files/recording-copy"
    local file type
    for file in sample.zen settings-copy; do
        expect_eq "xdg-mime query filetype $file" application/x-zenu-settings \
            "$(xdg-mime query filetype "$files/$file" 2>&1)" || ok=1
    done
    for file in sample.zrec recording-copy; do
        expect_eq "xdg-mime query filetype $file" application/x-zenu-recording \
            "$(xdg-mime query filetype "$files/$file" 2>&1)" || ok=1
    done
    for type in application/x-zenu-settings application/x-zenu-recording; do
        expect_eq "xdg-mime query default $type" org.zenu.ZENU.desktop \
            "$(xdg-mime query default "$type" 2>&1)" || ok=1
    done
    return $ok
}

remove_package() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q zenu 2>&1 | tail -n 2 | sed 's/^/  /'
    installed_here=
    local ok=0 path
    for path in /usr/bin/zenu /usr/bin/zenu-sim /usr/share/applications/org.zenu.ZENU.desktop \
        /usr/share/mime/packages/zenu.xml /usr/lib/udev/rules.d/70-zenu-serial-adapters.rules; do
        [ ! -e "$path" ] || { echo "  still there: $path"; ok=1; }
    done
    expect_eq "xdg-mime query filetype sample.zrec after removal" application/octet-stream \
        "$(xdg-mime query filetype "$work/files/sample.zrec" 2>&1)" || ok=1
    return $ok
}

step "contents and control fields" contents
step "desktop-file-validate" desktop_entry
step "appstreamcli validate --no-net" metainfo
step "manual pages" manual_pages
step "lintian (no errors)" lintian_check
if step "apt-get install" install_package && [ "${summary[-1]:0:4}" = PASS ]; then
    step "installed programs" run_programs
    step "file types (xdg-mime)" file_types
    step "apt-get purge" remove_package
fi

echo
echo "== summary ($deb)"
printf '  %s\n' "${summary[@]}"
exit $failed
