# The Windows-only sources cannot be built here, but they can be compiled:
# each one is checked with mingw-w64 as a test of its own (label "windows"),
# so that the Windows build does not rot unseen.
find_program(QV_MINGW_CXX x86_64-w64-mingw32-g++)
qv_glob(QV_WINDOWS_SOURCES
  ${PROJECT_SOURCE_DIR}/src/base/win/*.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/win/*.cpp
  ${PROJECT_SOURCE_DIR}/src/speech/win/*.cpp)

if(NOT QV_MINGW_CXX)
  add_test(NAME windows_compiler_missing
           COMMAND ${CMAKE_COMMAND} -E echo "x86_64-w64-mingw32-g++ not found (scripts/install-deps.sh installs it)")
  set_tests_properties(windows_compiler_missing PROPERTIES LABELS windows SKIP_REGULAR_EXPRESSION "not found")
  return()
endif()

# Qt's headers are platform-neutral enough to be read for Windows.
set(QV_WINDOWS_INCLUDES -I${PROJECT_SOURCE_DIR}/src)
foreach(module Core Gui Widgets)
  get_target_property(dirs Qt6::${module} INTERFACE_INCLUDE_DIRECTORIES)
  foreach(d IN LISTS dirs)
    if(NOT d MATCHES "mkspecs" AND NOT "-I${d}" IN_LIST QV_WINDOWS_INCLUDES)
      list(APPEND QV_WINDOWS_INCLUDES -I${d})
    endif()
  endforeach()
endforeach()

foreach(f IN LISTS QV_WINDOWS_SOURCES)
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${f})
  string(REGEX REPLACE "[/.]" "_" name ${rel})
  add_test(NAME windows_${name}
           COMMAND ${QV_MINGW_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Wno-attributes
                   -DUNICODE -D_UNICODE -DWIN32 -DQV_VERSION="${PROJECT_VERSION}"
                   ${QV_WINDOWS_INCLUDES} ${f})
  set_tests_properties(windows_${name} PROPERTIES LABELS windows)
endforeach()
