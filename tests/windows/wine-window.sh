# The window under Wine on Xvfb, driven by real input through the X server (xdotool). Button
# centres in the client area, as the window lays out its controls.
AddButton="116 100"
UploadButton="116 156"

# find_window TITLE: the visible X window of exactly that name, within a minute.
find_window() {
    for i in $(seq 600); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 | grep . && return
        sleep 0.1
    done
    return 1
}

click() { xdotool mousemove --window "$1" $2 click 1; }
press() { xdotool windowfocus --sync "$1" key "$2"; }

start_display() {
    # Xvfb picks a free display and writes its number once it takes clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    pids+=($!)
    for i in $(seq 300); do
        [ -s "$work/display" ] && export DISPLAY=":$(cat "$work/display")" && return
        sleep 0.1
    done
    return 1
}

lists_com_ports() { orvane_wine ports | tr -d '\r' | grep -q '^COM[0-9]*:'; }

uploads_by_clicks() {
    local dialog prompt
    click "$window" "$AddButton"
    dialog="$(find_window "讀取圖檔")" || return 1
    xdotool windowfocus --sync "$dialog" type "Z:${pictures//\//\\}\\logo.png"
    press "$dialog" Return
    # Upload comes alive once the picture is checked: clicked until it answers.
    for i in $(seq 60); do
        click "$window" "$UploadButton"
        prompt="$(xdotool search --onlyvisible --name '^Starting Upload\.$' | head -n 1)"
        [ -n "$prompt" ] && break
        sleep 1
    done
    [ -n "$prompt" ] && press "$prompt" Return || return 1
    prompt="$(find_window 'Upload finished\.')" || return 1
    import -window root "$app/wine-window-uploaded.png"
    press "$prompt" Return
    grep -q "^FS q: stored 1 NV image (" "$work/window/log.txt"
}

closes_window() {
    [ -n "${window:-}" ] && press "$window" alt+F4
    for i in $(seq 300); do
        kill -0 "$window_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill "$window_pid"
    return 1
}

window_test() {
    # Wine's desktop started without a display: it starts again on this one.
    "$WINESERVER" -k && "$WINESERVER" -w
    setpriv --bounding-set -sys_admin -- "$WINESERVER" -p </dev/null >/dev/null 2>&1
    check "Xvfb starts" start_display || return
    check "the port box's catalogue lists Wine's COM ports" lists_com_ports
    start_printer "$work/window" --tcp 0 || return
    "$WINE" "C:\\Program Files\\Orvane\\orvane.exe" --port "tcp://$address" >/dev/null 2>&1 &
    window_pid=$!
    pids+=("$window_pid")
    check "the window shows, captioned \"Orvane Ver.0.9\"" \
        eval 'window="$(find_window "Orvane Ver\\.0\\.9")"'
    import -window root "$app/wine-window.png"
    [ -n "${window:-}" ] && check "Add Image and Upload by clicks reach the printer" uploads_by_clicks
    # Closed as a person does (Alt+F4 is WM_CLOSE), so the program ends and the uninstaller
    # can delete its exe.
    check "the window closes and the program ends" closes_window
    stop_printer
}
