# Cross build for arm64 handhelds with Debian's aarch64-linux-gnu compiler, against the
# Debian 11 ("bullseye") arm64 packages that tools/arm64/sysroot.sh unpacks into
# ARM64_ROOT, so that the game runs on firmwares as old as glibc 2.30.
#
# Only the compiler, assembler and linker come from this machine (Debian 12): every
# header and library comes from the bullseye root. The cross compiler would otherwise
# take Debian 12's C library headers and start files from its own folder
# (/usr/aarch64-linux-gnu) ahead of the root's, and its own libstdc++ and libgcc, built
# against glibc 2.36, which reference symbols that glibc 2.31 lacks (the unwinder's
# _dl_find_object of glibc 2.35, libstdc++'s __libc_single_threaded of 2.32). So:
# - no standard include folder but the compiler's own built-in headers; bullseye's C
#   library and libstdc++ 10 headers in their place;
# - the root's start files (-B) and its folders first on the library path;
# - libstdc++ and libgcc linked statically from bullseye's gcc 10 (libstdc++-10-dev,
#   libgcc-10-dev), so that the game needs no libstdc++ of the device's and no
#   GLIBCXX_ symbol version at all.
# tools/arm64/elfcheck.py proves the result on every file the port ships.
#
# Programs of this build run here under qemu-user with the root as their /, so that the
# same program runs unchanged on a device.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(ARM64_ROOT "${CMAKE_CURRENT_LIST_DIR}/../build-arm64/sysroot" CACHE PATH "The unpacked bullseye arm64 packages")
get_filename_component(ARM64_ROOT "${ARM64_ROOT}" ABSOLUTE)
set(ARM64_GCC "${ARM64_ROOT}/usr/lib/gcc/aarch64-linux-gnu/10")
set(ARM64_LIBS "${ARM64_ROOT}/lib/aarch64-linux-gnu:${ARM64_ROOT}/usr/lib/aarch64-linux-gnu:${ARM64_ROOT}/usr/lib/aarch64-linux-gnu/pulseaudio")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include OUTPUT_VARIABLE ARM64_COMPILER_INCLUDE
                OUTPUT_STRIP_TRAILING_WHITESPACE)

set(CMAKE_SYSROOT "${ARM64_ROOT}")
set(ARM64_INCLUDES "-nostdinc -nostdinc++ -isystem ${ARM64_ROOT}/usr/include/c++/10 \
-isystem ${ARM64_ROOT}/usr/include/aarch64-linux-gnu/c++/10 -isystem ${ARM64_ROOT}/usr/include/c++/10/backward \
-isystem ${ARM64_COMPILER_INCLUDE} -isystem ${ARM64_ROOT}/usr/include/aarch64-linux-gnu -isystem ${ARM64_ROOT}/usr/include")
set(CMAKE_C_FLAGS_INIT "${ARM64_INCLUDES}")
set(CMAKE_CXX_FLAGS_INIT "${ARM64_INCLUDES}")
# The libraries the SDL libraries need in turn are found in the root too (-rpath-link).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-B${ARM64_ROOT}/usr/lib/aarch64-linux-gnu -L${ARM64_GCC} \
-L${ARM64_ROOT}/lib/aarch64-linux-gnu -L${ARM64_ROOT}/usr/lib/aarch64-linux-gnu \
-static-libstdc++ -static-libgcc -Wl,--as-needed -Wl,-rpath-link,${ARM64_LIBS}")

set(CMAKE_FIND_ROOT_PATH "${ARM64_ROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${ARM64_ROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${ARM64_ROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${ARM64_ROOT}/usr/share/pkgconfig")

# A program that hangs under emulation is killed rather than waited on for ever.
set(CMAKE_CROSSCOMPILING_EMULATOR timeout -s KILL 300 qemu-aarch64 -L "${ARM64_ROOT}")
