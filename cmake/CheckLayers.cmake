# Fails when a source file includes a header of a layer above its own.
# Usage: cmake -DSRC_DIR=<src folder> -P CheckLayers.cmake
#
# The layers, lowest first; a file's layer is the first folder of its path
# below SRC_DIR, and so is the layer of every project header it includes.
set(QV_LAYERS base platform data core speech gui app)

if(NOT SRC_DIR)
  message(FATAL_ERROR "SRC_DIR is not set")
endif()

file(GLOB_RECURSE files RELATIVE ${SRC_DIR} ${SRC_DIR}/*.h ${SRC_DIR}/*.cpp)
list(SORT files)
set(violations 0)
foreach(f IN LISTS files)
  string(REGEX MATCH "^[^/]+" own "${f}")
  list(FIND QV_LAYERS "${own}" own_rank)
  if(own_rank EQUAL -1)
    message(SEND_ERROR "${f}: folder '${own}' is not a layer (${QV_LAYERS})")
    math(EXPR violations "${violations} + 1")
    continue()
  endif()
  file(STRINGS ${SRC_DIR}/${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" layer "${header}")
    list(FIND QV_LAYERS "${layer}" rank)
    if(rank GREATER own_rank)
      message(SEND_ERROR "${f}: a ${own} file includes \"${header}\" from ${layer}, a higher layer")
      math(EXPR violations "${violations} + 1")
    endif()
  endforeach()
endforeach()
list(LENGTH files count)
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) against the layer order in ${count} files")
endif()
message(STATUS "Layer order kept in ${count} files")
