# Runs the built sumwright-cli (under EMULATOR when set) on a batch of mixed lines with
# several numbers of jobs; each run must give the recorded answers byte for byte, exit status
# included. The lines are requests that succeed and fail, JSON that is no request, bytes that
# are no JSON or no UTF-8, escaped lone surrogates, raw control characters and formulas over
# the length limit; the answers are what one job wrote.
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DDATA=<folder> -DSCRATCH=<folder> -P batch_program_test.cmake
cmake_minimum_required(VERSION 3.25)

set(failures 0)
foreach(jobs 1 4)
    set(output ${SCRATCH}/batch_mixed_${jobs}.answers)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=LANG --unset=LANGUAGE --unset=LC_NUMERIC
            LC_ALL=C.UTF-8 ${EMULATOR} ${PROGRAM} --batch --jobs ${jobs}
        INPUT_FILE ${DATA}/batch_mixed.jsonl
        OUTPUT_FILE ${output}
        ERROR_VARIABLE error
        RESULT_VARIABLE status)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${DATA}/batch_mixed.answers
        ${output} RESULT_VARIABLE differs)
    if(NOT status STREQUAL "1" OR differs OR NOT error STREQUAL "")
        message(SEND_ERROR "--jobs ${jobs}: status ${status}, expected 1; "
            "answers in ${output} differ: ${differs}; error: ${error}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} run(s) failed")
endif()
