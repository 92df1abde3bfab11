#!/usr/bin/env bash
# Checks the installed package (CI runs it after installing the .deb): the
# installed desk answers --version and --help, and started offscreen from a
# fresh folder (not the source tree), on a private data folder of its own,
# it opens its window with the client fields' labels and ends cleanly on
# SIGTERM. Every wait is bounded; on a failure the desk's stderr is printed.
#   ./scripts/check-installed.sh        (VITRANA_CHECK_LIMIT: seconds to wait
#                                        for the window, 180 by default)
set -euo pipefail

desk=/usr/bin/vitrana
start_limit=${VITRANA_CHECK_LIMIT:-180}
stop_limit=60

tmp=$(mktemp -d /tmp/vitrana-check.XXXXXX)
log=$tmp/stderr.log
pid=""

# Ends a process: SIGTERM, then SIGKILL after a bounded wait.
end_process() {
    kill -TERM "$1" 2>/dev/null || return 0
    local deadline=$((SECONDS + 30))
    while kill -0 "$1" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.5; done
    kill -KILL "$1" 2>/dev/null || true
}

# After a failure: the desk, then whatever it started on this check's folder
# (its private server), before the folder goes.
finish() {
    if [ -n "$pid" ]; then
        end_process "$pid"
    fi
    local left
    for left in $(pgrep -f -- "$tmp/" || true); do
        end_process "$left"
    done
    rm -rf "$tmp"
}
trap finish EXIT

fail() {
    echo "check-installed: FAILED: $*" >&2
    if [ -s "$log" ]; then
        echo "--- the desk's stderr ---" >&2
        cat "$log" >&2
        echo "---" >&2
    fi
    exit 1
}

[ -x "$desk" ] || fail "$desk is not installed (apt-get install ./build-package/vitrana_*.deb)"

# The commands of the terminal need no display.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$desk" --version 2>"$log") || fail "vitrana --version failed"
[[ $version == "vitrana "[0-9]* ]] || fail "vitrana --version printed: $version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY "$desk" --help 2>"$log") || fail "vitrana --help failed"
for option in --config --empty-hotel --backup --restore --help --version; do
    grep -q -e "$option" <<<"$help" || fail "vitrana --help does not mention $option"
done
echo "check-installed: $version; --help lists every option"

# A fresh working folder: the labels must come from the installed desk.
mkdir "$tmp/work"
printf '[database]\nmode = private\ndatadir = %s/data\n' "$tmp" >"$tmp/hotel.conf"
(
    cd "$tmp/work"
    # The info line of the start must not be filtered out by a user's logging rules.
    exec env QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="vitrana.*.info=true" \
        VITRANA_DB_USER="$(id -un)" VITRANA_DB_PASSWORD="" \
        "$desk" --config "$tmp/hotel.conf" >/dev/null 2>"$log"
) &
pid=$!

started='recepce spuštěna \(popisy položek klienta: [0-9]+\)'
deadline=$((SECONDS + start_limit))
until grep -Eq "$started" "$log"; do
    kill -0 "$pid" 2>/dev/null || fail "the desk ended before its window came up"
    ((SECONDS < deadline)) || fail "no window within ${start_limit} s"
    sleep 0.5
done
labels=$(grep -Eo "$started" "$log" | grep -Eo '[0-9]+' | tail -n 1)
((labels > 0)) || fail "the window came up without the client fields' labels"
echo "check-installed: the window came up from $tmp/work with $labels client field labels"

kill -TERM "$pid"
deadline=$((SECONDS + stop_limit))
while kill -0 "$pid" 2>/dev/null; do
    ((SECONDS < deadline)) || fail "the desk did not end within ${stop_limit} s of SIGTERM"
    sleep 0.5
done
status=0
wait "$pid" || status=$?
pid=""
((status == 0)) || fail "the desk ended with status $status after SIGTERM"
# The desk stops its private server on the way out (finish ends one left).
if server=$(pgrep -f -- "$tmp/" | head -n 1) && [ -n "$server" ]; then
    fail "a process of the desk's (pid $server: $(ps -o args= -p "$server")) outlived it"
fi
echo "check-installed: the desk ended cleanly on SIGTERM"

# The last desk to leave backs the hotel up into the data folder.
backup=$(ls "$tmp"/data/backups/zaloha-*.sql.gz 2>/dev/null | head -n 1)
[ -n "$backup" ] || fail "no backup in $tmp/data/backups after the desk's exit"
gzip -t "$backup" || fail "the backup $backup is not a complete gzip file"
echo "check-installed: the exit wrote $(basename "$backup") ($(stat -c %s "$backup") bytes)"

# The commands of the terminal, without a display: a backup on demand, and a
# restore of it, which checks every table against the backup.
env -u DISPLAY -u WAYLAND_DISPLAY VITRANA_DB_USER="$(id -un)" VITRANA_DB_PASSWORD="" \
    "$desk" --config "$tmp/hotel.conf" --backup "$tmp/hand.sql.gz" 2>"$log" || fail "vitrana --backup failed"
env -u DISPLAY -u WAYLAND_DISPLAY VITRANA_DB_USER="$(id -un)" VITRANA_DB_PASSWORD="" \
    "$desk" --config "$tmp/hotel.conf" --restore "$tmp/hand.sql.gz" 2>"$log" || fail "vitrana --restore failed"
if server=$(pgrep -f -- "$tmp/" | head -n 1) && [ -n "$server" ]; then
    fail "the private server (pid $server) outlived the backup commands"
fi
echo "check-installed: vitrana --backup and --restore round-trip the hotel"

echo "check-installed: OK"
