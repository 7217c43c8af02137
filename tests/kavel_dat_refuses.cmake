# kavel-dat refuses INPUT: status 1, nothing on standard output and one line on standard error,
# "kavel-dat: INPUT: WHY". MAKE first puts a folder ("folder") or the two bytes "AB" (a record
# of 0x4241 bytes with none after it, "truncated") at INPUT; "missing" makes sure nothing is there;
# "none" leaves INPUT as it is.
if(MAKE STREQUAL "folder")
  file(REMOVE_RECURSE ${INPUT})
  file(MAKE_DIRECTORY ${INPUT})
elseif(MAKE STREQUAL "truncated")
  get_filename_component(dir ${INPUT} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${INPUT} "AB")
elseif(MAKE STREQUAL "missing")
  file(REMOVE_RECURSE ${INPUT})
endif()
# A reader that stalls or runs out of memory fails here rather than holding up the suite.
execute_process(COMMAND ${KAVEL_DAT} ${COMMAND} ${INPUT} TIMEOUT 30
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "kavel-dat: ${INPUT}: ${WHY}\n")
if(NOT status STREQUAL "1")
  message(FATAL_ERROR "status ${status}, not 1; standard error:\n${err}")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "standard output is not empty:\n${out}")
endif()
if(NOT err STREQUAL expected)
  message(FATAL_ERROR "standard error is\n${err}\nnot\n${expected}")
endif()
