# Every executable follows the same command-line conventions: --help prints its usage on standard
# output in one screen and exits 0, --version prints "NAME VERSION" and exits 0, and an unknown
# option prints the usage on standard error only and exits 2.
#   cmake -DBIN_DIR=<build>/bin -DVERSION=<project version> -P command_line_test.cmake

set(programs certmaker certmaker-drive formdump picdecode formgen template_maker icon_maker)
set(failures "")
foreach(program ${programs})
  set(path ${BIN_DIR}/${program})
  # No display is needed to answer either question.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=none
                          ${path} --help
                  RESULT_VARIABLE status OUTPUT_VARIABLE help ERROR_VARIABLE help_errors)
  string(REGEX MATCHALL "\n" lines "${help}")
  list(LENGTH lines line_count)
  string(REGEX MATCH "[^\n]{81,}" long_line "${help}")
  if(NOT status EQUAL 0 OR NOT help MATCHES "^usage: ${program}" OR NOT help_errors STREQUAL "")
    list(APPEND failures "${program} --help: status ${status}, output '${help}${help_errors}'")
  elseif(line_count GREATER 24 OR long_line)
    list(APPEND failures "${program} --help does not fit one screen (${line_count} lines) ${long_line}")
  endif()

  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=none
                          ${path} --version
                  RESULT_VARIABLE status OUTPUT_VARIABLE version ERROR_VARIABLE version_errors)
  if(NOT status EQUAL 0 OR NOT version STREQUAL "${program} ${VERSION}\n" OR NOT version_errors STREQUAL "")
    list(APPEND failures "${program} --version: status ${status}, output '${version}${version_errors}'")
  endif()

  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=none
                          ${path} --no-such-option
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 2 OR NOT output STREQUAL "" OR NOT errors MATCHES "^usage: ${program}")
    list(APPEND failures "${program} --no-such-option: status ${status}, stdout '${output}', stderr '${errors}'")
  endif()
endforeach()

if(failures)
  string(REPLACE ";" "\n" failures "${failures}")
  message(FATAL_ERROR "${failures}")
endif()
