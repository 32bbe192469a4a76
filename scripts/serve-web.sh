#!/bin/sh
# Serves build/web/ on 127.0.0.1 (port $1, or OSTREL_WEB_PORT, or 8029) until
# Ctrl+C, with Debian's Python.
set -eu
cd "$(dirname "$0")/.."
port=${1:-${OSTREL_WEB_PORT:-8029}}
echo "The page: http://127.0.0.1:$port/ (Ctrl+C stops it)"
exec /usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web
