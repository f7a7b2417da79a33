# Shared by the project's scripts: installing what is missing, and building.
# Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="$root/build"

# Everything the build, the programs, the tests, the package and the benchmarks need on Debian 12.
packages=(
  g++ cmake ninja-build pkgconf
  qt6-base-dev qt6-qpa-plugins libpng-dev zlib1g-dev libxcb1-dev libgtest-dev
  fonts-wqy-microhei
  xvfb openbox xdotool xclip x11-utils x11-xserver-utils wmctrl imagemagick python3
  desktop-file-utils appstream dpkg-dev file
  clang-14 libclang-rt-14-dev llvm-14  # the link fuzzer, and llvm-symbolizer for its traces
  libbenchmark-dev time
  strace libx11-6 libxtst6  # the isolation test's trace; keys and windows read in-process
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
  local missing=() package
  for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

build_project() {
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build"
}

# Configures and builds another tree of the same sources, e.g.
# build_tree "$root/build-asan" -DFRONTEND_SANITIZERS=address,undefined
build_tree() {
  local tree=$1
  shift
  cmake -S "$root" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$tree"
}
