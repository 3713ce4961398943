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

# vela_gtest_command(NAME OUT_VAR): the command that runs test program NAME
# for ctest: through run-gtest.sh, which fails a program that ends without
# GoogleTest's closing summary or result file (a crash under Wine can still
# exit 0). Windows programs run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(vela_gtest_command name out)
  set(xml "${CMAKE_CURRENT_BINARY_DIR}/${name}.result.xml")
  set(xml_arg "${xml}")
  if(WIN32)
    set(xml_arg "Z:${xml}")
  endif()
  set(${out} bash ${PROJECT_SOURCE_DIR}/scripts/run-gtest.sh ${xml} ${xml_arg}
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_color=no PARENT_SCOPE)
endfunction()

# vela_add_test(NAME SOURCES src... LIBS lib... [TIMEOUT s] [RESOURCE_LOCK name] [NO_TEST])
# One GoogleTest executable, registered as one ctest entry (NO_TEST: built
# only, for a caller that registers its own check).
function(vela_add_test name)
  cmake_parse_arguments(T "NO_TEST" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(WIN32)
    target_link_libraries(${name} PRIVATE test_support)
  else()
    target_link_libraries(${name} PRIVATE test_support_core)
  endif()
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:test_manifest>)
  endif()
  if(T_NO_TEST)
    return()
  endif()
  vela_gtest_command(${name} command)
  add_test(NAME ${name} COMMAND ${command})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
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

# vela_subsystem(NAME [CORE_LIBS ...] [WIN_LIBS ...])
# A subsystem folder: NAME/core/*.cpp (no <windows.h>) become NAME_core, built
# in both builds; NAME/*.cpp become NAME (Windows only), which links NAME_core.
function(vela_subsystem name)
  cmake_parse_arguments(S "" "" "CORE_LIBS;WIN_LIBS" ${ARGN})
  file(GLOB core_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp)
  if(core_sources)
    add_library(${name}_core STATIC ${core_sources})
  else()
    add_library(${name}_core INTERFACE)
  endif()
  get_target_property(core_type ${name}_core TYPE)
  if(core_type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name}_core INTERFACE ${S_CORE_LIBS})
  else()
    target_link_libraries(${name}_core PUBLIC ${S_CORE_LIBS})
  endif()
  if(WIN32)
    file(GLOB win_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(win_sources)
      add_library(${name} STATIC ${win_sources})
      target_link_libraries(${name} PUBLIC ${name}_core ${S_WIN_LIBS})
    else()
      add_library(${name} INTERFACE)
      target_link_libraries(${name} INTERFACE ${name}_core ${S_WIN_LIBS})
    endif()
  endif()
endfunction()

# vela_test_folder(NAME [LIBS ...] [CORE_LIBS ...] [TIMEOUT s])
# tests/NAME/core/*_test.cpp -> NAME_core_tests (native build only, under the
# sanitizers); tests/NAME/*_test.cpp -> NAME_tests (Windows build, under Wine).
# Other .cpp files in the folder (shared fixtures) are linked into NAME_tests.
function(vela_test_folder name)
  cmake_parse_arguments(F "" "TIMEOUT" "LIBS;CORE_LIBS" ${ARGN})
  if(NOT F_TIMEOUT)
    set(F_TIMEOUT 300)
  endif()
  if(WIN32)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
      vela_add_test(${name}_tests SOURCES ${sources} LIBS ${F_LIBS} TIMEOUT ${F_TIMEOUT})
    endif()
  else()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/core/*.cpp)
    if(sources)
      vela_add_test(${name}_core_tests SOURCES ${sources} LIBS ${F_CORE_LIBS} TIMEOUT ${F_TIMEOUT})
    endif()
  endif()
endfunction()
