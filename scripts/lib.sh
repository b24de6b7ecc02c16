# Shared by the project's scripts: installing what is missing and building.

# Installs the Debian packages named that are not installed yet, as root or through sudo.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "error: these packages are missing and there is no sudo to install them: ${missing[*]}" >&2
            return 1
        fi
        as_root=(sudo)
    fi
    echo "Installing ${missing[*]}" >&2
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# fonts-droid-fallback draws the Chinese and Japanese texts (the package depends on it too).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev fonts-dejavu-core
                fonts-droid-fallback ccache nlohmann-json3-dev)
# qt6-translations-l10n: the window test checks Qt's own dialog words in another language.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev python3 dbus-daemon qt6-translations-l10n)
# The virtual machine of scripts/vm-test.sh; what runs inside it is fetched with apt-get download.
VM_PACKAGES=(qemu-system-x86 cpio binutils)

# Rebuilds reuse what was compiled before. Each checkout keeps its own entries: with paths hashed
# relative to the checkout, two checkouts on different branches were handed each other's objects
# (one class, two layouts), so the cache is keyed on absolute paths.
CACHE_ARGS=()
if command -v ccache >/dev/null; then
    unset CCACHE_BASEDIR CCACHE_NOHASHDIR
    CACHE_ARGS=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CACHE_ARGS[@]}" "$@" >/dev/null
    cmake --build "$dir"
}
