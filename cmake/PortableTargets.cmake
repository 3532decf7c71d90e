# Portable targets hold the code every build shares. They reach the platform only through the
# interfaces of host/, and the build holds them to it: a portable target is compiled against a
# poisoned copy of every platform header, ours and the system's, so that including one stops the
# build with a message saying why, and it may link only other portable targets.

# The folders whose code is written for one platform.
set(SCRIVLET_PLATFORM_FOLDERS platform host/win32 dialog/win32 addin/win32 cli/posix cli/win32 packaging/win32)
# System headers that belong to one platform. <unistd.h> is missing: the C++ library includes it.
set(SCRIVLET_PLATFORM_SYSTEM_HEADERS
  windows.h windef.h winbase.h winuser.h winreg.h winnls.h objbase.h ole2.h oleauto.h oaidl.h ocidl.h olectl.h
  commctrl.h shlwapi.h fcntl.h iconv.h langinfo.h pwd.h dirent.h sys/stat.h sys/file.h sys/mman.h sys/uio.h
  sys/xattr.h sys/acl.h)

set(SCRIVLET_PORTABLE_GUARD ${PROJECT_BINARY_DIR}/portable-guard)
file(REMOVE_RECURSE ${SCRIVLET_PORTABLE_GUARD})
foreach(folder IN LISTS SCRIVLET_PLATFORM_FOLDERS)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  foreach(header IN LISTS headers)
    file(WRITE ${SCRIVLET_PORTABLE_GUARD}/${header}
         "#error \"${header} is platform code: a portable target reaches the platform through host/\"\n")
  endforeach()
endforeach()
foreach(header IN LISTS SCRIVLET_PLATFORM_SYSTEM_HEADERS)
  file(WRITE ${SCRIVLET_PORTABLE_GUARD}/${header}
       "#error \"<${header}> belongs to one platform: a portable target reaches the platform through host/\"\n")
endforeach()

# Marks `target` portable: its own sources see the poisoned headers first.
function(scrivlet_portable target)
  target_include_directories(${target} BEFORE PRIVATE ${SCRIVLET_PORTABLE_GUARD})
  set_property(GLOBAL APPEND PROPERTY SCRIVLET_PORTABLE_TARGETS ${target})
endfunction()

# Fails the configuration when a portable target links a target that is not portable. Call it once
# every target is defined.
function(scrivlet_check_portable_links)
  get_property(portable GLOBAL PROPERTY SCRIVLET_PORTABLE_TARGETS)
  foreach(target IN LISTS portable)
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(TARGET ${link} AND NOT link IN_LIST portable AND NOT link MATCHES "^(scrivlet_warnings|CLI11::CLI11)$")
        message(FATAL_ERROR "The portable target ${target} links ${link}, which is platform code.")
      endif()
    endforeach()
  endforeach()
endfunction()
