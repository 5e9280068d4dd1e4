# Helpers of run-wine-programs: the count of checks, the virtual printer, the jobs.
passed=0 failed=0 jobs=0
pids=()

# check NAME COMMAND...: one case; its outcome is the command's.
check() {
    local name="$1"
    shift
    "$@" && echo "ok      $name" && passed=$((passed + 1)) && return
    echo "FAILED  $name" && failed=$((failed + 1)) && return 1
}

stop_all() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid"; done; }

registry_has() { "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -q "REG_SZ    $3\$"; }
registry_lacks() { ! "$WINE" reg query "$1" >/dev/null 2>&1; }

expect_output() {
    local expected="$1" printed
    shift
    printed="$(timeout 120 "$@" 2>&1 | tr -d '\r')"
    [ "$printed" = "$expected" ] || echo "        printed '$printed', expected '$expected'"
    [ "$printed" = "$expected" ]
}

# start_printer DIR [OPTION...]: the Linux virtual printer; its address in $address.
start_printer() {
    local dir="$1" i
    shift
    "$linux/tools/virtual-printer/orvane-virtual-printer" --out "$dir" "$@" >"$dir.out" 2>&1 &
    printer_pid=$!
    pids+=("$printer_pid")
    # The output folder, its second line, comes once it serves.
    for i in $(seq 300); do
        [ "$(sed -n 2p "$dir.out")" = "$dir" ] && address="$(head -n 1 "$dir.out")" && return
        sleep 0.1
    done
    echo "        the virtual printer did not start: $(cat "$dir.out")" && return 1
}

stop_printer() { kill -TERM "$printer_pid" 2>/dev/null && wait "$printer_pid"; }

orvane_linux() { timeout 120 "$linux/src/app/orvane" "$@"; }
orvane_wine() { timeout 180 "$WINE" "C:\\Program Files\\Orvane\\orvane.com" "$@"; }

# record RUN PORT PROGRAM ARG...: the exit code and the output, the port's names set aside.
record() {
    local run="$1" port="$2"
    shift 2
    "$@" --port "$port" >"$run.stdout" 2>"$run.stderr"
    echo $? >"$run.code"
    for part in stdout stderr; do
        tr -d '\r' <"$run.$part" | sed -e "s|$port|PORT|g" -e "s|$address|PORT|g" \
            -e "s|port ${address##*:}\\b|port N|g" >"$run.$part.lf"
    done
}

# Whether the two runs sent the same bytes and told the same.
same_runs() {
    local ok=0 part
    for part in code stdout.lf stderr.lf stream.bin; do
        cmp -s "$1.$part" "$2.$part" && continue
        echo "        ${part%.lf} differs:"
        if [ "$part" = stream.bin ]; then cmp "$1.$part" "$2.$part"; else diff "$1.$part" "$2.$part"; fi |
            head -n 6
        ok=1
    done
    return $ok
}

# job KIND "PRINTER OPTIONS" ARG...: the Linux orvane and the installed orvane.com each run
# the command against a printer of their own, on TCP (tcp), through a pseudo-terminal that
# Wine maps to COM7 (com), or on a port nothing listens on (closed).
job() {
    local kind="$1" options="$2" side port
    shift 2
    jobs=$((jobs + 1))
    for side in linux wine; do
        local run="$work/job$jobs-$side"
        # shellcheck disable=SC2086  # the options are words
        start_printer "$run" $([ "$kind" = com ] || echo --tcp 0) $options || return 1
        port="tcp://$address"
        [ "$kind" = closed ] && stop_printer
        [ "$kind" = com ] && [ $side = linux ] && port="$address"
        [ "$kind" = com ] && [ $side = wine ] && port=COM7: &&
            ln -sfn "$address" "$WINEPREFIX/dosdevices/com7"
        record "$run" "$port" "orvane_$side" "$@"
        [ "$kind" = closed ] || stop_printer
        # Each job asks GS ( H fn 48 with an ID drawn at random: the IDs are set aside.
        perl -0777 -pe 's/\x1d\(H\x06\x00\x30\x30\K..../IDID/gs' "$run/stream.bin" >"$run.stream.bin"
    done
    rm -f "$WINEPREFIX/dosdevices/com7"
    same_runs "$work/job$jobs-linux" "$work/job$jobs-wine"
}

uninstall_silently() {
    # The uninstaller copies itself to the temporary folder and returns at once: wait for it.
    "$WINE" "C:\\Program Files\\Orvane\\uninstall.exe" /S || return 1
    for i in $(seq 600); do
        [ -e "$installed" ] || return 0
        sleep 0.1
    done
    return 1
}

path_without_orvane() {
    ! "$WINE" reg query 'HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment' \
        /v Path | grep -qi 'Orvane'
}

source "$here/wine-window.sh"
