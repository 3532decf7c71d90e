# Fails when a DLL exports anything but the names allowed, read from the export table of the linked
# file (objdump -p), not from the .def file: an export that a source adds with __declspec(dllexport),
# or one by ordinal alone, shows there too. On success it writes STAMP, so that a failed check runs
# again at the next build instead of passing for a DLL that has not changed.
# cmake -DOBJDUMP=... -DDLL=... -DALLOWED="name;name" -DSTAMP=... -P CheckExports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed (${status})")
endif()
string(REPLACE "\n" ";" lines "${dump}")

# The export address table holds every export, named or not; the name pointer table, the named ones.
set(section "")
set(addresses 0)
set(names "")
foreach(line IN LISTS lines)
  if(line MATCHES "^Export Address Table")
    set(section addresses)
  elseif(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(section names)
  elseif(line MATCHES "^[ \t]*$")
    set(section "")
  elseif(section STREQUAL "addresses" AND line MATCHES "^[ \t]+\\[ *[0-9]+\\]")
    math(EXPR addresses "${addresses} + 1")
  elseif(section STREQUAL "names" AND line MATCHES "^[ \t]+\\[ *[0-9]+\\] (.+)$")
    list(APPEND names "${CMAKE_MATCH_1}")
  endif()
endforeach()

set(unexpected "")
foreach(name IN LISTS names)
  if(NOT name IN_LIST ALLOWED)
    list(APPEND unexpected "${name}")
  endif()
endforeach()
list(LENGTH names named)
if(unexpected OR NOT addresses EQUAL named)
  math(EXPR unnamed "${addresses} - ${named}")
  message(FATAL_ERROR "${DLL} exports more than its entry points (${ALLOWED}): "
                      "${unexpected} and ${unnamed} export(s) by ordinal alone")
endif()
foreach(name IN LISTS ALLOWED)
  if(NOT name IN_LIST names)
    message(FATAL_ERROR "${DLL} does not export ${name}")
  endif()
endforeach()
file(TOUCH ${STAMP})
