# The product's version, read from the file VERSION at the top of the source tree: the one place it is
# written. The DLL's version resource, `scrivlet --version` and the packages (scripts/package) take it
# from there. The type library keeps its own version (1.0): it versions the published interfaces, which
# have not changed.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../VERSION SCRIVLET_VERSION LIMIT_COUNT 1)
if(NOT SCRIVLET_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "VERSION: \"${SCRIVLET_VERSION}\" is not MAJOR.MINOR.PATCH")
endif()
set(SCRIVLET_VERSION_MAJOR ${CMAKE_MATCH_1})
set(SCRIVLET_VERSION_MINOR ${CMAKE_MATCH_2})
set(SCRIVLET_VERSION_PATCH ${CMAKE_MATCH_3})

# A header for C++ and for the resource compiler: SCRIVLET_VERSION "1.2.3", SCRIVLET_VERSION_NUMBERS 1,2,3,0.
function(scrivlet_add_version_target)
  set(folder ${CMAKE_BINARY_DIR}/generated/version)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/scrivlet_version.h.in ${folder}/scrivlet_version.h @ONLY)
  add_library(scrivlet_version INTERFACE)
  target_include_directories(scrivlet_version INTERFACE ${folder})
  # A header of two macros: portable, whatever links it.
  set_property(GLOBAL APPEND PROPERTY SCRIVLET_PORTABLE_TARGETS scrivlet_version)
endfunction()
