# Run by cpack's External generator once it has staged the installed files: makes the MSI of them
# and hands it to cpack, which puts it beside the other packages.
set(msi "${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi")
execute_process(
    COMMAND "${CPACK_AMBERSEL_PYTHON}" "${CPACK_AMBERSEL_MAKE_MSI}" "${CPACK_TEMPORARY_DIRECTORY}"
            "${CPACK_PACKAGE_VERSION}" "${msi}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_msi.py could not make ${msi}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES "${msi}")
