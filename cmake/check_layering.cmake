# The layering rules a newcomer can rely on: only platform/ includes Qt, and app/ sees nothing of
# the runtime but its public boundary (values.h, entry_table.h, commands.h) and nothing of the
# platform.
file(GLOB_RECURSE sources ${SOURCE_DIR}/runtime/*.cpp ${SOURCE_DIR}/runtime/*.h ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h)
set(offenders "")
foreach(file ${sources})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]*[>\"/]")
  if(lines)
    list(APPEND offenders "${file}: includes Qt")
  endif()
endforeach()

file(GLOB_RECURSE app_sources ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h)
foreach(file ${app_sources})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(runtime|platform)/")
  foreach(line ${lines})
    if(NOT line MATCHES "\"runtime/(values|entry_table|commands)\\.h\"")
      list(APPEND offenders "${file}: ${line}")
    endif()
  endforeach()
endforeach()

if(offenders)
  message(FATAL_ERROR "Layering broken:\n${offenders}")
endif()
