# The window under Wine on Xvfb, driven by real input through the X server (xdotool).
# Window coordinates: the client area's, as the window lays out its controls.
AddButton="116 100"
UploadButton="116 156"

# wait_window TITLE: the X window with exactly that name, within a minute.
wait_window() {
    local i id
    for i in $(seq 600); do
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)"
        [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    return 1
}

press() {
    xdotool windowfocus --sync "$1" key "$2"
}

click() {
    local window="$1" x="$2" y="$3"
    xdotool mousemove --window "$window" "$x" "$y" click 1
}

start_display() {
    local number="$work/display" i
    # Xvfb picks a free display and writes its number once it takes clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    pids+=($!)
    for i in $(seq 300); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    [ -s "$number" ] || return 1
    export DISPLAY=":$(cat "$number")"
}

shows_caption() {
    window="$(wait_window "Orvane Ver\\.0\\.9")"
}

lists_com_ports() {
    local listed
    listed="$("$WINE" "C:\\Program Files\\Orvane\\orvane.com" ports 2>&1 | tr -d '\r')"
    echo "$listed" | grep -q '^COM[0-9]*:' || {
        echo "        orvane ports printed: $listed"
        return 1
    }
}

uploads_by_clicks() {
    click "$window" $AddButton
    local dialog prompt done i
    dialog="$(wait_window "讀取圖檔")" || return 1
    xdotool windowfocus --sync "$dialog" type "Z:${pictures//\//\\}\\logo.png"
    press "$dialog" Return
    # Upload comes alive once the picture is checked: clicked until it answers.
    for i in $(seq 60); do
        click "$window" $UploadButton
        prompt="$(xdotool search --onlyvisible --name "^Starting Upload\\.\$" | head -n 1)"
        [ -n "$prompt" ] && break
        sleep 1
    done
    [ -n "$prompt" ] || return 1
    press "$prompt" Return
    done="$(wait_window "Upload finished\\.")" || return 1
    import -display "$DISPLAY" -window root "$app/wine-window-uploaded.png" 2>/dev/null
    press "$done" Return
    grep -q "^FS q: stored 1 NV image (" "$work/window/log.txt"
}

window_test() {
    # Wine's desktop started without a display: it starts again on this one.
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
    setpriv --bounding-set -sys_admin -- "$WINESERVER" -p </dev/null >/dev/null 2>&1
    if ! start_display; then
        check "Xvfb starts" false
        return
    fi
    check "the port box's catalogue lists Wine's COM ports" lists_com_ports
    start_printer "$work/window" --tcp 0 || return
    "$WINE" "C:\\Program Files\\Orvane\\orvane.exe" --port "tcp://$printer_address" \
        >"$work/window.log" 2>&1 &
    local wine_pid=$!
    pids+=("$wine_pid")
    check "the window shows, captioned \"Orvane Ver.0.9\"" shows_caption
    import -display "$DISPLAY" -window root "$app/wine-window.png" 2>/dev/null
    [ -n "${window:-}" ] && check "Add Image and Upload by clicks reach the printer" uploads_by_clicks
    xdotool windowclose "${window:-0}" 2>/dev/null
    stop_printer
}
