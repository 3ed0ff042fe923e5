#!/bin/sh
# Runs the window's suite under Wine on a virtual display: run-under-xvfb.sh
# WINE TEST_EXE [ARGS...]. Its windows are left unmanaged (no window manager
# runs there, and Wine would wait two seconds for one each time a window
# hides). Wine starts here on that display, the registry step included, and
# ends with it; a Wine of the same prefix still running without a display
# (wineboot, the command-line suite) would give no window, so its end is
# awaited first.
set -e
if [ -z "${VERILOTE_ON_XVFB:-}" ]; then
  wineserver -w 2> /dev/null || true
  VERILOTE_ON_XVFB=1 exec xvfb-run -a "$0" "$@"
fi
wine=$1
shift
"$wine" reg add 'HKCU\Software\Wine\AppDefaults\verilote_win_tests.exe\X11 Driver' /v Managed /d N /f > /dev/null 2>&1
status=0
"$wine" "$@" || status=$?
# Wine's processes of this display end with it.
wineserver -k 2> /dev/null || true
wineserver -w 2> /dev/null || true
exit $status
