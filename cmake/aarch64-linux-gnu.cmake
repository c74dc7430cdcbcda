# Cross build for arm64 on a Debian machine with the arm64 architecture added (multiarch):
# Debian's cross compiler, the arm64 libraries and CMake packages under
# /usr/lib/aarch64-linux-gnu, and the build machine's own Qt tools (moc, rcc), which Qt's arm64
# packages look for under QT_HOST_PATH. scripts/lib/packages.sh installs all of it.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# Qt's dependencies found through pkg-config must be the arm64 ones too.
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config CACHE FILEPATH "pkg-config of arm64")

set(QT_HOST_PATH /usr CACHE PATH "The build machine's Qt, for its tools")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Its CMake packages")

# Test programs, and the build's own runs of them (GoogleTest's discovery), run under qemu-user.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static)

# The Debian packages are arm64's (CPack would ask dpkg, which names the build machine's).
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
