# The Windows tests as CTest runs them under Wine, in one prefix, one at a time and in the order written
# here: first what needs no registration, then the DLL registered machine-wide, beside another add-in,
# and per user, each registration a fixture whose cleanup unregisters it even when a test failed. Each
# test has a time-out, so that a window or message box nobody answers fails the test in seconds.
# With SCRIVLET_WIN32_BUILD (the 64-bit preset sets it to the 32-bit build), the 64-bit tests register
# the 32-bit DLL beside the 64-bit one, as on 64-bit Windows, and check that each bitness's registration
# and unregistration leaves the other's whole.

set(SCRIVLET_REGISTRY_TABLE ${PROJECT_SOURCE_DIR}/build/default/packaging/generated/registry.txt
    CACHE FILEPATH "The registry table as text, written by the default build's scrivlet_registry_rows")
set(SCRIVLET_WIN32_BUILD "" CACHE PATH "The 32-bit Windows build, whose DLL the 64-bit tests register beside theirs")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(bits 64)
else()
  set(bits 32)
endif()

# The Windows path of a file, as Wine's Z: drive shows the Unix file system.
function(scrivlet_windows_path out path)
  string(REPLACE "/" "\\" windows "${path}")
  set(${out} "Z:${windows}" PARENT_SCOPE)
endfunction()

scrivlet_windows_path(dll ${PROJECT_BINARY_DIR}/addin/win32/Scrivlet.dll)
set(shots ${PROJECT_BINARY_DIR}/screenshots)
file(MAKE_DIRECTORY ${shots})
scrivlet_windows_path(shots_windows ${shots})
set(logs ${PROJECT_BINARY_DIR}/wine-tests)
file(MAKE_DIRECTORY ${logs})
set(steps bash ${CMAKE_CURRENT_SOURCE_DIR}/wine_steps.sh)

set(both OFF)
set(dlls ${dll})
if(bits EQUAL 64 AND SCRIVLET_WIN32_BUILD)
  set(both ON)
  scrivlet_windows_path(dll32 ${SCRIVLET_WIN32_BUILD}/addin/win32/Scrivlet.dll)
  set(tests32 ${SCRIVLET_WIN32_BUILD}/tests/win32)
  # The 32-bit DLL first, as regsvr32 is run on both on 64-bit Windows.
  set(dlls ${dll32} ${dll})
endif()

# scrivlet_wine_test(NAME COMMAND... [TIMEOUT s] [SETUP f] [CLEANUP f] [REQUIRES f...])
# Each test runs after the one written before it.
set_property(GLOBAL PROPERTY scrivlet_previous_wine_test "")
function(scrivlet_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT;SETUP;CLEANUP" "COMMAND;REQUIRES")
  add_test(NAME ${name} COMMAND ${arg_COMMAND})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 30)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${arg_TIMEOUT}
    ENVIRONMENT "SCRIVLET_REGISTRY_TABLE=${SCRIVLET_REGISTRY_TABLE};LC_ALL=en_US.UTF-8")
  get_property(previous GLOBAL PROPERTY scrivlet_previous_wine_test)
  if(previous)
    set_tests_properties(${name} PROPERTIES DEPENDS ${previous})
  endif()
  if(arg_SETUP)
    set_tests_properties(${name} PROPERTIES FIXTURES_SETUP ${arg_SETUP})
  endif()
  if(arg_CLEANUP)
    set_tests_properties(${name} PROPERTIES FIXTURES_CLEANUP ${arg_CLEANUP})
  endif()
  if(arg_REQUIRES)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_REQUIRES}")
  endif()
  set_property(GLOBAL PROPERTY scrivlet_previous_wine_test ${name})
endfunction()

# --- Without registration: the platform, the IDE's objects, the window, the command line, DllInstall ---
scrivlet_wine_test(host_win32_tests COMMAND host_win32_tests)
scrivlet_wine_test(ide_adapter_tests COMMAND ide_adapter_tests)
# The dialog's window; the screenshots go to build/<preset>/screenshots.
scrivlet_wine_test(dialog_view_tests COMMAND dialog_view_tests ${shots_windows})
if(TARGET cli_win32_tests)
  scrivlet_wine_test(cli_win32_tests COMMAND cli_win32_tests TIMEOUT 60)
endif()
scrivlet_wine_test(registration_tests.unregistered COMMAND registration_tests unregistered)
scrivlet_wine_test(registration_tests.install COMMAND registration_tests install ${dll})

# Checks of a registration of this bitness, and with both, of the 32-bit one beside it: every key and
# value under our keys by the test program, and (but for a registration made again, which the program
# checks alone) each of the table's values read back by reg. `scope` is machine or user.
function(scrivlet_registered_tests scope suffix fixture)
  scrivlet_wine_test(registration_tests.${scope}${suffix} COMMAND registration_tests registered ${scope} ${dll}
    REQUIRES ${fixture})
  if(NOT suffix)
    scrivlet_wine_test(registry_table.${scope} COMMAND ${steps} table ${scope} ${bits} ${dll} REQUIRES ${fixture})
  endif()
  if(both)
    scrivlet_wine_test(registration_tests.${scope}${suffix}_32
      COMMAND wine ${tests32}/registration_tests.exe registered ${scope} ${dll32} REQUIRES ${fixture})
    if(NOT suffix)
      scrivlet_wine_test(registry_table.${scope}_32 COMMAND ${steps} table ${scope} 32 ${dll32} REQUIRES ${fixture})
    endif()
  endif()
endfunction()

# The hosts, each reading its own list and creating the DLL of its bitness.
function(scrivlet_host_tests scope fixture)
  if(bits EQUAL 32)
    set(hosts vb6 vba)
  else()
    set(hosts vba)
  endif()
  foreach(host IN LISTS hosts)
    scrivlet_wine_test(addin_host_tests.${host}_${scope} COMMAND addin_host_tests ${host} ${scope} ${dll}
      REQUIRES ${fixture})
  endforeach()
endfunction()

# Once nothing is registered: nothing of ours is left, of either bitness.
function(scrivlet_unregistered_tests name)
  scrivlet_wine_test(registration_tests.${name} COMMAND registration_tests unregistered ${ARGN})
  if(both)
    scrivlet_wine_test(registration_tests.${name}_32 COMMAND wine ${tests32}/registration_tests.exe unregistered ${ARGN})
  endif()
endfunction()

# --- Machine-wide --------------------------------------------------------------------------------------
scrivlet_wine_test(regsvr32.machine COMMAND ${steps} register - ${dlls} SETUP machine)
scrivlet_registered_tests(machine "" machine)
scrivlet_wine_test(com_server_tests COMMAND com_server_tests ${dll} REQUIRES machine)
scrivlet_host_tests(machine machine)
# Registering twice is harmless.
scrivlet_wine_test(regsvr32.machine_again COMMAND ${steps} register - ${dlls} REQUIRES machine)
scrivlet_registered_tests(machine _again machine)
if(both)
  # Unregistering one bitness leaves the other whole.
  scrivlet_wine_test(regsvr32.machine_unregister_32 COMMAND ${steps} register /u ${dll32} REQUIRES machine)
  scrivlet_wine_test(registration_tests.machine_alone COMMAND registration_tests registered machine ${dll}
    REQUIRES machine)
endif()
scrivlet_wine_test(regsvr32.machine_unregister COMMAND ${steps} register /u ${dlls} CLEANUP machine)
scrivlet_unregistered_tests(after_machine)

# --- Beside another add-in: its entry stays in every list, and so do the keys above it ----------------
scrivlet_wine_test(regsvr32.neighbour COMMAND ${steps} register - ${dlls} SETUP neighbour)
scrivlet_wine_test(neighbours COMMAND ${steps} neighbours REQUIRES neighbour)
scrivlet_wine_test(regsvr32.neighbour_unregister COMMAND ${steps} register /u ${dlls} CLEANUP neighbour)
scrivlet_unregistered_tests(beside_neighbour beside-neighbour)
scrivlet_wine_test(forget_hosts COMMAND ${steps} forget-hosts)
scrivlet_wine_test(regsvr32.unregister_nothing COMMAND ${steps} register /u ${dlls})
scrivlet_wine_test(registration_tests.after_nothing COMMAND registration_tests unregistered)

# --- Per user, without administrator rights ------------------------------------------------------------
# 64-bit Windows keeps the per-user classes (CLSID, Interface) of 32-bit and 64-bit programs apart
# (HKCU\Software\Classes\Wow6432Node). Wine redirects a key's subkeys for 32-bit programs only once the
# key has a Wow6432Node subkey: the prefix gets one, so that the two DLLs' classes land apart as on
# Windows. (Wine then keeps one ProgID and one TypeLib key per bitness where Windows shares them; the
# DLL's registration is right for both.)
scrivlet_wine_test(classes_apart COMMAND ${steps} classes-apart)
scrivlet_wine_test(hklm_before_user COMMAND ${steps} snapshot ${logs}/machine-before.reg SETUP hklm)
scrivlet_wine_test(regsvr32.machine_refused COMMAND ${steps} refused "/n /i:machine" ${dll})
scrivlet_wine_test(registration_tests.after_refusal COMMAND registration_tests unregistered)
scrivlet_wine_test(regsvr32.user COMMAND ${steps} register "/n /i:user" ${dlls} SETUP user REQUIRES hklm)
scrivlet_registered_tests(user "" user)
scrivlet_wine_test(hklm_unchanged_by_user COMMAND ${steps} unchanged ${logs}/machine-before.reg REQUIRES hklm user)
scrivlet_host_tests(user user)
if(both)
  scrivlet_wine_test(regsvr32.user_unregister_32 COMMAND ${steps} register "/u /n /i:user" ${dll32} REQUIRES user)
  scrivlet_wine_test(registration_tests.user_alone COMMAND registration_tests registered user ${dll} REQUIRES user)
endif()
scrivlet_wine_test(regsvr32.user_unregister COMMAND ${steps} register "/u /n /i:user" ${dlls} CLEANUP user)
scrivlet_unregistered_tests(after_user)
scrivlet_wine_test(hklm_unchanged_after_user COMMAND ${steps} unchanged ${logs}/machine-before.reg REQUIRES hklm)
