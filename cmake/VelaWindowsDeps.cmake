# Imported targets for the mingw builds that scripts/deps.sh leaves in VELA_DEPS_PREFIX.
if(NOT VELA_DEPS_PREFIX)
  set(VELA_DEPS_PREFIX "$ENV{HOME}/.cache/vela/mingw64")
endif()
set(VELA_DEPS_PREFIX "${VELA_DEPS_PREFIX}" CACHE PATH "mingw prefix with FFmpeg, TinyXML, GoogleTest")
if(NOT EXISTS ${VELA_DEPS_PREFIX}/lib/libtinyxml.a)
  message(FATAL_ERROR "Dependencies not found in ${VELA_DEPS_PREFIX}: run scripts/deps.sh first")
endif()

add_library(vela::tinyxml STATIC IMPORTED GLOBAL)
set_target_properties(vela::tinyxml PROPERTIES
  IMPORTED_LOCATION ${VELA_DEPS_PREFIX}/lib/libtinyxml.a
  INTERFACE_INCLUDE_DIRECTORIES ${VELA_DEPS_PREFIX}/include
  INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)

# FFmpeg, static: order matters for the linker (swscale and avcodec need avutil).
foreach(lib swscale avcodec avutil)
  add_library(vela::${lib} STATIC IMPORTED GLOBAL)
  set_target_properties(vela::${lib} PROPERTIES
    IMPORTED_LOCATION ${VELA_DEPS_PREFIX}/lib/lib${lib}.a
    INTERFACE_INCLUDE_DIRECTORIES ${VELA_DEPS_PREFIX}/include)
endforeach()
add_library(vela::ffmpeg INTERFACE IMPORTED GLOBAL)
set_target_properties(vela::ffmpeg PROPERTIES
  INTERFACE_LINK_LIBRARIES "vela::swscale;vela::avcodec;vela::avutil;bcrypt")

# Run Windows executables (tests, benchmarks) under the project's Wine runner.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh CACHE FILEPATH "" FORCE)
