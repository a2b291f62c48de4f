# Sourced by wine-env and wine-run: the prefix of a build tree and the loader for an architecture.
# Expects $dir, the build tree's Wine folder.
export WINEPREFIX=$dir/prefix
# Settings inherited from the user's own Wine would not fit this prefix: the loader picked below
# decides its architecture, and Wine finds its own server.
unset WINEARCH WINESERVER
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Prints the Wine loader for ARCH; fails when this machine cannot run it. /usr/bin/wine would
# pick the 32-bit loader whenever it is installed, even where the kernel cannot execute it.
wine_loader_for() {
    case $1 in
    i686)
        /usr/lib/wine/wine --version >/dev/null 2>&1 || return 1
        echo /usr/lib/wine/wine
        ;;
    *) echo /usr/lib/wine/wine64 ;;
    esac
}

wine_cmd() {
    local loader
    loader=$(wine_loader_for "$1") || return 1
    shift
    WINELOADER=$loader "$loader" "$@"
}
