# Regenerates the reference tables and compares them with the committed ones.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "table generator failed")
endif()
foreach(name crt_1 crt_2 crt_3 crt_4 crt_5 crt_6 crt_7 crt_8 waku_1 waku_2 waku_3 waku_4)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name}.txt ${DATA}/${name}.txt
                  RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "${name}.txt differs from what tools/make_tables.cpp makes")
  endif()
endforeach()
