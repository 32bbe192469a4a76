# Sourced by ./test and ./run: installs the Debian packages the build and the
# tests need, when any is missing. Quiet and quick when all are present.

ostrel_packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev
libbenchmark-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 fonts-wine xvfb xdotool imagemagick
xauth util-linux libcli11-dev nlohmann-json3-dev"
# The page (./run web) and its tests: the module's compiler, the browser the
# tests drive, node for the module's tests and emscripten's own tools. npm,
# for the tests' driver, is Debian's where node is Debian's own (a node from
# elsewhere brings its npm along).
ostrel_web_packages="emscripten chromium nodejs"

# The Python module's build, tests and example; without recommends, which
# would add Boost, SciPy and SymPy to what nothing here uses.
ostrel_python_packages="python3-dev python3-venv python3-pip python3-setuptools pybind11-dev
python3-pybind11 python3-numpy python3-pytest python3-matplotlib"

ostrel_missing_packages() {
    for package in $1; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        case "$status" in
            *"install ok installed"*) ;;
            *) printf '%s ' "$package" ;;
        esac
    done
}

ostrel_ensure_tools() {
    # A list given: those packages alone; none: the build's and the Python
    # module's.
    if [ -n "${1:-}" ]; then
        missing=$(ostrel_missing_packages "$1")
        missing_python=""
    else
        missing=$(ostrel_missing_packages "$ostrel_packages")
        missing_python=$(ostrel_missing_packages "$ostrel_python_packages")
    fi
    [ -z "$missing$missing_python" ] && return 0
    echo "Installing: $missing$missing_python"
    sudo=""
    if [ "$(id -u)" != 0 ]; then
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    # With recommends: Wine's fonts and X extensions are among them, and the
    # tests were measured with them.
    if [ -n "$missing" ]; then
        # shellcheck disable=SC2086
        $sudo apt-get install -y -qq $missing >/dev/null
    fi
    if [ -n "$missing_python" ]; then
        # shellcheck disable=SC2086
        $sudo apt-get install -y -qq --no-install-recommends $missing_python >/dev/null
    fi
}

# What the page needs.
ostrel_ensure_web_tools() {
    ostrel_ensure_tools "$ostrel_web_packages"
}

# The page's tests drive chromium with puppeteer-core, as pinned by the lock
# file (it downloads no browser of its own).
ostrel_ensure_browser_driver() {
    command -v npm >/dev/null 2>&1 || ostrel_ensure_tools npm
    if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.installed-lock.json 2>/dev/null; then
        npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
        cp tests/web/package-lock.json tests/web/node_modules/.installed-lock.json
    fi
}

# Starts Xvfb on a free display for the windows of the tests and exports
# DISPLAY; the server ends with the calling script.
ostrel_start_display() {
    number=91
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
        number=$((number + 1))
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ostrel_xvfb_pid=$!
    trap 'kill $ostrel_xvfb_pid 2>/dev/null || true' EXIT INT TERM
    tries=0
    while [ ! -e "/tmp/.X11-unix/X$number" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ]; then
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.1
    done
    export DISPLAY=":$number"
}

# What ./test runs: both presets whole (tests, fuzzers, benchmarks).
ostrel_build() {
    cmake --preset native >/dev/null
    cmake --build --preset native
    cmake --preset windows >/dev/null
    cmake --build --preset windows
}

# What ./run starts, and no more: the window from the Windows build (with its
# console command beside it) and ostrel-icm alone in release for this system.
ostrel_build_to_run() {
    cmake --workflow --preset command
    cmake --preset windows >/dev/null
    cmake --build --preset window
}
