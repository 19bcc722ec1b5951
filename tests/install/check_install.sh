#!/usr/bin/env bash
# The installed calculator as a desktop and dpkg see it. One check per call:
#   destdir    `cmake --install` into a DESTDIR: every file in place, the installed mirelto-cli runs
#   desktop    the desktop entry validates and names an installed program, icon and MIME type
#   metainfo   the AppStream metainfo validates, alone and together with the installed tree
#   mime       the MIME definition registers *.mirelto as a kind of JSON
#   man        the manual pages format without warnings; mirelto-cli(1) has every command and option
#   deb        CPack builds mirelto_<version>-<revision>_<arch>.deb holding the same files and
#              only those, with dependencies found by dpkg-shlibdeps, and lintian finds nothing
#              in it (informational tags included) but what packaging/lintian-overrides explains
# Usage: check_install.sh CHECK BUILD_DIR WORK_DIR VERSION
set -euo pipefail

check=$1
build=$2
work=$3
version=$4
root=$work/root
fail() { echo "FAIL: $*" >&2; exit 1; }

mime_type=application/x-mirelto
installed=(
    usr/bin/mirelto
    usr/bin/mirelto-cli
    usr/share/applications/mirelto.desktop
    usr/share/icons/hicolor/scalable/apps/mirelto.svg
    usr/share/metainfo/org.mirelto.Mirelto.metainfo.xml
    usr/share/mime/packages/mirelto.xml
    usr/share/man/man1/mirelto.1.gz
    usr/share/man/man1/mirelto-cli.1.gz
    usr/share/doc/mirelto/copyright
    usr/share/doc/mirelto/changelog.Debian.gz
    usr/share/lintian/overrides/mirelto
)
icon_sizes=(16 24 32 48 64 128 256)
for size in "${icon_sizes[@]}"; do
    installed+=("usr/share/icons/hicolor/${size}x${size}/apps/mirelto.png")
done

# Fails unless the tool is there: these checks are what the packaging promises.
need() { command -v "$1" > /dev/null || fail "$1 is not installed (scripts/install-deps.sh)"; }

case $check in
destdir)
    rm -rf "$root"
    DESTDIR=$root cmake --install "$build" --prefix /usr > "$work/install.log" ||
        fail "install failed: $(cat "$work/install.log")"
    for file in "${installed[@]}"; do
        [ -f "$root/$file" ] || fail "not installed: /$file"
    done
    for size in "${icon_sizes[@]}"; do
        png=$root/usr/share/icons/hicolor/${size}x${size}/apps/mirelto.png
        file -b "$png" | grep -q "PNG image data, $size x $size," ||
            fail "$png is $(file -b "$png")"
    done
    # The installed program gives the report the built one gives.
    "$root/usr/bin/mirelto-cli" design > "$work/installed.txt" ||
        fail "installed mirelto-cli design failed"
    "$build/src/cli/mirelto-cli" design > "$work/built.txt"
    grep -q 'Result data' "$work/installed.txt" || fail "no report: $(cat "$work/installed.txt")"
    cmp -s "$work/installed.txt" "$work/built.txt" || fail "installed and built reports differ"
    ;;
desktop)
    need desktop-file-validate
    entry=$root/usr/share/applications/mirelto.desktop
    out=$(desktop-file-validate "$entry" 2>&1) || fail "$out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    value() { sed -n "s/^$1=//p" "$entry"; }
    exec_line=$(value Exec)
    [ -x "$root/usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not an installed program"
    [ "${exec_line#* }" = "%f" ] || fail "Exec=$exec_line does not take the file"
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/$(value Icon).svg" ] ||
        fail "Icon=$(value Icon) is not installed"
    [ "$(value MimeType)" = "$mime_type;" ] || fail "MimeType=$(value MimeType)"
    ;;
metainfo)
    need appstreamcli
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.mirelto.Mirelto.metainfo.xml" ||
        fail "appstreamcli validate"
    # The tree: the desktop entry the metainfo launches is found beside it.
    appstreamcli validate-tree --no-net "$root/usr" || fail "appstreamcli validate-tree"
    grep -q "<mediatype>$mime_type</mediatype>" \
        "$root/usr/share/metainfo/org.mirelto.Mirelto.metainfo.xml" ||
        fail "metainfo lacks $mime_type"
    ;;
mime)
    need update-mime-database
    rm -rf "$work/mime"
    mkdir -p "$work/mime/packages"
    cp "$root/usr/share/mime/packages/mirelto.xml" "$work/mime/packages/"
    # It reports a file it cannot read but still exits 0; what it wrote tells.
    update-mime-database "$work/mime" > "$work/mime.log" 2>&1
    grep -q "^[0-9]*:$mime_type:\*\.mirelto$" "$work/mime/globs2" ||
        fail "*.mirelto is not $mime_type: $(cat "$work/mime.log")"
    grep -qx "$mime_type application/json" "$work/mime/subclasses" ||
        fail "$mime_type is not a kind of JSON"
    ;;
man)
    need groff
    for page in mirelto mirelto-cli; do
        warnings=$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -man -k -Tutf8 -ww -z 2>&1)
        [ -z "$warnings" ] || fail "$page.1: $warnings"
    done
    # Every command of --help, and every option of each command's --help, as a tagged paragraph.
    cli=$root/usr/bin/mirelto-cli
    text=$(zcat "$root/usr/share/man/man1/mirelto-cli.1.gz" |
        groff -man -k -Tutf8 -P-cbou -rLL=200n)
    commands=$("$cli" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p')
    [ -n "$commands" ] || fail "mirelto-cli --help lists no commands"
    for command in $commands; do
        grep -qx "   $command" <<< "$text" || fail "mirelto-cli.1 has no section $command"
        for option in $("$cli" "$command" --help | sed -n 's/^  \(--[a-z0-9-]*\).*/\1/p'); do
            # Each option is checked within its command's section: up to the next section.
            awk -v c="   $command" '$0 == c {on = 1; next} /^   [a-z]/ {on = 0} on' <<< "$text" |
                grep -qE -- "^ +$option( |$)" || fail "mirelto-cli.1: $command lacks $option"
        done
    done
    ;;
deb)
    need dpkg-deb
    need dpkg-shlibdeps
    rm -rf "$work/package"
    cpack --config "$build/CPackConfig.cmake" -B "$work/package" > "$work/cpack.log" 2>&1 ||
        fail "cpack: $(cat "$work/cpack.log")"
    debs=("$work/package/mirelto_${version}-"*"_$(dpkg --print-architecture).deb")
    deb=${debs[0]}
    [ ${#debs[@]} -eq 1 ] && [ -f "$deb" ] || fail "no mirelto_${version}-*.deb: $(ls "$work/package")"
    listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
    for file in "${installed[@]}"; do
        grep -qx "./$file" <<< "$listing" || fail "$deb lacks /$file"
    done
    # The library and its headers are for building against, not for the desktop.
    ! grep -E '^\./usr/(include|lib)' <<< "$listing" || fail "$deb holds development files"
    package=$(dpkg-deb -f "$deb" Package)
    [ "$package" = mirelto ] || fail "package name $package"
    depends=$(dpkg-deb -f "$deb" Depends)
    names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<< "$depends")
    for library in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 libqt6charts6; do
        grep -qxF "$library" <<< "$names" || fail "Depends lacks $library: $depends"
    done
    # Fonts are not linked: without them the window's Japanese texts would not show.
    recommends=$(dpkg-deb -f "$deb" Recommends)
    for font in fonts-ipafont-gothic fonts-ipafont-mincho; do
        grep -q "$font" <<< "$recommends" || fail "Recommends lacks $font: $recommends"
    done
    need lintian
    # Errors, warnings and informational tags all fail; an accepted tag is overridden, with its
    # reason, in the package's overrides file.
    lintian --info --display-info --fail-on error,warning,info "$deb" > "$work/lintian.log" 2>&1 ||
        fail "lintian: $(cat "$work/lintian.log")"
    echo "lintian: no error, warning or informational tag on $(basename "$deb")"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
