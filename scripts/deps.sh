# Sourced by scripts/test and scripts/run: installs, from Debian's packages, whatever this
# machine lacks to build, test and demonstrate KIVO. Installs nothing when all is present.
KIVO_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libx11-dev libxtst-dev libxi-dev libxkbcommon-dev
  libxkbcommon-x11-dev
  libx11-xcb-dev
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  xvfb xauth openbox xterm xdotool x11-utils x11-xkb-utils xkb-data x11-xserver-utils
  imagemagick fontconfig fonts-dejavu-core fonts-liberation2 fonts-urw-base35
  xvkbd featherpad
  libreoffice-writer
  gedit
  dpkg-dev lintian appstream desktop-file-utils
  dbus-daemon
  qt6-tools-dev qt6-l10n-tools
  sway
  xwayland
  jq
  libwayland-dev
  libwayland-bin
  kwin-wayland
  libglib2.0-bin
  gnome-shell
  python3-gi
  libibus-1.0-dev
  ibus
  gnome-text-editor
  qt6-base-private-dev
  qt6-wayland
  wayland-protocols
  foot
  kwrite
  qtwayland5
)

kivo_install_missing() {
  local missing=()
  local p
  for p in "${KIVO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}" >&2
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "error: need root or sudo to install: ${missing[*]}" >&2; return 1; }
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq || { echo "error: apt-get update failed" >&2; return 1; }
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || { echo "error: could not install: ${missing[*]}" >&2; return 1; }
}
