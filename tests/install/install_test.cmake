# Installs Quilo into a scratch root and runs the installed program headless
# from elsewhere, with HOME and the XDG data folder in scratch folders too.
# MODE=destdir: `cmake --install` with DESTDIR. MODE=deb: scripts/package.sh
# builds the Debian package from a clean copy of the source and checks it with
# lintian; the package is unpacked with dpkg-deb -x.
#   cmake -DBUILD=<build> -DSOURCE=<source> -DAPP_ID=<id> -DMODE=destdir|deb
#         -DWORK=<scratch> -P install_test.cmake
cmake_minimum_required(VERSION 3.22)

set(failures 0)
# check(<what> <condition>...): counts and reports a failed condition.
macro(check what)
  if(NOT (${ARGN}))
    message(SEND_ERROR "FAILED: ${what}")
    math(EXPR failures "${failures} + 1")
  endif()
endmacro()

function(must_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "command failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
set(root ${WORK}/root)
set(prefix ${root}/usr)
file(MAKE_DIRECTORY ${root})

# ---- install ---------------------------------------------------------------------------
if(MODE STREQUAL "destdir")
  must_run(${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr)
  # Installing twice over the same root works (the link is replaced).
  must_run(${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr)
elseif(MODE STREQUAL "deb")
  string(TIMESTAMP started "%s")
  execute_process(COMMAND bash ${SOURCE}/scripts/package.sh ${WORK}/pkg
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(TIMESTAMP finished "%s")
  math(EXPR seconds "${finished} - ${started}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "scripts/package.sh failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "package built and checked with lintian in ${seconds} s")
  string(REGEX MATCH "\nPackage: ([^\n]+\\.deb)\n?$" _ "${out}")
  set(deb "${CMAKE_MATCH_1}")
  check("scripts/package.sh names the .deb (${deb})" EXISTS "${deb}")
  execute_process(COMMAND dpkg-deb -f ${deb} Depends Section Maintainer Homepage
                  OUTPUT_VARIABLE fields)
  # Libraries come from the binaries (the sound module's SDL too); the rest is
  # loaded at run time and named by hand.
  foreach(dep "quilo-data (= " libqt6widgets6 libqt6gui6 libqt6printsupport6 libqt6core6 qt6-qpa-plugins
              libsdl2-mixer-2.0-0 libsdl2-2.0-0 libfontconfig1
              fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation qt6-translations-l10n libstdc++6)
    string(FIND "${fields}" "${dep}" at)
    check("the package depends on ${dep} (${fields})" NOT at EQUAL -1)
  endforeach()
  # The tunes come rendered: no soundfont, and no synthesiser of the program's own.
  check("the package needs no soundfont nor FluidSynth (${fields})"
        NOT fields MATCHES "soundfont|libfluidsynth")
  check("section misc, a maintainer off localhost (${fields})"
        fields MATCHES "Section: misc\n" AND NOT fields MATCHES "localhost")
  # Pictures, sounds, music and tables come in the architecture-independent
  # quilo-data, built beside it.
  get_filename_component(pkg_dir ${deb} DIRECTORY)
  file(GLOB data_deb ${pkg_dir}/quilo-data_*_all.deb)
  check("quilo-data built beside the program's package (${data_deb})" EXISTS "${data_deb}")
  must_run(dpkg-deb -x ${deb} ${root})
  must_run(dpkg-deb -x ${data_deb} ${root})
  foreach(f copyright changelog.gz README.md.gz)
    check("usr/share/doc/quilo/${f} installed" EXISTS ${prefix}/share/doc/quilo/${f})
  endforeach()
else()
  message(FATAL_ERROR "MODE must be destdir or deb")
endif()

# ---- layout ----------------------------------------------------------------------------
set(program ${prefix}/lib/quilo/quilo)
check("the program is ${program}" EXISTS ${program} AND NOT IS_DIRECTORY ${program})
check("the audio module lies beside the program" EXISTS ${prefix}/lib/quilo/quilo_audio.so)
check("bin/quilo is a link" IS_SYMLINK ${prefix}/bin/quilo)
file(READ_SYMLINK ${prefix}/bin/quilo link)
check("bin/quilo points at ../lib/quilo/quilo (is ${link})" link STREQUAL "../lib/quilo/quilo")

file(STRINGS ${SOURCE}/assets/media_manifest.txt media ENCODING UTF-8)
set(media_count 0)
foreach(line IN LISTS media)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  math(EXPR media_count "${media_count} + 1")
  check("media file share/quilo/${line} installed" EXISTS "${prefix}/share/quilo/${line}")
endforeach()
check("the media manifest lists the media (${media_count})" media_count GREATER 50)
# Only what depends on the machine lies under lib/.
file(GLOB_RECURSE under_lib RELATIVE ${prefix}/lib/quilo ${prefix}/lib/quilo/*)
list(SORT under_lib)
list(JOIN under_lib " " under_lib)
check("lib/quilo holds the program and its sound module only (${under_lib})"
      under_lib STREQUAL "quilo quilo_audio.so")

# The manual pages, as `man` shows them: no formatter warnings.
if(MODE STREQUAL "deb")
  set(man_suffix .gz)
endif()
find_program(MAN man)
foreach(page man/man1/quilo.1 man/ja/man1/quilo.1)
  set(page ${prefix}/share/${page}${man_suffix})
  check("manual page ${page}" EXISTS ${page})
  if(MAN AND EXISTS ${page})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
                            ${MAN} --warnings -E UTF-8 -l ${page}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE shown ERROR_VARIABLE warnings)
    check("man shows ${page} (${rc}) without warnings: ${warnings}" rc EQUAL 0 AND NOT warnings)
    foreach(want "--user-folder" "--script" "XDG_STATE_HOME" "/usr/share/quilo/data/")
      string(FIND "${shown}" "${want}" at)
      check("${page} tells of ${want}" NOT at EQUAL -1)
    endforeach()
  endif()
endforeach()

set(data_files maharaja.txt)
foreach(i 1 2 3 4 5 6 7 8)
  list(APPEND data_files crt_${i}.txt)
endforeach()
foreach(i 1 2 3 4)
  list(APPEND data_files waku_${i}.txt)
endforeach()
foreach(f IN LISTS data_files)
  check("share/quilo/data/${f} installed" EXISTS ${prefix}/share/quilo/data/${f})
endforeach()

set(desktop ${prefix}/share/applications/${APP_ID}.desktop)
check("desktop entry ${desktop}" EXISTS ${desktop})
file(READ ${desktop} entry)
foreach(want "\nName=競馬予想 Quilo ピルピルθK\n" "\nName[ja]=競馬予想 Quilo ピルピルθK\n"
             "\nExec=quilo --user-folder\n" "\nIcon=${APP_ID}\n" "\nTerminal=false\n"
             "\nCategories=Game;")
  string(FIND "${entry}" "${want}" at)
  check("desktop entry has ${want}" NOT at EQUAL -1)
endforeach()
check("icon installed" EXISTS ${prefix}/share/icons/hicolor/256x256/apps/${APP_ID}.png)
check("metainfo installed" EXISTS ${prefix}/share/metainfo/${APP_ID}.metainfo.xml)
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  # Reported, not enforced: the validator's opinions change between versions.
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --explain
                          ${prefix}/share/metainfo/${APP_ID}.metainfo.xml
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message(STATUS "appstreamcli validate (${rc}):\n${out}")
endif()

# ---- running the installed program -----------------------------------------------------
set(home ${WORK}/home)
set(xdg ${WORK}/xdg)
set(cwd ${WORK}/elsewhere)
file(MAKE_DIRECTORY ${home} ${xdg} ${cwd})
if(MODE STREQUAL "deb")
  # XDG_DATA_HOME unset: the user folder goes to ~/.local/share/quilo.
  set(xdg_env --unset=XDG_DATA_HOME)
  set(user ${home}/.local/share/quilo)
else()
  set(xdg_env XDG_DATA_HOME=${xdg})
  set(user ${xdg}/quilo)
endif()

# Runs the installed command with a script; sets out, err, rc in the caller.
function(run_quilo dir script)
  file(WRITE ${WORK}/script.txt "${script}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${home} ${xdg_env} QT_QPA_PLATFORM=offscreen
            SDL_AUDIODRIVER=dummy LC_ALL=C.UTF-8 ${prefix}/bin/quilo ${ARGN}
    WORKING_DIRECTORY ${dir} INPUT_FILE ${WORK}/script.txt
    RESULT_VARIABLE code OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr TIMEOUT 120)
  set(rc "${code}" PARENT_SCOPE)
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

set(predict_and_output
"select Combo3 4
type Text1 1.5
type Text2 4.0
click Command8
dump
click Command10
dump
type Form3.Text1 result.txt
click Form3.Command1
dump
")

# First menu-style start: the user folder is made with the installed copies, the
# tables are found, the output window opens on the home folder.
run_quilo(${cwd} "${predict_and_output}" --user-folder --script -)
check("first --user-folder run exits 0 (${rc}): ${err}" rc EQUAL 0)
string(FIND "${out}" "に異常発生" at)
check("first run reads every table: ${out}" at EQUAL -1)
check("first run reads the teaching file" out MATCHES "\"teaching_count\":[1-9]")
check("the output window opened" out MATCHES "\"Form3\":true")
foreach(f IN LISTS data_files)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${prefix}/share/quilo/data/${f} ${user}/${f}
                  RESULT_VARIABLE same)
  check("user folder holds a copy of ${f}" same EQUAL 0)
endforeach()
check("the output went to the home folder" EXISTS ${home}/result.txt)
if(EXISTS ${home}/result.txt)
  file(SIZE ${home}/result.txt size)
  check("the output file has the result lines (${size} bytes)" size GREATER 20)
endif()
check("nothing written elsewhere" NOT EXISTS ${cwd}/result.txt AND NOT EXISTS ${user}/result.txt)
file(GLOB stray ${cwd}/*)
check("the starting folder stays empty: ${stray}" NOT stray)

# Later starts keep the user's files: an edited copy stays, a deleted one comes
# back. A script named relative to the starting folder is still found.
set(own_teaching "my own teaching\n")
file(WRITE ${user}/maharaja.txt "${own_teaching}")
file(REMOVE ${user}/crt_8.txt)
file(WRITE ${cwd}/check.txt "dump\n")
run_quilo(${cwd} "" --user-folder --script check.txt)
check("second --user-folder run exits 0 (${rc}): ${err}" rc EQUAL 0)
string(FIND "${out}" "に異常発生" at)
check("second run reads every table: ${out}" at EQUAL -1)
file(READ ${user}/maharaja.txt kept)
check("the user's teaching file is not overwritten" kept STREQUAL own_teaching)
check("the user's own teaching file is the one read" out MATCHES "\"teaching_count\":1[,}]")
check("a deleted table is copied again" EXISTS ${user}/crt_8.txt)

# Without --user-folder the command reads the tables from the current folder.
file(MAKE_DIRECTORY ${WORK}/empty)
run_quilo(${WORK}/empty "dump\n" --script -)
check("plain run exits 0 (${rc}): ${err}" rc EQUAL 0)
string(FIND "${out}" "quilo --user-folder" at)
check("plain run in an empty folder says how to start with the tables" NOT at EQUAL -1)
check("plain run copies nothing" NOT EXISTS ${WORK}/empty/crt_1.txt)
run_quilo(${user} "dump\n" --script -)
string(FIND "${out}" "に異常発生" at)
check("plain run in a folder with the tables reads them" rc EQUAL 0 AND at EQUAL -1)

# A file where the user folder should be: a clear message, no run.
if(MODE STREQUAL "destdir")
  set(saved_xdg_env ${xdg_env})
  file(MAKE_DIRECTORY ${WORK}/blocked)
  file(WRITE ${WORK}/blocked/quilo "not a folder")
  set(xdg_env XDG_DATA_HOME=${WORK}/blocked)
  run_quilo(${cwd} "dump\n" --user-folder --script -)
  check("a blocked user folder stops the run" NOT rc EQUAL 0)
  string(FIND "${err}" "作業フォルダ" at)
  check("a blocked user folder is reported: ${err}" NOT at EQUAL -1)
  check("nothing runs with a blocked user folder" NOT out)
  set(xdg_env ${saved_xdg_env})
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} install check(s) failed; scratch left in ${WORK}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "install test (${MODE}) passed")
