# Runs the built sumwright-cli (under EMULATOR when set) between two pipes and compares the
# exact bytes it writes. Every case is run; the test fails if any of them did.
#   cmake -DPROGRAM=... [-DEMULATOR=...] -DSCRATCH=<folder for its files> -P cli_program_test.cmake
cmake_minimum_required(VERSION 3.25)

set(failures 0)
string(ASCII 26 CtrlZ)

# check(NAME ARGS ... [INPUT text] [OUTPUT text] [ERROR text] STATUS code)
function(check name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "INPUT;OUTPUT;ERROR;STATUS" "ARGS")
    set(input ${SCRATCH}/cli_program_input)
    set(output ${SCRATCH}/cli_program_output)
    set(error ${SCRATCH}/cli_program_error)
    file(WRITE ${input} "${ARG_INPUT}")
    # Captured output loses the CR of CR LF, so the bytes go through files. Only C.UTF-8: the
    # program must need no generated locale, and Wine reads the arguments as UTF-8.
    execute_process(
        COMMAND cat ${input}
        COMMAND ${CMAKE_COMMAND} -E env --unset=LANG --unset=LANGUAGE --unset=LC_NUMERIC
            LC_ALL=C.UTF-8 ${EMULATOR} ${PROGRAM} ${ARG_ARGS}
        COMMAND cat
        OUTPUT_FILE ${output}
        ERROR_FILE ${error}
        RESULTS_VARIABLE statuses)
    list(GET statuses 1 status)
    file(READ ${output} out HEX)
    file(READ ${error} err HEX)
    string(HEX "${ARG_OUTPUT}" expectedOut)
    string(HEX "${ARG_ERROR}" expectedErr)
    if(NOT out STREQUAL expectedOut OR NOT err STREQUAL expectedErr
        OR NOT status STREQUAL ARG_STATUS)
        message(SEND_ERROR "${name}:\n"
            "  status ${status}, expected ${ARG_STATUS}\n"
            "  output ${out}\n  expected ${expectedOut}\n"
            "  error ${err}\n  expected ${expectedErr}")
        math(EXPR count "${failures} + 1")
        set(failures ${count} PARENT_SCOPE)
    endif()
endfunction()

check("the decimal comma of a locale the system has not generated"
    ARGS --locale de_DE -z 1.5 z
    OUTPUT "Z: 1,5\nY: \nX: \nResult: 1,5\nStatus:  Evaluation successful.\n"
    STATUS 0)

# Line ends stay as they are, and Ctrl+Z is a character like any other.
check("non-ASCII text and control characters read and written as bytes"
    ARGS --batch --locale=en_US
    INPUT "{\"main\":\"1/2\",\"π\":\"ä\"}\n${CtrlZ}\n{\"main\":\"1/2\"}\r\n"
    OUTPUT "{\"error\":\"unknown key \\\"π\\\"\"}\n\
{\"error\":\"not JSON: column 1: syntax error while parsing value - invalid literal; \
last read: '<U+001A>'\"}\n\
{\"main\":\"0.5\",\"x\":\"\",\"y\":\"\",\"z\":\"\",\"status\":\" Evaluation successful.\",\"problem\":null}\n"
    STATUS 1)

check("a non-ASCII argument told back on standard error"
    ARGS --locale Ωmega 1
    ERROR "sumwright-cli: unknown locale Ωmega\nTry 'sumwright-cli --help'.\n"
    STATUS 2)

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} case(s) failed")
endif()
