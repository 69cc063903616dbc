# Every library the project uses is found here, once, and listed in the
# summary at the end of the configure step. What the program needs is
# required: a missing library stops the configure step with the Debian
# package that provides it (scripts/install-deps.sh installs them all),
# rather than building a program that quietly cannot speak or listen.
#
# Targets for the rest of the build:
#   Qt6::Core, Qt6::Gui, Qt6::Widgets, Qt6::Test
#   qv::x11, qv::sdl2, qv::sphinx (PocketSphinx with sphinxbase), qv::espeak   (not on Windows)
#   qv::sdl2_headers: SDL2's types and constants without its library, which
#     the programs load on first use (src/platform/linux/SdlLibrary.cpp)
#   qv::espeak_headers: the same for eSpeak NG (src/speech/Espeak.cpp)
#   GTest::gtest, GTest::gmock   (with QV_BUILD_TESTS)
#   benchmark::benchmark         (optional; QV_HAVE_BENCHMARK)
# and QV_SPHINX_MODELDIR, the folder of the recogniser's model.
include(FeatureSummary)

find_package(Qt6 6.4 COMPONENTS Core Gui Widgets Test)
set_package_properties(Qt6 PROPERTIES TYPE REQUIRED PURPOSE "the interface, text, files and the event loop")
if(NOT Qt6_FOUND)
  message(FATAL_ERROR "Quorvane needs Qt 6.4 or later (Debian packages qt6-base-dev and qt6-base-dev-tools).")
endif()
add_feature_info(qt ON "the interface, text, files and the event loop (Qt ${Qt6_VERSION})")

# A pkg-config module as an interface target. Only include folders that exist
# are kept: sphinxbase.pc names one that Debian does not ship.
function(qv_require_pkg name package purpose)
  pkg_check_modules(QV_PKG_${name} QUIET ${ARGN})
  if(NOT QV_PKG_${name}_FOUND)
    string(JOIN " or " modules ${ARGN})
    message(FATAL_ERROR "Quorvane needs ${purpose}, but pkg-config finds no ${modules}. "
                        "Install the Debian package ${package} (scripts/install-deps.sh installs everything).")
  endif()
  set(includes)
  foreach(dir IN LISTS QV_PKG_${name}_INCLUDE_DIRS)
    if(IS_DIRECTORY ${dir})
      list(APPEND includes ${dir})
    endif()
  endforeach()
  add_library(qv::${name} INTERFACE IMPORTED GLOBAL)
  set_target_properties(qv::${name} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${includes}"
    INTERFACE_LINK_LIBRARIES "${QV_PKG_${name}_LINK_LIBRARIES}"
    INTERFACE_COMPILE_OPTIONS "${QV_PKG_${name}_CFLAGS_OTHER}")
  string(JOIN ", " modules ${ARGN})
  add_feature_info(${name} ON "${purpose} (${modules})")
endfunction()

if(NOT WIN32)
  find_package(PkgConfig)
  if(NOT PkgConfig_FOUND)
    message(FATAL_ERROR "Quorvane finds its libraries with pkg-config (Debian package pkg-config).")
  endif()
  find_package(X11 QUIET)
  if(NOT X11_FOUND)
    message(FATAL_ERROR "Quorvane needs Xlib to find the simulator's and the runtime's windows (Debian package "
                        "libx11-dev).")
  endif()
  add_library(qv::x11 INTERFACE IMPORTED GLOBAL)
  target_link_libraries(qv::x11 INTERFACE X11::X11)
  add_feature_info(x11 ON "finding and closing the windows of the simulator and the runtime (Xlib)")
  qv_require_pkg(sdl2 libsdl2-dev "joysticks for the microphone switch and the microphone itself, loaded on first use"
                 sdl2)
  add_library(qv::sdl2_headers INTERFACE IMPORTED GLOBAL)
  set_target_properties(qv::sdl2_headers PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:qv::sdl2,INTERFACE_INCLUDE_DIRECTORIES>"
    INTERFACE_COMPILE_OPTIONS "$<TARGET_PROPERTY:qv::sdl2,INTERFACE_COMPILE_OPTIONS>"
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
  qv_require_pkg(sphinx "libpocketsphinx-dev and libsphinxbase-dev" "the grammar compiler and the recogniser"
                 pocketsphinx sphinxbase)
  qv_require_pkg(espeak libespeak-ng-dev "the copilot's voice, loaded on first use" espeak-ng)
  add_library(qv::espeak_headers INTERFACE IMPORTED GLOBAL)
  set_target_properties(qv::espeak_headers PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "$<TARGET_PROPERTY:qv::espeak,INTERFACE_INCLUDE_DIRECTORIES>"
    INTERFACE_COMPILE_OPTIONS "$<TARGET_PROPERTY:qv::espeak,INTERFACE_COMPILE_OPTIONS>"
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
  pkg_get_variable(QV_SPHINX_MODELDIR pocketsphinx modeldir)
  if(NOT IS_DIRECTORY "${QV_SPHINX_MODELDIR}/en-us")
    message(FATAL_ERROR "Quorvane needs the recogniser's US English model in ${QV_SPHINX_MODELDIR}/en-us "
                        "(Debian package pocketsphinx-en-us).")
  endif()
endif()

if(QV_BUILD_TESTS)
  find_package(GTest)
  if(NOT GTest_FOUND)
    message(FATAL_ERROR "The tests need GoogleTest (Debian packages libgtest-dev and libgmock-dev); "
                        "configure with -DQV_BUILD_TESTS=OFF to build without them.")
  endif()
  add_feature_info(tests ON "the test programs (GoogleTest)")
endif()
if(QV_BUILD_BENCH)
  find_package(benchmark QUIET)
  add_feature_info(benchmarks benchmark_FOUND "the benchmark programs in bench/ (Google Benchmark, optional)")
endif()
