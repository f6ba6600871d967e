# Run by cpack for each package once it has staged the installed files, before it packs them: the
# files get the time of SOURCE_DATE_EPOCH (source_date.cmake) and the same permissions wherever
# they were built, as the packers store both.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    return()
endif()
execute_process(COMMAND chmod -R u=rwX,go=rX "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
        -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
    COMMAND_ERROR_IS_FATAL ANY)
