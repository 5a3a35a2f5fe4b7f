# Installation and packaging.
#
#   <prefix>/lib/quilo/quilo                     the program; quilo_audio.so, GF/, se/, music/midi/
#                                                beside it
#   <prefix>/bin/quilo                           relative link to ../lib/quilo/quilo
#   <prefix>/share/quilo/data/                   reference tables and teaching file, copied into
#                                                the user's folder by `quilo --user-folder`
#   <prefix>/share/applications/<id>.desktop     menu entry (runs `quilo --user-folder`)
#   <prefix>/share/icons/hicolor/256x256/apps/<id>.png
#   <prefix>/share/metainfo/<id>.metainfo.xml
#
# The program finds its media through its own folder (the link is resolved), so
# the program folder can hold nothing but the program and its media.

set(QUILO_APP_ID "jp.quilo.Quilo" CACHE STRING "Desktop entry, icon and AppStream id")
set(QUILO_PROGRAM_INSTALL_DIR lib/quilo)
set(QUILO_DATA_INSTALL_DIR share/quilo/data)

# The build tree mirrors the installed program folder: build/data holds the
# tables, so `build/quilo --user-folder` works without installing.
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
install(DIRECTORY ${QUILO_MEDIA_DIR}/GF ${QUILO_MEDIA_DIR}/se ${QUILO_MEDIA_DIR}/music
        DESTINATION ${QUILO_PROGRAM_INSTALL_DIR})
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

# ---- Debian package (scripts/package.sh runs cpack) --------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quilo")
set(CPACK_PACKAGE_CONTACT "Quilo developers <quilo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Horse-race bet predictor (競馬予想 Quilo ピルピルθK)")
set(CPACK_PACKAGE_DESCRIPTION
    "Suggests trifecta, exacta, place and bracket bets for a Japanese horse race from its
day, racecourse and the favourites' odds, shown on a mock betting ticket with music,
sounds and pictures. The results can be saved to a text file and printed.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libfontconfig1 (>= 2.13), qt6-qpa-plugins, libsdl2-mixer-2.0-0 (>= 2.6), libfluidsynth3 (>= 2.2), timgm6mb-soundfont | fluid-soundfont-gm, fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-liberation")
include(CPack)

# ---- Tests: the installed program, from a DESTDIR and from the package ------------------
set(_quilo_install_test_args
    -DBUILD=${CMAKE_BINARY_DIR} -DSOURCE=${CMAKE_SOURCE_DIR} -DAPP_ID=${QUILO_APP_ID})
add_test(NAME install_destdir
  COMMAND ${CMAKE_COMMAND} ${_quilo_install_test_args} -DMODE=destdir
          -DWORK=${CMAKE_BINARY_DIR}/install_test/destdir
          -P ${CMAKE_SOURCE_DIR}/tests/install/install_test.cmake)
set_tests_properties(install_destdir PROPERTIES LABELS install TIMEOUT 120)

find_program(QUILO_DPKG_DEB dpkg-deb)
if(QUILO_DPKG_DEB)
  add_test(NAME install_deb
    COMMAND ${CMAKE_COMMAND} ${_quilo_install_test_args} -DMODE=deb
            -DCPACK=${CMAKE_CPACK_COMMAND} -DDPKG_DEB=${QUILO_DPKG_DEB}
            -DWORK=${CMAKE_BINARY_DIR}/install_test/deb
            -P ${CMAKE_SOURCE_DIR}/tests/install/install_test.cmake)
  set_tests_properties(install_deb PROPERTIES LABELS install TIMEOUT 300)
endif()
