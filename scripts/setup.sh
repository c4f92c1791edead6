# Shared set-up for scripts/play and scripts/test: installs the build's
# packages when it can, then configures and builds into build/.
# Sourced, not run: it expects $root to be the checkout's top folder.

packages="build-essential cmake pkg-config libsdl2-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev"
# The tests also check the installed launcher and description with the
# desktop's own validators (small packages); playing does not need them.
case "$(basename "$0")" in
test) packages="$packages desktop-file-utils appstream" ;;
esac
# A caller may need more (scripts/web: emscripten, node, chromium).
packages="$packages ${extraPackages:-}"

missing=""
for p in $packages; do
    dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done

if [ -n "$missing" ]; then
    line="apt-get install -y$missing"
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing || exit 1
    elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing || exit 1
    else
        echo "Missing packages. Run this, then try again:"
        echo "    sudo apt-get update && sudo $line"
        exit 1
    fi
fi

build="$root/build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null || exit 1
cmake --build "$build" -j"$(nproc)" ${buildTargets:-} || exit 1
