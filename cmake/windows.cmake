# The Windows build (mingw-w64, see cmake/toolchain-mingw-*.cmake): no Qt, no libjpeg or libpng
# (the system's codecs decode JPEG and PNG), GoogleTest built from its sources with the same
# compiler, and the generators the build runs built for the host.

# Windows' own libraries the platform's Win32 implementation calls.
set(CERTMAKER_WINDOWS_LIBRARIES
    user32 gdi32 comctl32 comdlg32 msimg32 imm32 winmm shell32 shlwapi ole32 oleaut32 windowscodecs uuid)

# Build-time generators run on the machine that builds. Either a folder where they were built
# already (CERTMAKER_HOST_TOOLS), or they are built here, with the host's compiler, into host-tools/.
if(CMAKE_CROSSCOMPILING)
  set(CERTMAKER_HOST_TOOLS "" CACHE PATH
      "Folder holding the host's formgen; empty builds it into <build>/host-tools with the host compiler")
  if(CERTMAKER_HOST_TOOLS)
    set(host_formgen ${CERTMAKER_HOST_TOOLS}/formgen)
  else()
    include(ExternalProject)
    set(host_build ${CMAKE_BINARY_DIR}/host-tools)
    set(host_formgen ${host_build}/bin/formgen)
    # The host build does not see the toolchain file; a compiler launcher (ccache) given in the
    # environment applies to it as well.
    ExternalProject_Add(certmaker_host_tools
      SOURCE_DIR ${PROJECT_SOURCE_DIR}
      BINARY_DIR ${host_build}
      CMAKE_ARGS -DCERTMAKER_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
                 -DCERTMAKER_WERROR=${CERTMAKER_WERROR}
      BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_build} --target formgen
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${host_formgen}
      USES_TERMINAL_BUILD ON)
  endif()
  add_executable(formgen IMPORTED GLOBAL)
  set_target_properties(formgen PROPERTIES IMPORTED_LOCATION ${host_formgen})
  if(TARGET certmaker_host_tools)
    add_dependencies(formgen certmaker_host_tools)
  endif()

  # Tests (and their discovery) run through Wine: scripts/wine-run.sh picks the loader for the
  # program's word size and keeps its Wine prefix in this build folder.
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  endif()
endif()

# GoogleTest and GoogleMock from the sources Debian ships (libgtest-dev), compiled by the cross
# compiler; they are third-party code, so warnings there never fail our build.
set(CERTMAKER_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${CERTMAKER_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(library gtest gtest_main gmock gmock_main)
  target_compile_options(${library} PRIVATE -w)
endforeach()
# GoogleTest's own build names them GTest::gtest and GTest::gmock, as the installed package does.
foreach(library gtest gmock)
  if(NOT TARGET GTest::${library})
    add_library(GTest::${library} ALIAS ${library})
  endif()
endforeach()
