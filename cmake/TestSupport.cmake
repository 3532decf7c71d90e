# Test support (testing/) is for the tests, the benchmarks and the fuzz target: nothing that ships may
# reach it, and the build holds every other target to that as it holds portable targets off the
# platform. Each is compiled against a poisoned copy of every header under testing/, so that including
# one stops the build with a message saying why, and configuring fails when one links a test-support
# target, directly or through the libraries it links.

# The folders whose targets do not ship.
set(SCRIVLET_TEST_FOLDERS testing tests bench fuzz)

set(SCRIVLET_TEST_GUARD ${PROJECT_BINARY_DIR}/test-guard)
file(REMOVE_RECURSE ${SCRIVLET_TEST_GUARD})
file(GLOB_RECURSE scrivlet_test_headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/testing/*.h)
foreach(header IN LISTS scrivlet_test_headers)
  file(WRITE ${SCRIVLET_TEST_GUARD}/${header}
       "#error \"${header} is test support: nothing that ships may include it\"\n")
endforeach()

# Marks `target` as test support.
function(scrivlet_test_support target)
  set_property(GLOBAL APPEND PROPERTY SCRIVLET_TEST_SUPPORT_TARGETS ${target})
endfunction()

# Every target defined in `dir` and the folders under it, into `out`.
function(_scrivlet_targets_in dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _scrivlet_targets_in(${subdir} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The first test-support target that `target` links, directly or through the targets it links, into
# `out` (empty when there is none).
function(_scrivlet_linked_test_support target out)
  get_property(support GLOBAL PROPERTY SCRIVLET_TEST_SUPPORT_TARGETS)
  set(queue ${target})
  set(seen)
  while(queue)
    list(POP_FRONT queue current)
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      set(current ${aliased})
    endif()
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(current IN_LIST support)
      set(${out} ${current} PARENT_SCOPE)
      return()
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(links ${current} ${property})
      foreach(link IN LISTS links)
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
        if(TARGET ${link})
          list(APPEND queue ${link})
        endif()
      endforeach()
    endforeach()
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

# Poisons the test-support headers for every target outside the test folders, and fails the
# configuration when one of them links test support. Call it once every target is defined.
function(scrivlet_check_shipping_targets)
  _scrivlet_targets_in(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${dir})
    string(REGEX REPLACE "/.*" "" top "${folder}")
    if(top IN_LIST SCRIVLET_TEST_FOLDERS OR top STREQUAL "..")
      continue()  # test code, or another project's (GoogleTest built from its sources)
    endif()
    _scrivlet_linked_test_support(${target} linked)
    if(linked)
      message(FATAL_ERROR "${target} ships, and links ${linked}, which is test support.")
    endif()
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
      target_include_directories(${target} BEFORE PRIVATE ${SCRIVLET_TEST_GUARD})
    endif()
  endforeach()
endfunction()
