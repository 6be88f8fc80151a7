# Installs the Debian packages given that are not installed yet (as root, or with sudo).
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building and running the tool needs.
BUILD_PACKAGES=(cmake make g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev fonts-dejavu-core fonts-crosextra-carlito)
# What the Debian package and its checks need (cpack's dependency lookup, the desktop entry check).
PACKAGING_PACKAGES=(dpkg-dev file desktop-file-utils)
