# Installs the Debian packages named as arguments that are not installed yet,
# updating the package lists first; through sudo when not run as root. A first
# argument --no-install-recommends goes to apt-get.
need_packages() {
   local missing=() apt=()
   [ "${1-}" != --no-install-recommends ] || { apt=("$1"); shift; }
   for pkg in "$@"; do
      dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
         missing+=("$pkg")
   done
   [ ${#missing[@]} = 0 ] && return 0
   local sudo=
   [ "$(id -u)" = 0 ] || sudo=sudo
   echo "installing ${missing[*]}"
   $sudo apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${apt[@]}" "${missing[@]}" >/dev/null
}

# What building the intro takes; dpkg-dev's dpkg-buildflags gives Debian's
# hardening flags and its dpkg-shlibdeps the package's dependencies.
build_packages=(g++ cmake make pkg-config dpkg-dev liballegro4-dev libpng-dev libcli11-dev)
# What the tests on Linux take besides: GoogleTest, Xvfb and xdotool, X's
# screenshot and ImageMagick for the pictures, FreeType and DejaVu for the
# images, file for the package, valgrind, ffmpeg for the videos.
test_packages=(libgtest-dev xvfb xdotool x11-apps imagemagick libfreetype-dev fonts-dejavu-core
   file valgrind ffmpeg)

# What the Windows build takes: the cross compilers, the library's own dat and
# exedat (from the Linux package) and patch for the library source.
windows_build_packages=(cmake make patch liballegro4-dev g++-mingw-w64-x86-64-win32)
# What its test under Wine takes.
windows_test_packages=(wine wine64 xvfb xdotool x11-apps imagemagick)

# What the browser build takes: Debian's emscripten (with its node and the
# node modules its optimizer needs) besides what building the intro takes,
# whose data file the browser plays.
web_build_packages=(emscripten nodejs cmake make)

# What the browser tests and benchmarks take: Debian's Chromium, and
# playwright-core from npm (tests/web/package-lock.json) to drive it; it
# downloads no browser of its own.
need_browser() {
   need_packages --no-install-recommends chromium
   command -v npm >/dev/null || need_packages --no-install-recommends npm
   local tests
   tests=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/web" && pwd)
   [ -d "$tests/node_modules/playwright-core" ] ||
      (cd "$tests" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
}
