# Sourced by run and test: installs the Debian packages the build and the tests need.
TARVIK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqscintilla2-qt6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core clang libclang-rt-14-dev xvfb xauth
  binutils-z80 z80asm srecord sdcc
)

tarvik_install_packages() {
  local missing=()
  local p
  for p in "${TARVIK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
