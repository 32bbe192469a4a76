#!/bin/sh
# Runs a Windows test program under Wine, in the build folder's own prefix, so
# a test run never touches the user's own Wine setup. The prefix is made on
# first use (once, even when CTest runs tests in parallel).
# Usage: run-under-wine.sh PREFIX PROGRAM [ARGUMENTS...]
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$prefix/.ostrel-ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.ostrel-ready" ]; then
            wineboot -i >/dev/null 2>&1
            # Without a window manager Wine waits about 2 s whenever a top-level
            # window is hidden or destroyed; unmanaged windows do not.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
            # Caption buttons are drawn with Marlett; give the prefix its own copy.
            for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
                [ -f "$font" ] && cp "$font" "$prefix/drive_c/windows/Fonts/" && break
            done
            wineserver -w
            touch "$prefix/.ostrel-ready"
        fi
    ) 9>"$prefix.lock"
fi
exec wine "$@"
