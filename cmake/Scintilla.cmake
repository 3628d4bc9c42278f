# Scintilla 5 as a static library, built from a source tree that is never
# committed: SCINTILLA_SOURCE_DIR when given, else the distribution's source
# package on Debian-family hosts, else the pinned official release archive.

set(SCINTILLA_SOURCE_DIR "" CACHE PATH "Folder holding Scintilla 5 (its include/, src/, win32/)")

set(QUILLPANE_SCINTILLA_ARCHIVE_URL "https://www.scintilla.org/scite533.tgz")
set(QUILLPANE_SCINTILLA_ARCHIVE_SHA256 "79275a4a7e01bf429ff05e0fd699b79dc016d705335b393905b4f2cc43799a64")

if(NOT SCINTILLA_SOURCE_DIR)
  set(_deps "${CMAKE_SOURCE_DIR}/build/deps")
  if(EXISTS /etc/debian_version AND CMAKE_HOST_UNIX)
    execute_process(
      COMMAND "${CMAKE_SOURCE_DIR}/tools/fetch-scintilla.sh" "${_deps}"
      RESULT_VARIABLE _fetch_result)
    if(NOT _fetch_result EQUAL 0)
      message(FATAL_ERROR "Could not obtain the Scintilla source package (tools/fetch-scintilla.sh)")
    endif()
    set(SCINTILLA_SOURCE_DIR "${_deps}/scintilla")
  else()
    set(_archive "${_deps}/scite533.tgz")
    file(DOWNLOAD "${QUILLPANE_SCINTILLA_ARCHIVE_URL}" "${_archive}"
      EXPECTED_HASH SHA256=${QUILLPANE_SCINTILLA_ARCHIVE_SHA256} SHOW_PROGRESS)
    file(ARCHIVE_EXTRACT INPUT "${_archive}" DESTINATION "${_deps}" PATTERNS "scintilla/*")
    set(SCINTILLA_SOURCE_DIR "${_deps}/scintilla")
  endif()
endif()

if(NOT EXISTS "${SCINTILLA_SOURCE_DIR}/version.txt" OR NOT EXISTS "${SCINTILLA_SOURCE_DIR}/win32/ScintillaWin.cxx")
  message(FATAL_ERROR "No Scintilla source with a win32 layer in ${SCINTILLA_SOURCE_DIR}")
endif()
file(STRINGS "${SCINTILLA_SOURCE_DIR}/version.txt" SCINTILLA_VERSION LIMIT_COUNT 1)
if(NOT SCINTILLA_VERSION MATCHES "^5[0-9][0-9]$")
  message(FATAL_ERROR "Scintilla 5.x is needed, found version ${SCINTILLA_VERSION}")
endif()
message(STATUS "Scintilla ${SCINTILLA_VERSION} from ${SCINTILLA_SOURCE_DIR}")

file(GLOB _scintilla_core "${SCINTILLA_SOURCE_DIR}/src/*.cxx")
add_library(scintilla STATIC
  ${_scintilla_core}
  "${SCINTILLA_SOURCE_DIR}/win32/HanjaDic.cxx"
  "${SCINTILLA_SOURCE_DIR}/win32/PlatWin.cxx"
  "${SCINTILLA_SOURCE_DIR}/win32/ScintillaWin.cxx"
  # The typed call object the program drives each editor through.
  "${SCINTILLA_SOURCE_DIR}/call/ScintillaCall.cxx")
target_include_directories(scintilla
  PUBLIC "${SCINTILLA_SOURCE_DIR}/include"
  PRIVATE "${SCINTILLA_SOURCE_DIR}/src")
target_compile_definitions(scintilla PUBLIC STATIC_BUILD PRIVATE NDEBUG UNICODE _UNICODE)
set_target_properties(scintilla PROPERTIES CXX_STANDARD 17)
# Third-party code: its own warnings are not ours to fix.
if(MSVC)
  target_compile_options(scintilla PRIVATE /W0 /utf-8)
else()
  target_compile_options(scintilla PRIVATE -w -O2)
endif()
target_link_libraries(scintilla PUBLIC gdi32 user32 imm32 ole32 uuid oleaut32 msimg32)
