# Compiler settings shared by both builds, and the test helper.

add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
option(VELA_WERROR "Treat warnings as errors" ON)
if(VELA_WERROR)
  add_compile_options(-Werror)
endif()

if(WIN32)
  enable_language(RC)
  include(VelaWindowsDeps)
  # UNICODE stays off: window text goes through the A functions in the UTF-8
  # code page the manifest selects; GDI text is drawn with the W functions.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
else()
  option(VELA_SANITIZE "Build native code with ASan and UBSan" ON)
  if(VELA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

# GoogleTest: the mingw build from the deps prefix, or Debian's sources natively.
if(WIN32)
  find_package(GTest REQUIRED CONFIG PATHS ${VELA_DEPS_PREFIX}/lib/cmake/GTest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
else()
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
endif()

# vela_add_test(NAME SOURCES src... LIBS lib... [TIMEOUT s] [RESOURCE_LOCK name])
# One GoogleTest executable, registered as one ctest entry. Windows test
# executables run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(vela_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:test_manifest>)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${T_RESOURCE_LOCK})
  endif()
endfunction()

# TinyXML natively: Debian's libtinyxml-dev (the same 2.6.2 sources, built with STL).
if(NOT WIN32 AND NOT TARGET vela::tinyxml)
  find_library(VELA_TINYXML_LIB tinyxml REQUIRED)
  add_library(vela::tinyxml INTERFACE IMPORTED GLOBAL)
  set_target_properties(vela::tinyxml PROPERTIES
    INTERFACE_LINK_LIBRARIES ${VELA_TINYXML_LIB}
    INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)
endif()
