# Shared build settings and helpers for every subsystem.

add_compile_options(-Wall -Wextra)
if(PELLMORE_WERROR)
  add_compile_options(-Werror)
endif()

if(PELLMORE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(PELLMORE_FUZZ)
  # Instrument everything for coverage; the fuzz targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # One self-contained executable per program: no mingw runtime DLLs to ship.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

# zlib: the system's on Linux, the mingw package's static library on Win32.
if(WIN32)
  find_library(PELLMORE_ZLIB NAMES libz.a z REQUIRED)
  find_path(PELLMORE_ZLIB_INCLUDE zlib.h REQUIRED)
  add_library(pellmore_zlib INTERFACE)
  target_link_libraries(pellmore_zlib INTERFACE ${PELLMORE_ZLIB})
  target_include_directories(pellmore_zlib INTERFACE ${PELLMORE_ZLIB_INCLUDE})
else()
  find_package(ZLIB REQUIRED)
  add_library(pellmore_zlib INTERFACE)
  target_link_libraries(pellmore_zlib INTERFACE ZLIB::ZLIB)
endif()

# pellmore_library(NAME SOURCES ... [DEPS ...])
# A subsystem's static library; includes are rooted at src/ so code says
# #include "framework/Classes.h".
function(pellmore_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# pellmore_test(NAME SOURCES ... [DEPS ...])
# A GoogleTest program registered with CTest. Discovery happens when ctest
# runs, so cross-built tests are listed through the emulator (Wine).
function(pellmore_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE pellmore_testsupport ${ARG_DEPS})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "TZ=UTC;WINEDEBUG=-all")
endfunction()
