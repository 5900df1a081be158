#!/usr/bin/env bash
# Installs, builds, makes CheminBase.ini and an empty embedded TALVANE.gdb when missing, then starts the
# program. The working folder is var/travail, so the program finds var/CheminBase.ini in its parent.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/install.sh"
"$ROOT/scripts/build.sh"

VAR="$ROOT/var"
mkdir -p "$VAR/base" "$VAR/travail" "$VAR/modeles"
INI="$VAR/CheminBase.ini"
if [ ! -f "$INI" ]; then
  printf '[CheminBase]\r\nRep=%s\r\nModelessexcel=%s\r\n' "$VAR/base" "$VAR/modeles" > "$INI"
fi
REP=$(sed -n 's/^Rep=//p' "$INI" | tr -d '\r' | head -n 1)
case "$REP" in
  /*) [ -f "$REP/TALVANE.gdb" ] || "$ROOT/build/app/talvane-cli" create-db "$REP/TALVANE.gdb" ;;
  *) echo "Base sur un serveur ($REP) : elle n'est pas créée ici." ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Aucun écran : le programme démarre sur la plateforme offscreen."
  export QT_QPA_PLATFORM=offscreen
fi
cd "$VAR/travail"
exec "$ROOT/build/app/talvane" "$@"
