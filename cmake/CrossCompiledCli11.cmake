# CLI11 for a cross-compiled build. CLI11 is headers only, the same for every target, but Debian installs
# it for the build machine alone, in /usr/include beside that machine's C library: the cross compiler
# must not search there. A copy of just its headers, in the build tree, is the target CLI11::CLI11.
find_path(SCRIVLET_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT SCRIVLET_CLI11_HEADERS)
  message(FATAL_ERROR "CLI11 is missing: install libcli11-dev (scripts/install-deps does)")
endif()
set(scrivlet_cli11_copy ${PROJECT_BINARY_DIR}/cli11)
file(COPY ${SCRIVLET_CLI11_HEADERS}/CLI DESTINATION ${scrivlet_cli11_copy})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${scrivlet_cli11_copy})
