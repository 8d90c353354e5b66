# Two processes append to one history file at once; then every entry of each must be there.
#   cmake -DAPPENDER=... [-DEMULATOR=...] -DSCRATCH=<folder> -P two_appenders.cmake
cmake_minimum_required(VERSION 3.25)

set(file ${SCRATCH}/two_appenders/history.jsonl)
file(REMOVE_RECURSE ${SCRATCH}/two_appenders)
set(count 500)
# The commands of one execute_process run at the same time, as a pipeline.
execute_process(
    COMMAND ${EMULATOR} ${APPENDER} ${file} append first ${count}
    COMMAND ${EMULATOR} ${APPENDER} ${file} append second ${count}
    RESULTS_VARIABLE statuses)
if(NOT statuses STREQUAL "0;0")
    message(FATAL_ERROR "the appenders ended with ${statuses}")
endif()
execute_process(COMMAND ${EMULATOR} ${APPENDER} ${file} check first second ${count}
    RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
    message(FATAL_ERROR "entries were lost")
endif()
