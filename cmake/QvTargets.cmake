# Source lists are gathered per folder so that a new file joins its target
# without editing the build; the layer of a file follows from its folder and
# from its name (screens start with "frm_").

function(qv_glob out)
  file(GLOB _files CONFIGURE_DEPENDS ${ARGN})
  list(SORT _files)
  set(${out} ${_files} PARENT_SCOPE)
endfunction()
