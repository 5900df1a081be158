#!/usr/bin/env bash
# Starts or stops a private Firebird 3 server for the tests:
#   firebird-server.sh start|stop DIR PORT
# The server listens on 127.0.0.1:PORT only and keeps everything of its own in DIR: its configuration root,
# its lock files, its security database (SYSDBA / qorvintel, Srp) and its output. It shares nothing with
# the system's Firebird service or with the embedded engine that other tests use at the same time, and it
# runs as whoever calls this script (root in CI).
set -euo pipefail
set +m # no job control: the server started below must not lead a process group of its own

usage() {
    echo "usage: $0 start|stop DIR PORT" >&2
    exit 2
}
[ $# -eq 3 ] || usage
ACTION=$1
DIR=$2
PORT=$3
[[ "$PORT" =~ ^[0-9]+$ ]] || usage

readonly PASSWORD=qorvintel
readonly HOST=127.0.0.1
readonly START_TIMEOUT=30 # seconds
readonly STOP_TIMEOUT=30
readonly FB_SERVER=/usr/sbin/firebird
readonly FB_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
readonly FB_ETC=/etc/firebird/3.0

mkdir -p "$DIR"
DIR=$(cd "$DIR" && pwd)
ROOT="$DIR/root"
LOCK="$DIR/lock"
SECURITY_DB="$DIR/security3.fdb"
PIDFILE="$DIR/firebird.pid"
OUTPUT="$DIR/server.log"
SYSTEM_LOG=/var/log/firebird/firebird3.0.log

fail() {
    echo "firebird-server: $*" >&2
    exit 1
}

# Prints what the server said, to explain a failure.
show_logs() {
    if [ -s "$OUTPUT" ]; then
        echo "--- $OUTPUT" >&2
        tail -n 50 "$OUTPUT" >&2
    fi
    if [ -r "$SYSTEM_LOG" ]; then
        echo "--- $SYSTEM_LOG (last lines)" >&2
        tail -n 20 "$SYSTEM_LOG" >&2
    fi
}

# True while process PID exists (a zombie waiting to be reaped counts as gone).
running() {
    local pid=$1 state
    [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] || return 1
    state=$(sed -e 's/^.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

# True while PID is a running firebird server.
alive() {
    running "$1" && [ "$(cat "/proc/$1/comm" 2>/dev/null)" = firebird ]
}

recorded_pid() {
    if [ -f "$PIDFILE" ]; then tr -dc '0-9' <"$PIDFILE"; fi
}

port_open() {
    (exec 3<>"/dev/tcp/$HOST/$PORT") 2>/dev/null
}

# The configuration root the server reads through $FIREBIRD. Plugins and messages come from the package.
# The character sets module is copied, not linked: Firebird resolves links on the module it loads and then
# no longer finds it under the name fbintl.conf gives ($(root)/intl/fbintl), so WIN1252 would be unknown.
write_root() {
    rm -rf "$ROOT"
    mkdir -p "$ROOT/intl" "$LOCK"
    ln -s "$FB_LIB/plugins" "$ROOT/plugins"
    ln -s "$FB_LIB/UDF" "$ROOT/UDF"
    ln -s "$FB_LIB/firebird.msg" "$ROOT/firebird.msg"
    ln -s "$FB_ETC/plugins.conf" "$ROOT/plugins.conf"
    ln -s "$FB_ETC/fbintl.conf" "$ROOT/fbintl.conf"
    ln -s "$FB_ETC/fbintl.conf" "$ROOT/intl/fbintl.conf"
    cp "$FB_LIB/intl/libfbintl.so" "$ROOT/intl/libfbintl.so"
    cat >"$ROOT/firebird.conf" <<EOF
# Private test server: loopback only, its own security database, Srp logins as the default client offers.
ServerMode = Super
RemoteServicePort = $PORT
RemoteBindAddress = $HOST
SecurityDatabase = $SECURITY_DB
AuthServer = Srp256, Srp
AuthClient = Srp256, Srp
UserManager = Srp
WireCrypt = Enabled
DatabaseAccess = Full
UdfAccess = None
EOF
    cat >"$ROOT/databases.conf" <<EOF
security.db = $SECURITY_DB
{
    RemoteAccess = false
}
EOF
}

# Runs a Firebird tool on this instance's files without a server (embedded engine, private lock files).
embedded() {
    env FIREBIRD="$ROOT" FIREBIRD_LOCK="$LOCK" "$@"
}

# SYSDBA's login lives in the security database that the configuration names, so the user is made in the
# file at its final place; a half-made file is removed.
create_security_db() {
    [ -f "$SECURITY_DB" ] && return 0
    local quoted=${SECURITY_DB//\'/\'\'}
    if ! embedded isql-fb -q -user SYSDBA >"$DIR/security.log" 2>&1 <<EOF
SET BAIL ON;
CREATE DATABASE '$quoted';
CREATE OR ALTER USER SYSDBA PASSWORD '$PASSWORD' USING PLUGIN Srp;
COMMIT;
EOF
    then
        cat "$DIR/security.log" >&2
        rm -f "$SECURITY_DB"
        fail "could not create the security database $SECURITY_DB"
    fi
}

# Logs in through the server as the tests do, with the client library's default configuration.
check_login() {
    env -u FIREBIRD -u FIREBIRD_LOCK fbsvcmgr "$HOST/$PORT:service_mgr" -user SYSDBA -password "$PASSWORD" \
        -info_server_version >"$DIR/login.log" 2>&1
}

start() {
    for tool in "$FB_SERVER" isql-fb fbsvcmgr; do
        command -v "$tool" >/dev/null ||
            fail "$tool is missing: install firebird3.0-server and firebird3.0-utils (scripts/install.sh)"
    done
    local pid
    pid=$(recorded_pid)
    if alive "$pid"; then
        if port_open && check_login; then
            echo "firebird-server: already running on $HOST:$PORT (pid $pid)"
            return 0
        fi
        echo "firebird-server: pid $pid does not answer on $HOST:$PORT; restarting it" >&2
        stop
    fi
    rm -f "$PIDFILE"
    if port_open; then
        fail "port $PORT on $HOST is already taken by another program; choose another port"
    fi

    write_root
    create_security_db
    : >"$OUTPUT"
    # -d keeps the server in the foreground. A small shell of its own session starts it, records its pid
    # and waits for it, so that a stopped server is reaped at once instead of lingering as a zombie; the
    # redirections detach both from the caller (CTest waits for the output of what it started).
    # shellcheck disable=SC2016 # expanded by the launcher, from its arguments
    setsid bash -c 'cd "$1" || exit 1; env FIREBIRD="$2" FIREBIRD_LOCK="$3" "$4" -d & echo $! >"$5"; wait' \
        launcher "$DIR" "$ROOT" "$LOCK" "$FB_SERVER" "$PIDFILE" </dev/null >>"$OUTPUT" 2>&1 &
    local waited=0
    until [ -n "$(recorded_pid)" ]; do
        [ "$waited" -lt 50 ] || fail "the server's launcher recorded no pid in $PIDFILE"
        sleep 0.1
        waited=$((waited + 1))
    done
    pid=$(recorded_pid)

    waited=0
    until port_open; do
        if ! running "$pid"; then
            show_logs
            rm -f "$PIDFILE"
            fail "the server exited before listening on $HOST:$PORT"
        fi
        if [ "$waited" -ge $((START_TIMEOUT * 5)) ]; then
            show_logs
            stop
            fail "the server did not listen on $HOST:$PORT within ${START_TIMEOUT} s"
        fi
        sleep 0.2
        waited=$((waited + 1))
    done
    if ! check_login; then
        cat "$DIR/login.log" >&2
        show_logs
        stop
        fail "the server on $HOST:$PORT refuses SYSDBA's login"
    fi
    echo "firebird-server: listening on $HOST:$PORT (pid $pid, files in $DIR)"
}

stop() {
    local pid
    pid=$(recorded_pid)
    if ! alive "$pid"; then
        rm -f "$PIDFILE"
        echo "firebird-server: not running"
        return 0
    fi
    kill -TERM "$pid" 2>/dev/null || true
    local waited=0
    while alive "$pid"; do
        if [ "$waited" -ge $((STOP_TIMEOUT * 5)) ]; then
            echo "firebird-server: pid $pid ignored SIGTERM for ${STOP_TIMEOUT} s; killing it" >&2
            kill -KILL "$pid" 2>/dev/null || true
            waited=0
            while alive "$pid" && [ "$waited" -lt 50 ]; do
                sleep 0.2
                waited=$((waited + 1))
            done
            alive "$pid" && fail "pid $pid survives SIGKILL"
            break
        fi
        sleep 0.2
        waited=$((waited + 1))
    done
    rm -f "$PIDFILE"
    echo "firebird-server: stopped (pid $pid)"
}

case "$ACTION" in
start) start ;;
stop) stop ;;
*) usage ;;
esac
