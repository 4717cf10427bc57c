# Removes every file listed in an install manifest. Folders stay: the ones the install wrote into
# (bin/, share/applications/, the icon theme's) are shared with other programs.
#   cmake -DMANIFEST=<build>/install_manifest.txt -P uninstall.cmake
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} does not exist (run the install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(file ${installed})
  set(path "$ENV{DESTDIR}${file}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
    if(EXISTS "${path}")
      message(FATAL_ERROR "Cannot remove ${path}")
    endif()
  endif()
endforeach()
