#!/usr/bin/env bash
# Drives the bash completion through `complete` as bash does on TAB, against the built programs.
# Usage: completion_test.sh ORVANE VIRTUAL_PRINTER COMPLETION_SCRIPT
set -uo pipefail
orvane=$1 printer=$2
source "$3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# orvane with a fixed port list; everything else goes to the real program.
cat >"$work/orvane" <<STUB
#!/bin/sh
[ "\$1" = ports ] && exec printf '%s\n' '/dev/ttyUSB7 (Used)' /dev/usb/lp3 queue:Receipt
exec "$orvane" "\$@"
STUB
chmod +x "$work/orvane"
mkdir "$work/pictures" "$work/pictures/more"
touch "$work/pictures/"{logo.png,photo.JPG,scan.tiff,notes.txt} "$work/printer-link"
cd "$work/pictures"

failures=0
# complete LINE: the words bash would offer after LINE (a trailing space starts a new word).
complete_line()
{
    local line=$1
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line COMP_POINT=${#line}
    local spec function
    spec=$(complete -p "${COMP_WORDS[0]##*/}") || return
    function=${spec#*-F }
    function=${function%% *}
    COMP_WORDS[0]=${COMP_WORDS[0]/#orvane-virtual-printer/$printer}
    COMP_WORDS[0]=${COMP_WORDS[0]/#orvane/$work/orvane}
    COMPREPLY=()
    "$function" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect()
{
    local line=$1 wanted=$2 got
    got=$(complete_line "$line")
    if [[ $got != "$wanted" ]]; then
        echo "FAIL: '$line' completes to '$got', expected '$wanted'"
        failures=$((failures + 1))
    fi
}

expect_has()
{
    local line=$1 got word
    got=" $(complete_line "$line") "
    shift
    for word; do
        if [[ $got != *" $word "* ]]; then
            echo "FAIL: '$line' lacks '$word' in '$got'"
            failures=$((failures + 1))
        fi
    done
}

expect "orvane " "discover erase ports preview print raster status upload"
expect "orvane up" "upload"
expect "orvane --" "--help --port --version"
expect_has "orvane upload --" --baud --help --port --yes
expect "orvane erase --y" ""
expect_has "orvane raster -" -o --output
expect "orvane upload --port " "/dev/ttyUSB7 /dev/usb/lp3 queue:Receipt"
# bash, splitting at the colon, replaces only what follows it.
expect "orvane erase --port queue:R" "Receipt"
expect "orvane erase --port queue:Receipt " ""
expect "orvane erase --baud 9600 --port /dev/u" "/dev/usb/lp3"
expect "orvane print --port ../printer" "../printer-link"
expect "orvane upload --port /dev/ttyUSB7 " "logo.png more photo.JPG scan.tiff"
expect "orvane upload --port /dev/ttyUSB7 --yes logo.png s" "scan.tiff"
expect "orvane raster " "logo.png more photo.JPG scan.tiff"
expect "orvane preview logo.png -o n" "notes.txt"
expect_has "orvane upload --" --dither --threshold --width --invert --rotate
expect "orvane preview logo.png --rotate " "0 180 270 90"
expect "orvane raster logo.png --dither " "atkinson floyd-steinberg none ordered"
expect "orvane upload --width " "384 512 576"
expect "orvane preview logo.png --width 5" "504 512 520 528 536 544 552 56 560 568 576"
expect_has "orvane print --" --nv
expect "orvane erase --nv " "bit-image graphics"
expect "orvane ports " ""
expect_has "orvane status --" --ports --jobs --json
expect "orvane erase --ports m" "more"
expect "orvane discover " ""
expect_has "orvane discover --" --port-number --jobs --json
expect_has "orvane-virtual-printer --" --baud --exit-after-idle --failing-key --graphics-capacity --link --out \
    --store-time --tcp --version --address --maker --model --firmware --serial-number
expect "orvane-virtual-printer --out m" "more"

[[ $failures -eq 0 ]] && echo "completion: all cases passed"
exit $((failures > 0))
