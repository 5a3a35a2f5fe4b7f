# Installation.
#
#   <prefix>/lib/quilo/quilo                     the program, and quilo_audio.so beside it
#   <prefix>/bin/quilo                           relative link to ../lib/quilo/quilo
#   <prefix>/share/quilo/GF, se, music           pictures, sound effects, music
#   <prefix>/share/quilo/data/                   reference tables and teaching file, copied into
#                                                the user's folder by `quilo --user-folder`
#   <prefix>/share/man/man1/quilo.1, share/man/ja/man1/quilo.1
#   <prefix>/share/applications/<id>.desktop     menu entry (runs `quilo --user-folder`)
#   <prefix>/share/icons/hicolor/256x256/apps/<id>.png
#   <prefix>/share/metainfo/<id>.metainfo.xml
#
# The program finds the rest from its own folder (the link resolved; see
# src/app/install_layout.h). The Debian package (debian/, scripts/package.sh)
# installs these rules with the prefix /usr.

set(QUILO_APP_ID "jp.quilo.Quilo" CACHE STRING "Desktop entry, icon and AppStream id")
# The project's home page; it serves the README's screenshots under docs/.
set(QUILO_HOMEPAGE "https://quilo.jp" CACHE STRING "Home page, without the closing slash")
set(QUILO_PROGRAM_INSTALL_DIR lib/quilo)
set(QUILO_SHARE_INSTALL_DIR share/quilo)
set(QUILO_DATA_INSTALL_DIR ${QUILO_SHARE_INSTALL_DIR}/data)

# The build folder holds its own copy of the tables (build/data, as share/quilo/data
# when installed), so `build/quilo --user-folder` works without installing.
file(GLOB QUILO_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.txt)
set(_quilo_data_copies)
foreach(_f IN LISTS QUILO_DATA_FILES)
  get_filename_component(_name ${_f} NAME)
  list(APPEND _quilo_data_copies ${QUILO_MEDIA_DIR}/data/${_name})
endforeach()
add_custom_command(
  OUTPUT ${_quilo_data_copies}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILO_MEDIA_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUILO_DATA_FILES} ${QUILO_MEDIA_DIR}/data
  DEPENDS ${QUILO_DATA_FILES}
  COMMENT "Copying the reference tables beside the program"
  VERBATIM)
add_custom_target(quilo_data ALL DEPENDS ${_quilo_data_copies})
add_dependencies(quilo quilo_data)

configure_file(${CMAKE_SOURCE_DIR}/packaging/quilo.desktop.in
               ${CMAKE_BINARY_DIR}/packaging/${QUILO_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/quilo.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${QUILO_APP_ID}.metainfo.xml @ONLY)

install(TARGETS quilo RUNTIME DESTINATION ${QUILO_PROGRAM_INSTALL_DIR})
install(TARGETS quilo_audio LIBRARY DESTINATION ${QUILO_PROGRAM_INSTALL_DIR})
# music/ holds the tunes as rendered and, in music/midi/, their sources.
install(DIRECTORY ${QUILO_MEDIA_DIR}/GF ${QUILO_MEDIA_DIR}/se ${QUILO_MEDIA_DIR}/music
        DESTINATION ${QUILO_SHARE_INSTALL_DIR})
install(FILES ${QUILO_DATA_FILES} DESTINATION ${QUILO_DATA_INSTALL_DIR})
install(CODE "
  set(_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/quilo\")
  message(STATUS \"Installing: \${_link} -> ../${QUILO_PROGRAM_INSTALL_DIR}/quilo\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(REMOVE \"\${_link}\")
  file(CREATE_LINK ../${QUILO_PROGRAM_INSTALL_DIR}/quilo \"\${_link}\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_link}\")
")
install(FILES ${CMAKE_BINARY_DIR}/packaging/${QUILO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${QUILO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${QUILO_MEDIA_DIR}/GF/quilo_icon.png
        DESTINATION share/icons/hicolor/256x256/apps RENAME ${QUILO_APP_ID}.png)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quilo.1 DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/quilo.ja.1 DESTINATION share/man/ja/man1 RENAME quilo.1)

# ---- Tests: the installed program, from a DESTDIR and from the package ------------------
if(BUILD_TESTING)
  set(_quilo_install_test_args
      -DBUILD=${CMAKE_BINARY_DIR} -DSOURCE=${CMAKE_SOURCE_DIR} -DAPP_ID=${QUILO_APP_ID})
  add_test(NAME install_destdir
    COMMAND ${CMAKE_COMMAND} ${_quilo_install_test_args} -DMODE=destdir
            -DWORK=${CMAKE_BINARY_DIR}/install_test/destdir
            -P ${CMAKE_SOURCE_DIR}/tests/install/install_test.cmake)
  set_tests_properties(install_destdir PROPERTIES LABELS install TIMEOUT 300)

  # The Debian package, built from a clean copy of the source as Debian builds it
  # (a second build of the program, about five minutes), checked with lintian and
  # unpacked. Label package: scripts/test.sh leaves it out unless asked
  # (`scripts/test.sh -L package`), CI runs it as a step of its own. Left out of
  # the sanitizer build: that package is built with Debian's flags, not the
  # sanitizers, so running it there would repeat the same check.
  find_program(QUILO_DPKG_BUILDPACKAGE dpkg-buildpackage)
  if(QUILO_DPKG_BUILDPACKAGE AND NOT QUILO_SANITIZE)
    add_test(NAME install_deb
      COMMAND ${CMAKE_COMMAND} ${_quilo_install_test_args} -DMODE=deb
              -DWORK=${CMAKE_BINARY_DIR}/install_test/deb
              -P ${CMAKE_SOURCE_DIR}/tests/install/install_test.cmake)
    # About 300 s on a quiet machine, 1000 s seen beside a sanitized build on a
    # busy one: the timeout is there for a hang, not for the load.
    set_tests_properties(install_deb PROPERTIES LABELS "install;package" TIMEOUT 3000)
  endif()
endif()
