# Read by cpack before each package (CPACK_PROJECT_CONFIG_FILE): the time the packages stand for is
# the date of the commit they are built from, as SOURCE_DATE_EPOCH (the reproducible-builds
# convention) unless it is set already. The tools cpack runs take it from there: strip writes it
# into the programs' headers, and settle_staged_files.cmake gives it to the staged files.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND git -C "${CPACK_AMBERSEL_SOURCE_TREE}" log -1 --format=%ct
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status
        ERROR_QUIET)
    if(status EQUAL 0 AND epoch MATCHES "^[0-9]+$")
        set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    else()
        message(WARNING "Not a git checkout and no SOURCE_DATE_EPOCH: the packages carry the "
                        "time they were made and differ from one build to the next")
    endif()
endif()
