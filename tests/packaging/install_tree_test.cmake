# `make install DESTDIR=...` lays out exactly the tree below, the menu entry and the metainfo pass
# their validators and agree with each other, every icon is the size its folder says, a package
# build leaves the uninstall list alone, and the uninstall removes every file again.
#   cmake -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -DAPP_ID=<metainfo id> -P install_tree_test.cmake

set(expected_files
  usr/bin/certmaker
  usr/bin/certmaker-drive
  usr/bin/formdump
  usr/bin/picdecode
  usr/share/applications/certmaker.desktop
  usr/share/icons/hicolor/128x128/apps/certmaker.png
  usr/share/icons/hicolor/16x16/apps/certmaker.png
  usr/share/icons/hicolor/24x24/apps/certmaker.png
  usr/share/icons/hicolor/256x256/apps/certmaker.png
  usr/share/icons/hicolor/32x32/apps/certmaker.png
  usr/share/icons/hicolor/48x48/apps/certmaker.png
  usr/share/icons/hicolor/64x64/apps/certmaker.png
  usr/share/man/man1/certmaker-drive.1
  usr/share/man/man1/certmaker.1
  usr/share/man/man1/formdump.1
  usr/share/man/man1/picdecode.1
  usr/share/metainfo/${APP_ID}.metainfo.xml)

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

# A test install must not replace the file list of a real one in the same build folder.
set(manifest ${BUILD_DIR}/installed_files.txt)
if(EXISTS ${manifest})
  file(COPY_FILE ${manifest} ${WORK_DIR}.manifest-kept)
endif()
function(restore_manifest)
  if(EXISTS ${WORK_DIR}.manifest-kept)
    file(RENAME ${WORK_DIR}.manifest-kept ${manifest})
  else()
    file(REMOVE ${manifest})
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(root ${WORK_DIR}/root)
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  restore_manifest()
  fail("install failed: ${errors}")
endif()
file(COPY_FILE ${manifest} ${WORK_DIR}/installed_files.txt)
restore_manifest()

# --- The tree, exactly.
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT installed)
list(SORT expected_files)
if(NOT installed STREQUAL expected_files)
  set(missing ${expected_files})
  list(REMOVE_ITEM missing ${installed})
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected_files})
  fail("installed tree differs\n  missing: ${missing}\n  not expected: ${extra}")
endif()

# --- Validators.
execute_process(COMMAND desktop-file-validate ${root}/usr/share/applications/certmaker.desktop
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0 OR NOT output STREQUAL "")
  fail("desktop-file-validate: ${output}")
endif()
execute_process(COMMAND appstreamcli validate --no-net --pedantic ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  fail("appstreamcli validate: ${output}")
endif()

# --- The menu entry, the metainfo and the files they name agree.
file(READ ${root}/usr/share/applications/certmaker.desktop desktop)
foreach(line "Name=证书制作器" "Exec=certmaker" "Icon=certmaker" "Categories=Graphics;")
  if(NOT desktop MATCHES "\n${line}\n")
    fail("the menu entry lacks ${line}")
  endif()
endforeach()
if(NOT desktop MATCHES "\nName\\[en\\]=[^\n]+\n" OR NOT desktop MATCHES "\nComment=[^\n]+\n")
  fail("the menu entry lacks an English name or a comment")
endif()
file(READ ${root}/usr/share/metainfo/${APP_ID}.metainfo.xml metainfo)
foreach(fragment "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">certmaker.desktop</launchable>"
                 "<icon type=\"stock\">certmaker</icon>" "main_window.png</image>")
  string(FIND "${metainfo}" "${fragment}" at)
  if(at EQUAL -1)
    fail("the metainfo lacks ${fragment}")
  endif()
endforeach()

# --- Each icon is a PNG of the size its folder names (the IHDR width and height).
foreach(file ${installed})
  if(file MATCHES "hicolor/([0-9]+)x([0-9]+)/apps/certmaker\\.png$")
    math(EXPR size_hex "${CMAKE_MATCH_1}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${size_hex}" 2 -1 digits)
    string(LENGTH "${digits}" length)
    math(EXPR padding "8 - ${length}")
    string(REPEAT "0" ${padding} zeros)
    file(READ ${root}/${file} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 16 dimensions)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT dimensions STREQUAL "${zeros}${digits}${zeros}${digits}")
      fail("${file} is not a ${CMAKE_MATCH_1}x${CMAKE_MATCH_1} PNG (header ${header})")
    endif()
  endif()
endforeach()

# --- A package build does not touch the list an uninstall works from (it installs into a staging
# folder of its own), and the uninstall removes every file.
set(list_before "none")
if(EXISTS ${manifest})
  file(READ ${manifest} list_before)
endif()
execute_process(COMMAND cpack -G DEB -B ${WORK_DIR}/package WORKING_DIRECTORY ${BUILD_DIR}
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
set(list_after "none")
if(EXISTS ${manifest})
  file(READ ${manifest} list_after)
endif()
if(NOT status EQUAL 0 OR NOT list_after STREQUAL list_before)
  fail("packaging failed or changed the uninstall list (${status}): ${errors}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND}
                        -DMANIFEST=${WORK_DIR}/installed_files.txt -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/uninstall.cmake
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
file(GLOB_RECURSE left LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
if(NOT status EQUAL 0 OR left)
  fail("uninstall left: ${left} ${errors}")
endif()
