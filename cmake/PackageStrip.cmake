# Run by CPack on the staged programs, after CPACK_STRIP_FILES: plain strip keeps the
# .comment section of compiler version strings, which Debian's packages leave out.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_FOLIVANE_STRIP}" --remove-section=.comment "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
