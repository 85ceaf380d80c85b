# Sourced: the sandboxed Wine environment for tests and the demo (never the user's own HOME or trash).
export STROKECAST_WINE_ROOT=${STROKECAST_WINE_ROOT:-${TMPDIR:-/tmp}/strokecast-wine-$(id -u)}
export HOME=$STROKECAST_WINE_ROOT/home
export XDG_DATA_HOME=$HOME/.local/share
export XDG_CONFIG_HOME=$HOME/.config
export XDG_CACHE_HOME=$HOME/.cache
export WINEPREFIX=$STROKECAST_WINE_ROOT/prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
export LC_ALL=C.UTF-8
case ":$PATH:" in *:/usr/lib/wine:*) ;; *) export PATH=/usr/lib/wine:$PATH ;; esac
