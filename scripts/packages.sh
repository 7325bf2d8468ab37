# Installs the Debian packages named as arguments that are not installed
# yet. Sourced by the other scripts; uses sudo unless already root.
ensure_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

BUILD_PACKAGES=(cmake g++ make qt6-base-dev libgl-dev)
# Qt's platform interface lets tests queue input as the window system does;
# Xvfb serves the real program started with its standard streams closed.
TEST_PACKAGES=(libgtest-dev libgmock-dev fonts-dejavu-core qt6-base-private-dev xvfb)
# clang with the sanitizer and libFuzzer runtimes.
CLANG_PACKAGES=(clang libclang-rt-14-dev)
