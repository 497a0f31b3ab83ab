# Modules the programs load when they first need them, with the libraries only they need, so
# that the programs start without those. The build tree keeps the installed layout: the
# modules' folder lies where it will lie from the programs' folder. It is neither a folder of
# the system's libraries nor one right under it, which would have the package run ldconfig for
# libraries no other program links.
include(GNUInstallDirs)
set(FOLIVANE_MODULE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/folivane/modules)
# From the programs' folder, as the programs find them.
file(RELATIVE_PATH FOLIVANE_MODULE_FOLDER ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_LIBDIR}/folivane/modules)

# Static libraries that a module links as well as the programs: compiled as position-
# independent code, without letting other libraries interpose on their functions (which would
# keep the compiler from inlining them), so that the programs' code stays as fast.
function(folivane_shareable target)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${target} PRIVATE -fno-semantic-interposition)
endfunction()

# The module NAME.so made of SOURCES. Only its entry, marked for export, is exported: the copies
# of the engine's code inside stay its own. Only the libraries it uses are needed.
function(folivane_module target name)
    add_library(${target} MODULE ${ARGN})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${name} PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${FOLIVANE_MODULE_FOLDER}
        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    target_link_options(${target} PRIVATE LINKER:--exclude-libs,ALL LINKER:--as-needed)
    folivane_warnings(${target})
    install(TARGETS ${target} LIBRARY DESTINATION ${FOLIVANE_MODULE_INSTALL_DIR})
endfunction()
