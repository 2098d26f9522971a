#!/usr/bin/env bash
# The installed tree as a user gets it: installs the build into a temporary prefix,
# validates the desktop entry, the metainfo, the icon set, the man pages, the bash
# completion and XScreenSaver's hack there, and runs both installed programs without a
# display. Every check
# runs; each failure is one line, and any failure fails the test.
# Usage: install_test.sh BUILD_DIR PROJECT_VERSION MAN_PAGES(ON|OFF) ICON_SIZE...
set -uo pipefail
build=$1 version=$2 man_pages=$3
shift 3
icon_sizes=("$@")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || fail "$1 is not installed (scripts/install-deps test installs it)"; }
for tool in desktop-file-validate appstreamcli man od; do need "$tool"; done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 \
    || { cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }
share=$prefix/share

desktop=$share/applications/mandalix.desktop
metainfo=$share/metainfo/io.github.mandalix.mandalix.metainfo.xml
for file in bin/mandalix bin/mandalix-render share/applications/mandalix.desktop \
        share/metainfo/io.github.mandalix.mandalix.metainfo.xml \
        share/bash-completion/completions/mandalix-render share/doc/mandalix/copyright; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -qx 'Icon=mandalix' "$desktop" || fail "the desktop entry does not name the icon mandalix"

# "WIDTHxHEIGHT" of a PNG, from its header; "not a PNG" for anything else.
png_size() {
    local head
    read -r -a head <<<"$(od -An -tu1 -w24 -N24 "$1" 2>/dev/null)"
    if [ "${head[*]:0:8}" != "137 80 78 71 13 10 26 10" ] || [ "${#head[@]}" -lt 24 ]; then
        echo "not a PNG"
        return
    fi
    echo "$(( (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19] ))x$(( (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23] ))"
}

for size in "${icon_sizes[@]}"; do
    icon=$share/icons/hicolor/${size}x${size}/apps/mandalix.png
    got=$(png_size "$icon")
    [ "$got" = "${size}x${size}" ] || fail "$icon: $got, not a ${size}x${size} PNG"
done

# The options on the option lines of a help text or a rendered man page, sorted.
options_of() { grep -E '^[[:space:]]+-' | grep -oE '(^|[[:space:],])--?[[:alnum:]][[:alnum:]-]*' | tr -d ' ,' | sort -u; }

for program in mandalix mandalix-render; do
    help=$("$prefix/bin/$program" --help) || fail "$program --help failed"
    [ "$("$prefix/bin/$program" --version)" = "$program $version" ] || fail "$program --version does not say $version"
    [ "$man_pages" = ON ] || { fail "no man pages: help2man was missing when the build was configured"; continue; }
    page=$share/man/man1/$program.1.gz
    [ -f "$page" ] || { fail "$page is not installed"; continue; }
    # The C locale renders plain ASCII hyphens; col -b drops the overstrikes.
    text=$(LC_ALL=C MANWIDTH=100 man -l "$page" 2>"$tmp/man.err" | col -b) || fail "man -l $page failed"
    [ -s "$tmp/man.err" ] && fail "man -l $page: $(cat "$tmp/man.err")"
    grep -q "^NAME" <<<"$text" || fail "man -l $page has no NAME section"
    help_options=$(options_of <<<"$help")
    man_options=$(sed -n '/^OPTIONS/,/^[A-Z]/p' <<<"$text" | options_of)
    [ -n "$help_options" ] && [ "$help_options" = "$man_options" ] \
        || fail "$program: --help lists $(echo $help_options), the man page $(echo $man_options)"
done

# The completion offers every long option of --help, and nothing else.
completion=$share/bash-completion/completions/mandalix-render
offered=$(bash -c 'source "$1"; COMP_WORDS=(mandalix-render --); COMP_CWORD=1; _mandalix_render
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" | sort -u)
listed=$("$prefix/bin/mandalix-render" --help | options_of | grep -- '^--')
[ "$offered" = "$listed" ] || fail "bash completion offers $(echo $offered), --help lists $(echo $listed)"

# The installed programs run from the prefix; the window program refuses a bad line.
(cd "$tmp" && "$prefix/bin/mandalix-render" --seed 1 x.png) || fail "installed mandalix-render --seed 1 x.png failed"
got=$(png_size "$tmp/x.png")
[ "$got" = 453x453 ] || fail "x.png: $got, not the 453 x 453 picture"
"$prefix/bin/mandalix" --no-such-option 2>"$tmp/err" >/dev/null
status=$?
[ "$status" = 2 ] && grep -q "no-such-option" "$tmp/err" || fail "mandalix --no-such-option: status $status, $(cat "$tmp/err")"

# XScreenSaver's settings of the hack, and the hack in its folder: the program itself.
config=$share/xscreensaver/config/mandalix.xml
hack=$prefix/libexec/xscreensaver/mandalix
[ -f "$config" ] || fail "share/xscreensaver/config/mandalix.xml is not installed"
grep -q '<screensaver name="mandalix"' "$config" && grep -q '<command arg="--screensaver"/>' "$config" \
    && grep -q '<command arg="--root"/>' "$config" || fail "$config does not run mandalix --screensaver --root"
[ -L "$hack" ] && [ "$(readlink -f "$hack")" = "$(readlink -f "$prefix/bin/mandalix")" ] \
    || fail "libexec/xscreensaver/mandalix does not lead to bin/mandalix"
[ "$(readlink "$hack" | cut -c1)" != / ] || fail "libexec/xscreensaver/mandalix leads to an absolute path"
"$hack" --screensaver --window-id 0x 2>"$tmp/err" >/dev/null
status=$?
[ "$status" = 2 ] && [ "$(wc -l <"$tmp/err")" = 1 ] || fail "the hack with a bad window: status $status, $(cat "$tmp/err")"

[ "$failures" -eq 0 ] && echo "installed tree: all checks passed"
exit $((failures > 0))
