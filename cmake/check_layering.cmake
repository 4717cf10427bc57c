# The layering rules a newcomer can rely on, stated as folder rules:
#   - Qt is included only under platform/qt/; the platform's interface headers, the runtime and the
#     application never include Qt, platform/qt/ or a *_qt.h header.
#   - Likewise Windows' headers only under platform/win32/, and nothing else includes platform/win32/.
#   - app/ includes nothing of the runtime but runtime/boundary/, and nothing of the platform.
#   - The lower layers of the runtime (boundary/, diagnostics/, form/, imaging/, files/) never include
#     the window core (runtime/windows/) or the components (runtime/components/).
set(offenders "")

set(qt_include "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]*[>\"/]")
set(qt_implementation_include "^[ \t]*#[ \t]*include[ \t]*\"platform/(qt/[^\"]*|[^\"]*_qt\\.h)\"")
set(windows_include "^[ \t]*#[ \t]*include[ \t]*[<\"]([Ww]indows|win[a-z0-9]*|commctrl|commdlg|objbase|ole2|shlwapi|shlobj)\\.h[>\"]")
set(win32_implementation_include "^[ \t]*#[ \t]*include[ \t]*\"platform/win32/")

file(GLOB_RECURSE outside_qt
     ${SOURCE_DIR}/runtime/*.cpp ${SOURCE_DIR}/runtime/*.h
     ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h)
foreach(file ${outside_qt})
  if(file MATCHES "/platform/qt/")
    continue()
  endif()
  file(STRINGS ${file} lines REGEX "${qt_include}")
  if(lines)
    list(APPEND offenders "${file}: includes Qt outside platform/qt/")
  endif()
  file(STRINGS ${file} lines REGEX "${qt_implementation_include}")
  foreach(line ${lines})
    list(APPEND offenders "${file}: ${line} (the Qt implementation is not part of the interface)")
  endforeach()
endforeach()

foreach(file ${outside_qt})
  if(file MATCHES "/platform/win32/")
    continue()
  endif()
  file(STRINGS ${file} lines REGEX "${windows_include}|${win32_implementation_include}")
  foreach(line ${lines})
    list(APPEND offenders "${file}: ${line} (Windows is reached only through platform/win32/)")
  endforeach()
endforeach()

file(GLOB_RECURSE app_sources ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h)
foreach(file ${app_sources})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(runtime|platform)/")
  foreach(line ${lines})
    if(NOT line MATCHES "\"runtime/boundary/[^\"/]+\"")
      list(APPEND offenders "${file}: ${line} (app/ sees only runtime/boundary/)")
    endif()
  endforeach()
endforeach()

foreach(lower boundary diagnostics form imaging files)
  file(GLOB_RECURSE lower_sources ${SOURCE_DIR}/runtime/${lower}/*.cpp ${SOURCE_DIR}/runtime/${lower}/*.h)
  foreach(file ${lower_sources})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"runtime/(windows|components)/")
    foreach(line ${lines})
      list(APPEND offenders "${file}: ${line} (runtime/${lower}/ must not reach up)")
    endforeach()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" report)
  message(FATAL_ERROR "Layering broken:\n${report}")
endif()
