# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the scripts: the Debian packages Quibo needs, their installation
# when missing, and the build. Sourced, not run.

QUIBO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUIBO_BUILD="$QUIBO_ROOT/build"
QUIBO_SANITIZE_BUILD="$QUIBO_ROOT/build-sanitize"

# What the two programs need to build and run: compiler and build tools
# (build-essential brings dpkg-dev, whose dpkg-shlibdeps and dpkg-buildflags
# the package is made with), Qt 6 for the window, FFmpeg's libraries, CLI11 and
# nlohmann-json.
QUIBO_BUILD_PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev
    libavformat-dev libavcodec-dev
    libcli11-dev nlohmann-json3-dev
)

# What the tests need besides: clang with its sanitizer and libFuzzer runtimes
# for the sanitizer build; GoogleTest and Google Benchmark; ffmpeg, mencoder,
# lame, mediainfo and exiftool to make and compare real files; Xvfb and a font
# to run the window headless; file, which CPack needs to compute the package's
# Depends; groff to check the manual pages, lintian for the package, the
# validators of its desktop file and AppStream data, and Python's jsonschema to
# check quibo-info's JSON against its schema.
QUIBO_PACKAGES=(
    "${QUIBO_BUILD_PACKAGES[@]}"
    clang-14 libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    ffmpeg mencoder lame mediainfo libimage-exiftool-perl
    xvfb xauth fonts-dejavu-core
    file groff-base lintian desktop-file-utils appstream python3-jsonschema
)

# Prints each named package that dpkg does not have installed.
missing_packages() {
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
            echo "$package"
        fi
    done
}

# Installs the named packages that are missing, as root or through sudo.
install_packages() {
    local -a missing as_root=()
    mapfile -t missing < <(missing_packages "$@")
    ((${#missing[@]} > 0)) || return 0
    if ((EUID != 0)); then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages: ${missing[*]}; run as root or install sudo." >&2
            return 1
        fi
        as_root=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures build/ with the cmake options given, for Debian's /usr: the
# package installs there and the programs look for Quibo.dat under the prefix
# they were built for, so the package test checks the package that
# scripts/package makes.
configure_build() {
    cmake -S "$QUIBO_ROOT" -B "$QUIBO_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_INSTALL_PREFIX=/usr "$@"
}

# Configures build/ with the tests and benchmarks and builds everything, or
# the targets named as `--target NAME...`.
configure_and_build() {
    configure_build -DQUIBO_BUILD_TESTS=ON -DQUIBO_BUILD_BENCH=ON
    cmake --build "$QUIBO_BUILD" --parallel "$(nproc)" "$@"
}

# Configures build/ without tests, benchmarks or fuzzers, with any further
# cmake options given, and builds only quibo, quibo-info and the files the
# package installs with them.
configure_and_build_programs() {
    configure_build -DQUIBO_BUILD_TESTS=OFF -DQUIBO_BUILD_BENCH=OFF -DQUIBO_BUILD_FUZZERS=OFF "$@"
    cmake --build "$QUIBO_BUILD" --parallel "$(nproc)"
}

# Configures build-sanitize/ with clang, AddressSanitizer,
# UndefinedBehaviorSanitizer and the fuzzers, and builds it.
configure_and_build_sanitized() {
    # -O1 and line tables only: a quicker build whose reports still name
    # each source line.
    cmake -S "$QUIBO_ROOT" -B "$QUIBO_SANITIZE_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" -DCMAKE_CXX_COMPILER=clang++-14 -DQUIBO_SANITIZE=ON -DQUIBO_BUILD_FUZZERS=ON -DQUIBO_BUILD_BENCH=OFF
    cmake --build "$QUIBO_SANITIZE_BUILD" --parallel "$(nproc)"
}
