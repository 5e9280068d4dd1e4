# Helpers of run-wine-programs: checks and their count, the virtual printer, the jobs.
passed=0
failed=0
pids=()

# check NAME COMMAND...: one case, its command bounded in time.
check() {
    local name="$1"
    shift
    if "$@"; then
        echo "ok      $name"
        passed=$((passed + 1))
    else
        echo "FAILED  $name"
        failed=$((failed + 1))
    fi
}

stop_all() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    pids=()
}

registry_has() {
    "$WINE" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | grep -q "REG_SZ    $3\$"
}

registry_lacks() {
    ! "$WINE" reg query "$1" >/dev/null 2>&1
}

expect_output() {
    local expected="$1" printed
    shift
    printed="$(timeout 120 "$@" 2>&1 | tr -d '\r')"
    [ "$printed" = "$expected" ] || {
        echo "        printed '$printed', expected '$expected'"
        return 1
    }
}

# The README's example pictures, and the logo as GIF, TIFF and WebP for the image plugins.
make_pictures() {
    mkdir -p "$1"
    cp "$here"/../../examples/* "$1/"
    local format
    for format in gif tif webp; do
        convert "$1/logo.png" "$1/logo.$format"
    done
}

# start_printer DIR [OPTION...]: the Linux virtual printer, its address in $printer_address.
start_printer() {
    local dir="$1" line i
    shift
    "$linux/tools/virtual-printer/orvane-virtual-printer" --out "$dir" "$@" >"$dir.out" 2>&1 &
    printer_pid=$!
    pids+=("$printer_pid")
    for i in $(seq 300); do
        line="$(head -n 2 "$dir.out" 2>/dev/null | tail -n 1)"
        [ "$line" = "$dir" ] && break
        kill -0 "$printer_pid" 2>/dev/null || break
        sleep 0.1
    done
    printer_address="$(head -n 1 "$dir.out")"
    [ "$line" = "$dir" ] || {
        echo "        the virtual printer did not start: $(cat "$dir.out")"
        return 1
    }
}

stop_printer() {
    kill -TERM "$printer_pid" 2>/dev/null
    wait "$printer_pid" 2>/dev/null
}

orvane_linux() { timeout 120 "$linux/src/app/orvane" "$@"; }
orvane_wine() { timeout 180 "$WINE" "C:\\Program Files\\Orvane\\orvane.com" "$@"; }

# run_job DIR PROGRAM "PRINTER OPTIONS" PORT_PREFIX ARG...: one command against a fresh
# printer; DIR gets its stream, the output and the exit code.
run_job() {
    local dir="$1" program="$2" options="$3" prefix="$4"
    shift 4
    # shellcheck disable=SC2086  # the options are words
    start_printer "$dir" --tcp 0 $options || return 1
    "$program" "$@" --port "$prefix$printer_address" >"$dir.stdout" 2>"$dir.stderr"
    echo $? >"$dir.code"
    stop_printer
    # Each run has a printer of its own, on a port of its own.
    tr -d '\r' <"$dir.stdout" | sed "s|$printer_address|ADDRESS|g" >"$dir.stdout.lf"
    tr -d '\r' <"$dir.stderr" | sed "s|$printer_address|ADDRESS|g" >"$dir.stderr.lf"
}

# Whether the two runs sent the same bytes and told the same.
same_runs() {
    local a="$1" b="$2" part ok=0
    for part in code stdout.lf stderr.lf; do
        cmp -s "$a.$part" "$b.$part" || {
            echo "        ${part%.lf} differs:"
            diff "$a.$part" "$b.$part" | sed 's/^/          /' | head -n 10
            ok=1
        }
    done
    if ! cmp -s "$a/stream.bin" "$b/stream.bin"; then
        echo "        the streams differ ($(stat -c %s "$a/stream.bin" 2>/dev/null) and" \
            "$(stat -c %s "$b/stream.bin" 2>/dev/null) bytes):" \
            "$(cmp "$a/stream.bin" "$b/stream.bin" 2>&1 | head -n 1)"
        ok=1
    fi
    return $ok
}

job_number=0
compare_job() {
    local options="$1"
    shift
    job_number=$((job_number + 1))
    local linux_run="$work/job$job_number-linux" wine_run="$work/job$job_number-wine"
    run_job "$linux_run" orvane_linux "$options" tcp:// "$@" &&
        run_job "$wine_run" orvane_wine "$options" tcp:// "$@" &&
        same_runs "$linux_run" "$wine_run"
}

same_as_linux() {
    local name="$1"
    shift
    check "$name" compare_job "" "$@"
}

same_as_linux_printer() {
    local name="$1" options="$2"
    shift 2
    check "$name" compare_job "$options" "$@"
}

# A port nothing listens on: the last printer's, once it has stopped.
refused_job() {
    job_number=$((job_number + 1))
    local dir="$work/job$job_number"
    start_printer "$dir" --tcp 0 || return 1
    stop_printer
    local a="$dir-linux" b="$dir-wine"
    mkdir -p "$a" "$b"
    orvane_linux "$@" --port "tcp://$printer_address" >"$a.stdout" 2>"$a.stderr"
    echo $? >"$a.code"
    orvane_wine "$@" --port "tcp://$printer_address" >"$b.stdout" 2>"$b.stderr"
    echo $? >"$b.code"
    for run in "$a" "$b"; do
        tr -d '\r' <"$run.stdout" >"$run.stdout.lf"
        tr -d '\r' <"$run.stderr" >"$run.stderr.lf"
        : >"$run/stream.bin"
    done
    same_runs "$a" "$b"
}

same_as_linux_refused() {
    local name="$1"
    shift
    check "$name" refused_job "$@"
}

# The printer on a pseudo-terminal; Wine's COM7 is a link to it.
com_job() {
    job_number=$((job_number + 1))
    local a="$work/job$job_number-linux" b="$work/job$job_number-wine"
    start_printer "$a" || return 1
    orvane_linux "$@" --port "$printer_address" >"$a.stdout" 2>"$a.stderr"
    echo $? >"$a.code"
    stop_printer
    start_printer "$b" || return 1
    ln -sfn "$printer_address" "$WINEPREFIX/dosdevices/com7"
    orvane_wine "$@" --port COM7: >"$b.stdout" 2>"$b.stderr"
    echo $? >"$b.code"
    rm -f "$WINEPREFIX/dosdevices/com7"
    stop_printer
    for run in "$a" "$b"; do
        tr -d '\r' <"$run.stdout" >"$run.stdout.lf"
        tr -d '\r' <"$run.stderr" >"$run.stderr.lf"
    done
    # The port's name is in what the command tells.
    sed -i "s|$(head -n 1 "$a.out")|PORT|g" "$a.stdout.lf" "$a.stderr.lf"
    sed -i "s|COM7:|PORT|g" "$b.stdout.lf" "$b.stderr.lf"
    same_runs "$a" "$b"
}

same_through_com() {
    local name="$1"
    shift
    check "$name" com_job "$@"
}

uninstall_silently() {
    # The uninstaller copies itself to the temporary folder and returns at once: wait for it.
    "$WINE" "C:\\Program Files\\Orvane\\uninstall.exe" /S || return 1
    local i
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
