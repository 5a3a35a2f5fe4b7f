# The system the program is built for, and the files of src/platform that
# implement it: a part "name" is name.h, perhaps a portable name.cpp, and one
# name_<system>.cpp a system, where <system> is posix (Linux and the other
# Unix systems), win or mac. On macOS a name_mac.cpp takes the place of the
# name_posix.cpp of the same part. Used by the program's build and by the
# media generator's, which also builds on its own.
if(WIN32)
  set(QUILO_SYSTEMS win)
elseif(APPLE)
  set(QUILO_SYSTEMS mac posix)
elseif(UNIX)
  set(QUILO_SYSTEMS posix)
else()
  message(FATAL_ERROR "No implementation of src/platform for ${CMAKE_SYSTEM_NAME}")
endif()

# Keeps of the files in the list named `var` those for this system: every
# file without a system suffix, and of each part's implementations the first
# one in QUILO_SYSTEMS.
function(quilo_system_files var)
  set(kept)
  set(implemented)
  foreach(system IN LISTS QUILO_SYSTEMS)
    set(parts)
    foreach(file IN LISTS ${var})
      if(file MATCHES "^(.*)_${system}\\.cpp$")
        set(part ${CMAKE_MATCH_1})
        if(NOT part IN_LIST implemented)
          list(APPEND kept ${file})
          list(APPEND parts ${part})
        endif()
      endif()
    endforeach()
    list(APPEND implemented ${parts})
  endforeach()
  foreach(file IN LISTS ${var})
    if(NOT file MATCHES "_(posix|win|mac)\\.cpp$")
      list(APPEND kept ${file})
    endif()
  endforeach()
  set(${var} ${kept} PARENT_SCOPE)
endfunction()
