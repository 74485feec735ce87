# Cross-compiles the Windows programs and test suites as 64-bit (x86-64)
# images with mingw-w64. The product is the 32-bit build
# (cmake/mingw-i686.cmake); this one exists because the test machines run
# only 64-bit user code, so only a 64-bit Wine can run the suites. The
# -posix compilers are needed: GoogleTest uses std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# scripts/wine-run-test runs a test program under the 64-bit loader whatever
# else is installed (Debian's wrapper prefers the 32-bit one when it is
# present), and starts it again when Wine ended it silently before it ran.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run-test)
# GCC 12 warns falsely about overlapping copies in ordinary string code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
