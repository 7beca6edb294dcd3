# What the package checks share; sourced. The sourcing script keeps the process it started in
# $running, for its clean-up to stop.
running=""

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Stops a script that would install packages unless it runs in a throw-away root: dpkg's
# database must be seen through one of the overlays throwaway-root.sh mounts (named "throwaway";
# the last one listed at a place is the one on top).
require_throwaway_root() {
    [ "$(findmnt -n -o SOURCE -T /var/lib/dpkg | tail -n 1)" = throwaway ] &&
        [ "$(stat -f -c %T /var/lib/dpkg)" = overlayfs ] ||
        fail "not in a throw-away root: packages are installed only in one (throwaway-root.sh)"
}

stop_running() {
    if [ -n "$running" ]; then
        kill "$running" 2>/dev/null || true
        wait "$running" 2>/dev/null || true
        running=""
    fi
}

# Starts the service by the command line in the array named $1, logging to $2; checks that it
# answers and serves a help page from its site, and that SIGTERM ends it cleanly.
serve_and_check() {
    local -n service_command=$1
    : >"$2"
    "${service_command[@]}" 2>"$2" &
    running=$!
    local port=""
    for _ in $(seq 100); do
        port="$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$2")"
        [ -n "$port" ] && break
        sleep 0.05
    done
    [ -n "$port" ] || fail "the service did not start: $(cat "$2")"
    curl -sf "http://127.0.0.1:$port/healthz" >/dev/null || fail "no health answer"
    curl -sf "http://127.0.0.1:$port/index.php/901.html" | grep -q '<title>' ||
        fail "no help page from the installed site"
    kill -TERM "$running"
    local status=0
    wait "$running" || status=$?
    running=""
    [ "$status" -eq 0 ] || fail "the service ended with $status after SIGTERM"
}

# An installed Quillet as dpkg knows it: its status, its files' content, the service's
# registration, and whether the service's state folder is there (systemd keeps a DynamicUser's
# state in /var/lib/private, reached through a link in /var/lib).
quillet_installation() {
    dpkg-query -W -f='${Package} ${Status} ${Version}\n' quillet 2>/dev/null || echo "quillet unknown to dpkg"
    local path
    dpkg-query -L quillet 2>/dev/null | sort | while IFS= read -r path; do
        if [ -f "$path" ] && [ ! -L "$path" ]; then
            sha256sum "$path"
        fi
    done
    find /etc/systemd /var/lib/systemd -name 'quillet-service*' 2>/dev/null | sort || true
    ls -d /var/lib/quillet-service /var/lib/private/quillet-service 2>/dev/null || true
}

# The service's database: every file of its state folder, with owner, mode, time and content.
quillet_database() {
    find /var/lib/quillet-service /var/lib/private/quillet-service -exec \
        stat -c '%n %F %a %u:%g %s %Y' {} + 2>/dev/null | sort || true
    find -L /var/lib/quillet-service -type f -exec sha256sum {} + 2>/dev/null | sort || true
}
