# Installs the build tree under /usr into a fresh staging root, the way a
# distribution's package build does, and checks that the desktop entry's
# program and icon are where a desktop looks for them.
#   cmake -DBUILD_DIR=... -DROOT=... -DAPP_ID=... -DBINDIR=... -DDATADIR=... -P install_tree.cmake

file(REMOVE_RECURSE "${ROOT}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${ROOT}"
          "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(usr "${ROOT}/usr")
set(entry "${usr}/${DATADIR}/applications/${APP_ID}.desktop")
if(NOT EXISTS "${entry}")
  message(FATAL_ERROR "no desktop entry at ${entry}")
endif()
file(STRINGS "${entry}" exec REGEX "^Exec=")
file(STRINGS "${entry}" icon REGEX "^Icon=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec "${exec}")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")

# Exec names the program without a path: it must be in the prefix's bin.
set(program "${usr}/${BINDIR}/${exec}")
if(NOT exec OR IS_DIRECTORY "${program}" OR NOT EXISTS "${program}")
  message(FATAL_ERROR "Exec=${exec}: no program at ${program}")
endif()
execute_process(COMMAND test -x "${program}" RESULT_VARIABLE notExecutable)
if(notExecutable)
  message(FATAL_ERROR "${program} is not executable")
endif()

# The theme every icon theme falls back to; the scalable size serves all sizes.
set(iconFile "${usr}/${DATADIR}/icons/hicolor/scalable/apps/${icon}.svg")
if(NOT icon OR NOT EXISTS "${iconFile}")
  message(FATAL_ERROR "Icon=${icon}: no icon at ${iconFile}")
endif()
message(STATUS "installed into ${ROOT}: ${program}, ${iconFile}")
