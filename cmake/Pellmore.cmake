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

# pellmore_library(NAME SOURCES ... [DEPS ...] [FOLDERS ...])
# A subsystem's static library. Code says #include "framework/Classes.h",
# but no library sees all of src/: each has an include root of its own
# under the build tree holding links to just its FOLDERS (default: the
# folder named after the library), and sees other roots only through the
# libraries it links. An include of a library it does not depend on fails
# to compile; tests/layering checks the order beyond that.
function(pellmore_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;FOLDERS" ${ARGN})
  if(NOT ARG_FOLDERS)
    string(REGEX REPLACE "^pellmore_" "" folder ${name})
    set(ARG_FOLDERS ${folder})
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  foreach(folder IN LISTS ARG_FOLDERS)
    pellmore_link_folder(${root} ${folder})
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${root})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# Makes ROOT/FOLDER a link to src/FOLDER (FOLDER may have several levels).
function(pellmore_link_folder root folder)
  set(link ${root}/${folder})
  set(target ${PROJECT_SOURCE_DIR}/src/${folder})
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} current)
    if(current STREQUAL target)
      return()
    endif()
    file(REMOVE ${link})
  endif()
  get_filename_component(parent ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
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
